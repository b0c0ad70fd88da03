// Wrappers of fixed-size vectors: floats (_cFloat2/3/4, _cColor,
// _cSliderRangedF) and ints (_cVec2i, _cVec3i, _cSliderRangedI).
#include <cstring>

#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

namespace {

bool Is(const char* type, const char* name) { return type && strcmp(type, name) == 0; }

void ReportParseError(cErrorPager* pager, const char* wrapper, const cXml& node) {
    if (pager) pager->print("Parsing error during \"%s\" read from XML: %s\n", wrapper, node.Get_string().ToChar());
}

}  // namespace

// ---- Floats ----

void cFloatVectorWrapper::CallCtor(void* data) {
    if (!data) return;
    float* v = static_cast<float*>(data);
    for (int i = 0; i < Count(); i++) v[i] = Default(i);
}

bool cFloatVectorWrapper::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_string(cStr::ToString(static_cast<const float*>(data), Count(), cWrappers_FloatPrec, " "));
    return true;
}

// Numbers beyond Count() are ignored; fewer fail and leave zeros.
bool cFloatVectorWrapper::Load(cXml& node, void* data, cErrorPager* pager, void*) {
    if (!data) return false;
    float* v = static_cast<float*>(data);
    int n = Count();
    for (int i = 0; i < n; i++) v[i] = 0;
    cList<float> numbers;
    cStr::ToFloatArray(node.Get_string(), &numbers);
    if (numbers.Count() < n) {
        ReportParseError(pager, ReportedName(), node);
        return false;
    }
    for (int i = 0; i < n; i++) v[i] = numbers[i];
    return true;
}

void cFloatVectorWrapper::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) {
    if (dst && src && dst != src) memcpy(dst, src, sizeof(float) * size_t(Count()));
}

bool _cFloat2::CompatibleWith(const char* type, int size) { return Is(type, "cVec2") && size == 8; }
bool _cFloat3::CompatibleWith(const char* type, int size) {
    return (Is(type, "cVec3") || Is(type, "cAngles")) && size == 12;
}
bool _cFloat4::CompatibleWith(const char* type, int size) { return Is(type, "cVec4") && size == 16; }
bool _cColor::CompatibleWith(const char* type, int size) { return Is(type, "cColor") && size == 16; }

// ---- Ints ----

void cIntVectorWrapper::CallCtor(void* data) {
    if (!data) return;
    int* v = static_cast<int*>(data);
    for (int i = 0; i < Count(); i++) v[i] = Default(i);
}

bool cIntVectorWrapper::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_string(cStr::ToString(static_cast<const int*>(data), Count(), " "));
    return true;
}

// Exactly Count() numbers, nothing else; otherwise zeros and an error.
bool cIntVectorWrapper::Load(cXml& node, void* data, cErrorPager* pager, void*) {
    if (!data) return false;
    int* v = static_cast<int*>(data);
    int n = Count();
    for (int i = 0; i < n; i++) v[i] = 0;
    cList<int> numbers;
    if (!cStr::ToIntArray(node.Get_string(), &numbers) || numbers.Count() != n) {
        ReportParseError(pager, ReportedName(), node);
        return false;
    }
    for (int i = 0; i < n; i++) v[i] = numbers[i];
    return true;
}

void cIntVectorWrapper::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) {
    if (dst && src && dst != src) memcpy(dst, src, sizeof(int) * size_t(Count()));
}

bool _cVec2i::CompatibleWith(const char* type, int size) { return Is(type, "cVec.int.2") && size == 8; }
bool _cVec3i::CompatibleWith(const char* type, int size) { return Is(type, "cVec.int.3") && size == 12; }

}  // namespace zozud
