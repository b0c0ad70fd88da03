// Registration of classes and members into the class registry.
#include <cstring>

#include "zozud/reflect/Class.h"
#include "zozud/reflect/Enum.h"

namespace zozud {

namespace {

const char* NameOf(cClass* c) {
    const char* name = c ? c->GetClassName() : nullptr;
    return name ? name : "";
}

void ResetModes() {
    cClass::ReadOnlyMode = 0;
    cClass::InvisibleMode = 0;
    cClass::StaticMode = 0;
    cClass::NoSaveMode = 0;
    cClass::SimpleMode = 0;
}

// A new record in the owner's table, carrying and consuming the current modes.
cOneClassMemberStorage* NewRecord(cClass* owner, cClass* memberClass, const char* name, void* extra,
                                  const char* hostClass, bool embedded, unsigned mask) {
    cOneClassStorage* storage = owner->GetClassStorage();
    if (!storage) storage = ZOZUD_CGARB.GetClass(owner->GetClassName());
    cOneClassMemberStorage* m = storage->CreateMember(name);
    m->memberClass = memberClass;
    m->extra = extra;
    m->hostClass = hostClass;
    m->embedded = embedded;
    m->mask = mask;
    m->readOnly = cClass::ReadOnlyMode != 0;
    m->invisible = cClass::InvisibleMode != 0;
    m->isStatic = cClass::StaticMode != 0;
    m->notSavable = cClass::NoSaveMode != 0;
    m->simple = cClass::SimpleMode != 0;
    ResetModes();
    return m;
}

// Properties live behind accessors: static mode means nothing for them.
bool RefuseStaticMode(cClass* memberClass, const char* name) {
    if (!cClass::StaticMode) return false;
    cClassPrintError("cClassMode_Static Not allowed for properties: <%s %s>", NameOf(memberClass), name ? name : "");
    cClass::StaticMode = 0;
    return true;
}

void AddOnce(cList<cStr>& names, const char* name) {
    for (const cStr& n : names)
        if (n == name) return;
    names.Add(cStr(name));
}

// The two storages of a parent relation; false when either is missing or they are the same.
bool RelationStorages(cClass* child, cClass* parent, cOneClassStorage** cs, cOneClassStorage** ps) {
    if (!child || !parent || !child->GetClassName() || !parent->GetClassName()) return false;
    *cs = ZOZUD_CGARB.GetClass(child->GetClassName());
    *ps = ZOZUD_CGARB.GetClass(parent->GetClassName());
    if (*cs == *ps) return false;
    AddOnce((*ps)->children, child->GetClassName());
    AddOnce((*cs)->parents, parent->GetClassName());
    return true;
}

void CopyRecord(const cOneClassMemberStorage* from, cOneClassMemberStorage* to) {
    to->memberClass = from->memberClass ? from->memberClass->new_element() : nullptr;
    to->data = from->data;
    to->hasData = from->hasData;
    to->reserved = from->reserved;
    to->readOnly = from->readOnly;
    to->invisible = from->invisible;
    to->isStatic = from->isStatic;
    to->notSavable = from->notSavable;
    to->simple = from->simple;
    to->extra = from->extra;
    to->getInt = from->getInt;
    to->getPtr = from->getPtr;
    to->setInt = from->setInt;
    to->setPtr = from->setPtr;
    to->hostClass = from->hostClass;
    to->embedded = from->embedded;
    to->mask = from->mask;
}

// A private descriptor made from the registered wrapper prototype; null,
// with the modes consumed and a warning, when the wrapper is unknown.
cClass* NewWrapper(const char* wrapper) {
    cClass* prototype = cClass_GetClassFromPalette(wrapper);
    if (prototype) return prototype->new_element();
    cClassPrintError("class not registered: \"%s\"", wrapper ? wrapper : "");
    ResetModes();
    return nullptr;
}

}  // namespace

// ---- Members ----

void cClass::RegisterOneMember(cClass* memberClass, void* data, const char* name, void* extra,
                               const char* hostClass, bool embedded, unsigned mask) {
    cOneClassMemberStorage* m = NewRecord(this, memberClass, name, extra, hostClass, embedded, mask);
    if (!data) {
        m->notSavable = 1;
        return;
    }
    m->hasData = true;
    m->data = m->isStatic ? reinterpret_cast<intptr_t>(data) : static_cast<char*>(data) - reinterpret_cast<char*>(this);
}

void cClass::RegisterOneMemberIntProperty(cClass* memberClass, int (*get)(void*), void (*set)(void*, int),
                                          const char* name, void* extra, const char* hostClass, unsigned mask) {
    RefuseStaticMode(memberClass, name);
    cOneClassMemberStorage* m = NewRecord(this, memberClass, name, extra, hostClass, false, mask);
    m->getInt = get;
    m->setInt = set;
    if (!get) m->notSavable = 1;
}

void cClass::RegisterOneMemberProperty(cClass* memberClass, void* (*get)(void*), void (*set)(void*, void*),
                                       const char* name, void* extra, const char* hostClass, unsigned mask) {
    RefuseStaticMode(memberClass, name);
    cOneClassMemberStorage* m = NewRecord(this, memberClass, name, extra, hostClass, false, mask);
    m->getPtr = get;
    m->setPtr = set;
    if (!get) m->notSavable = 1;
}

// ---- Classes ----

cOneClassStorage* cClass_RegClassBC(cClass* instance, const char* text, const char* className, bool skipDotted) {
    if (!className || (skipDotted && strchr(className, '.'))) return nullptr;
    cOneClassStorage* storage = ZOZUD_CGARB.GetClass(className);
    if (!storage->prototype) {
        storage->prototype = instance ? instance->new_element() : nullptr;
        if (!storage->prototype) return nullptr;
    }
    if (storage->members.IsEmpty()) storage->prototype->RegisterMembers();
    if (text && *text && storage->text.IsEmpty()) storage->text = text;
    return storage;
}

void cClass_RegParent(cClass* child, cClass* parent) {
    cOneClassStorage *cs, *ps;
    if (!RelationStorages(child, parent, &cs, &ps)) return;
    if (ps->members.IsEmpty()) parent->RegisterMembers();
    for (int i = 0; i < ps->members.Count(); i++) {
        const cOneClassMemberStorage* from = ps->members[i];
        CopyRecord(from, cs->CreateMember(from->name));
    }
}

void cClass_RegBase(cClass* child, cClass* base) {
    cOneClassStorage *cs, *ps;
    RelationStorages(child, base, &cs, &ps);
}

// ---- Shorthands ----

bool cClass_RegMember(cClass* owner, const char* wrapper, void* data, const char* name, void* extra, unsigned mask) {
    cClass* memberClass = NewWrapper(wrapper);
    if (!memberClass) return false;
    owner->RegisterOneMember(memberClass, data, name, extra, owner->GetClassName(), false, mask);
    return true;
}

bool cClass_RegIndex(cClass* owner, unsigned* value, const char* name, const char* enumName, const char* wrapper,
                     unsigned mask) {
    cClass* memberClass = NewWrapper(wrapper);
    if (!memberClass) return false;
    cEnum* e = cEnums::Get(enumName);
    memberClass->SetEnumName(e->GetName());
    owner->RegisterOneMember(memberClass, value, name, e, owner->GetClassName(), false, mask);
    return true;
}

bool cClass_RegIntProperty(cClass* owner, const char* wrapper, int (*get)(void*), void (*set)(void*, int),
                           const char* name, void* extra, unsigned mask) {
    cClass* memberClass = NewWrapper(wrapper);
    if (!memberClass) return false;
    owner->RegisterOneMemberIntProperty(memberClass, get, set, name, extra, owner->GetClassName(), mask);
    return true;
}

}  // namespace zozud
