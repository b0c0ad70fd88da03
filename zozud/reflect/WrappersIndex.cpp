// _cIndex: an enumeration value saved by its name. A name the enumeration
// does not know (or one registered with cEnum::Invalid) loads as the first
// value, so a file survives entries being renamed or removed.
#include "zozud/reflect/Enum.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

void _cIndex::CallCtor(void* data) {
    if (data) *static_cast<unsigned*>(data) = 0;
}

bool _cIndex::Save(cXml& node, void* data, void* extra) {
    if (!data) return true;
    const cEnum* e = static_cast<const cEnum*>(extra);
    const char* name = e ? e->GetNameOf(*static_cast<unsigned*>(data)) : nullptr;
    node.Assign_string(name ? name : "");
    return true;
}

bool _cIndex::Load(cXml& node, void* data, cErrorPager* pager, void* extra) {
    if (!data) return false;
    const cEnum* e = static_cast<const cEnum*>(extra);
    if (!e) {
        if (pager) pager->print("cEnum not assigned for type \"_cIndex\" for variable %s\n", node.GetQuoteName().ToChar());
        return false;
    }
    unsigned* value = static_cast<unsigned*>(data);
    *value = e->GetFirstValue();
    int position = node.Get_string().IsEmpty() ? -1 : e->FindName(node.Get_string());
    if (position >= 0 && e->GetValue(position) != cEnum::Invalid) *value = e->GetValue(position);
    return true;
}

void _cIndex::FullCopy(void* dst, void*, cClass*, void* src, void*, cClassCopyContext*) {
    if (dst && src && dst != src) *static_cast<unsigned*>(dst) = *static_cast<const unsigned*>(src);
}

bool _cIndex::CompatibleWith(const char*, int size) { return size == 4; }

}  // namespace zozud
