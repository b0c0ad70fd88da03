// Wrappers of texts: _cStr (and the file paths that share its code) and _cLabel.
#include "zozud/reflect/Wrappers.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

// ---- _cStr ----

void _cStr::CallCtor(void* data) {
    if (data) static_cast<cStr*>(data)->Clear();
}

bool _cStr::Save(cXml& node, void* data, void*) {
    if (data) node.Assign_string(*static_cast<cStr*>(data));
    return true;
}

bool _cStr::Load(cXml& node, void* data, cErrorPager*, void*) {
    if (!data) return false;
    *static_cast<cStr*>(data) = node.Get_string();
    return true;
}

void _cStr::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) {
    if (dst && src && dst != src) *static_cast<cStr*>(dst) = *static_cast<const cStr*>(src);
}

// ---- _cLabel ----

void _cLabel::CallCtor(void* data) {
    if (data) static_cast<cStr*>(data)->Clear();
}

// A label is the program's own text: it is not kept in files.
bool _cLabel::Save(cXml&, void*, void*) { return true; }

bool _cLabel::Load(cXml&, void* data, cErrorPager*, void*) {
    if (data) static_cast<cStr*>(data)->Clear();
    return true;
}

void _cLabel::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) {
    if (dst && src && dst != src) *static_cast<cStr*>(dst) = *static_cast<const cStr*>(src);
}

}  // namespace zozud
