// Wrappers of single numbers and flags: _cInt, _cFloat, _cBool, _cBind,
// _cImageID (the sliders share _cInt's and _cFloat's code).
#include <cstring>

#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

namespace {

template <class V>
void CopyValue(void* dst, const void* src) {
    if (dst && src && dst != src) memcpy(dst, src, sizeof(V));
}

bool Is(const char* type, const char* name) { return type && strcmp(type, name) == 0; }

}  // namespace

// ---- _cInt ----

void _cInt::CallCtor(void* data) {
    if (data) *static_cast<int*>(data) = 0;
}

bool _cInt::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_int(*static_cast<int*>(data));
    return true;
}

bool _cInt::Load(cXml& node, void* data, cErrorPager* pager, void*) {
    if (!data) return false;
    if (cStr::ToInt(node.Get_string(), static_cast<int*>(data))) return true;
    if (pager) pager->print("unable to read dword from XML: %s\n", node.Get_string().ToChar());
    return false;
}

void _cInt::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) { CopyValue<int>(dst, src); }

bool _cInt::CompatibleWith(const char*, int size) { return size == 4; }

// ---- _cFloat ----

void _cFloat::CallCtor(void* data) {
    if (data) *static_cast<float*>(data) = 0;
}

bool _cFloat::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_string(cStr::Format("%.*f", cWrappers_FloatPrec, double(*static_cast<float*>(data))));
    return true;
}

bool _cFloat::Load(cXml& node, void* data, cErrorPager* pager, void*) {
    if (!data) return false;
    if (cStr::ToFloat(node.Get_string(), static_cast<float*>(data))) return true;
    if (pager) pager->print("unable to read float from XML: %s\n", node.Get_string().ToChar());
    return false;
}

void _cFloat::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) { CopyValue<float>(dst, src); }

bool _cFloat::CompatibleWith(const char* type, int) { return Is(type, "float"); }

// ---- _cBool ----

void _cBool::CallCtor(void* data) {
    if (data) *static_cast<bool*>(data) = false;
}

bool _cBool::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_string(*static_cast<bool*>(data) ? "true" : "false");
    return true;
}

// Lenient on purpose: anything that does not start with "true" is false, never an error.
bool _cBool::Load(cXml& node, void* data, cErrorPager*, void*) {
    if (!data) return false;
    const char* text = node.Get_string();
    while (*text == ' ') text++;
    *static_cast<bool*>(data) = strncmp(text, "true", 4) == 0;
    return true;
}

void _cBool::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) { CopyValue<bool>(dst, src); }

bool _cBool::CompatibleWith(const char*, int size) { return size == 1; }

// ---- _cBind ----

void _cBind::CallCtor(void* data) {
    if (data) *static_cast<int*>(data) = -1;
}

bool _cBind::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_int(*static_cast<int*>(data));
    return true;
}

bool _cBind::Load(cXml& node, void* data, cErrorPager* pager, void*) {
    if (!data) return false;
    int* key = static_cast<int*>(data);
    *key = -1;
    int value;
    if (cStr::ToInt(node.Get_string(), &value)) {
        *key = value;
        return true;
    }
    if (pager) pager->print("Parsing error during \"int\" read from XML: %s\n", node.Get_string().ToChar());
    return false;
}

void _cBind::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) { CopyValue<int>(dst, src); }

bool _cBind::CompatibleWith(const char* type, int size) { return Is(type, "int") && size == 4; }

// ---- _cImageID ----

void _cImageID::CallCtor(void* data) {
    if (data) *static_cast<int*>(data) = -1;
}

// An id means nothing to another run of the program: the element stays empty.
bool _cImageID::Save(cXml&, void*, void*) { return true; }

bool _cImageID::Load(cXml&, void* data, cErrorPager*, void*) {
    if (data) *static_cast<int*>(data) = -1;
    return true;
}

void _cImageID::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) { CopyValue<int>(dst, src); }

bool _cImageID::CompatibleWith(const char* type, int size) { return Is(type, "int") && size == 4; }

}  // namespace zozud
