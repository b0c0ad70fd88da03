// The questions a property panel asks a class: which elements it lists as
// properties (a value row) or nodes (an object to step into), and which
// classes an "Add" may create in a list.
//
// Flags (cClass::EditableProperties, EditableNodes, EditableTrailing): value
// rows, objects to step into, and one trailing entry (the "Add" row) when the
// class has expansion rules (ExpansionOnlyWhenEmpty: only while nothing else
// is listed). An object without a parent shows every element as a node; one
// whose ForceProperty() is true shows every element as a property.
#include "zozud/reflect/Class.h"

namespace zozud {

namespace {

enum Rule { Normal = 0, AllNodes = 1, AllProperties = 2 };

const unsigned Properties = cClass::EditableProperties;
const unsigned Nodes = cClass::EditableNodes;
const unsigned Trailing = cClass::EditableTrailing;
const int ExtraOnlyWhenEmpty = cClass::ExpansionOnlyWhenEmpty;

bool Offered(const cList<cStr>& names, const char* name) {
    for (const cStr& n : names)
        if (n == name) return true;
    return false;
}

}  // namespace

int cClass::EditableRule(cClass* object) {
    if (!object || !object->CheckDirectCasting()) return Normal;
    if (object->ForceProperty()) return AllProperties;
    return object->GetParent() ? Normal : AllNodes;
}

bool cClass::ElementCounts(int j, cClass* object, unsigned flags, int rule) {
    if ((flags & (Properties | Nodes)) == (Properties | Nodes)) return true;
    bool node;
    if (rule != Normal) {
        node = rule == AllNodes;
    } else {
        node = CheckIfElementIsNode(j, object);
        if (node) {
            void* p = GetElementPtr(j, object);
            cClass* element = ActOn(GetElementClass(j), p);
            if (element && element->CheckDirectCasting() && element->ForceProperty()) node = false;
        }
    }
    return node ? (flags & Nodes) != 0 : (flags & Properties) != 0;
}

bool cClass::CheckIfElementIsNode(int i, void* data) {
    cClass* owner = Target(data);
    void* base = owner->CheckDirectCasting() ? owner : data;
    cClass* c = owner->GetElementClass(i);
    void* p = owner->GetElementPtr(i, base);
    if (!c || !p) return false;
    cClass* element = ActOn(c, p);
    return element->CheckDirectCasting() && (element->GetExpansionRules() != 0 || element->GetAmountOfElements() > 0);
}

int cClass::GetAmountOfEditableElements(void* data, unsigned flags) {
    cClass* object = Target(data);
    if (object != this) return object->GetAmountOfEditableElements(object, flags);
    void* base = CheckDirectCasting() ? this : data;
    int rule = data ? EditableRule(this) : Normal;
    if (rule == AllProperties && (flags & Properties)) flags |= Trailing;
    int n = GetAmountOfElements(), count = 0;
    for (int j = 0; j < n; j++)
        if (ElementCounts(j, static_cast<cClass*>(base), flags, rule)) count++;
    int rules = GetExpansionRules();
    if ((flags & Trailing) && rules && (!(rules & ExtraOnlyWhenEmpty) || count == 0)) count++;
    return count;
}

int cClass::GetIndexOfEditableElement(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    if (object != this) return object->GetIndexOfEditableElement(i, object, flags);
    void* base = CheckDirectCasting() ? this : data;
    int rule = data ? EditableRule(this) : Normal;
    int n = GetAmountOfElements();
    if (i < 0) return -1;
    if ((flags & (Properties | Nodes)) == (Properties | Nodes)) return i < n ? i : -1;
    for (int j = 0; j < n; j++)
        if (ElementCounts(j, static_cast<cClass*>(base), flags, rule) && i-- == 0) return j;
    return -1;
}

cClass* cClass::GetEditableElementClass(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    return j < 0 ? nullptr : object->GetElementClass(j);
}

void* cClass::GetEditableElementData(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    return j < 0 ? nullptr : object->GetElementPtr(j, object->CheckDirectCasting() ? object : data);
}

void* cClass::GetEditableElementExtra(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    return j < 0 ? nullptr : object->GetElementExtraPtr(j);
}

bool cClass::CheckIfEditableElementIsNode(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    return j >= 0 && object->CheckIfElementIsNode(j, data);
}

const char* cClass::GetEditableElementName(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    return j < 0 ? nullptr : object->GetElementID(j);
}

const char* cClass::GetEditableElementView(int i, void* data, const char* view, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    return j < 0 ? nullptr : object->GetElementView(j, view);
}

bool cClass::CheckIfElementReadOnly(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    cOneClassMemberStorage* m = j < 0 ? nullptr : object->GetElementCMS(j);
    return m && m->readOnly;
}

bool cClass::CheckIfElementSimple(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    cOneClassMemberStorage* m = j < 0 ? nullptr : object->GetElementCMS(j);
    return m && m->simple;
}

bool cClass::CheckIfElementInvisible(int i, void* data, unsigned flags) {
    cClass* object = Target(data);
    int j = object->GetIndexOfEditableElement(i, data, flags);
    cOneClassMemberStorage* m = j < 0 ? nullptr : object->GetElementCMS(j);
    return m && m->invisible;
}

// Classes an "Add" may create: the expansion base class (rule 1) and the
// classes registered as its children (rule 2), each once, each registered
// with a prototype and accepted by AskParentForUsingExpansionClass.
bool cClass::GetEditableElementExpansionList(cClassExpParams& params, int, void* data, unsigned, cClass* object,
                                             const char* baseClass) {
    cClass* target = object ? object : Target(data);
    int rules = target->GetExpansionRules();
    const char* base = baseClass ? baseClass : target->GetExpansionBaseClass();
    params.classes.Free();
    params.texts.Free();
    if (!base) return false;
    auto offer = [&](const char* name) {
        if (Offered(params.classes, name) || !cClass_GetClassFromPalette(name)) return;
        if (!target->AskParentForUsingExpansionClass(name, base)) return;
        cOneClassStorage* storage = ZOZUD_CGARB.FindClass(name);
        params.classes.Add(cStr(name));
        params.texts.Add(storage ? storage->text : cStr());
    };
    if (rules & 1) offer(base);
    cOneClassStorage* baseStorage = ZOZUD_CGARB.FindClass(base);
    if ((rules & 2) && baseStorage)
        for (int k = 0; k < baseStorage->children.Count(); k++) offer(cStr(baseStorage->children[k]));
    return params.classes.Count() > 0;
}

}  // namespace zozud
