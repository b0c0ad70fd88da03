// The class registry and its member tables.
#include "zozud/reflect/ClassStorage.h"

#include <cstdarg>

#include "zozud/core/Log.h"
#include "zozud/reflect/Class.h"

namespace zozud {

int num_cOneClassMemberStorage = 0;

cOneClassMemberStorage::cOneClassMemberStorage() { num_cOneClassMemberStorage++; }
cOneClassMemberStorage::~cOneClassMemberStorage() { num_cOneClassMemberStorage--; }

// ---- cOneClassStorage ----

cOneClassMemberStorage* cOneClassStorage::CreateMember(const char* memberName) {
    auto* record = new cOneClassMemberStorage;
    record->name = memberName;
    members.Add(record);
    return record;
}

namespace {

bool Listed(const cList<cStr>& names, const char* name) {
    for (const cStr& n : names)
        if (n == name) return true;
    return false;
}

// Depth-first search through the parent and/or child lists; visited guards
// against classes that name each other.
bool Reaches(const cOneClassStorage* from, const char* name, bool inParents, bool inChildren,
             cList<const cOneClassStorage*>* visited) {
    if (!from || visited->Contains(from)) return false;
    visited->Add(from);
    const cList<cStr>* lists[2] = {inParents ? &from->parents : nullptr, inChildren ? &from->children : nullptr};
    for (const cList<cStr>* list : lists) {
        if (!list) continue;
        if (Listed(*list, name)) return true;
        for (const cStr& next : *list)
            if (Reaches(ZOZUD_CGARB.FindClass(next), name, inParents, inChildren, visited)) return true;
    }
    return false;
}

}  // namespace

bool cOneClassStorage::CheckParent(const char* className) const { return Listed(parents, className); }
bool cOneClassStorage::CheckChildren(const char* className) const { return Listed(children, className); }

bool cOneClassStorage::CheckAll(const char* className, bool inParents, bool inChildren, bool recursive) const {
    if (!recursive)
        return (inParents && CheckParent(className)) || (inChildren && CheckChildren(className));
    cList<const cOneClassStorage*> visited;
    return Reaches(this, className, inParents, inChildren, &visited);
}

// ---- cClassGarbage ----

cClassGarbage& cClassGarbage::Get() {
    static cClassGarbage* ZOZUD_CGARB_INSTANCE = new cClassGarbage;
    return *ZOZUD_CGARB_INSTANCE;
}

cOneClassStorage* cClassGarbage::CreateClassStorage(const char* name) {
    auto* storage = new cOneClassStorage;
    storage->name = name;
    storage->index = m_Storages.Add(storage);
    m_Names.Add(name, storage->index);
    return storage;
}

cOneClassStorage* cClassGarbage::FindClass(const char* name) const {
    if (!name) return nullptr;
    int i = m_Names.Find(name);
    return i < 0 ? nullptr : m_Storages[i];
}

cOneClassStorage* cClassGarbage::GetClass(const char* name) {
    cOneClassStorage* storage = FindClass(name);
    return storage ? storage : CreateClassStorage(name);
}

namespace {

void (*s_RegisterWrappers)() = nullptr;

}  // namespace

void cClass_SetRegisterWrappers(void (*registerWrappers)()) { s_RegisterWrappers = registerWrappers; }

void cClass_RegisterWrappers() {
    if (s_RegisterWrappers) s_RegisterWrappers();
}

cClass* cClass_GetClassFromPalette(const char* className) {
    cClass_RegisterWrappers();  // the wrappers are there before anyone asks for one
    cOneClassStorage* storage = ZOZUD_CGARB.FindClass(className);
    return storage ? storage->prototype : nullptr;
}

void cClassPrintError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    cStr message = cStr::Formatv(fmt, args);
    va_end(args);
    cLog::Warning("--------------------------------------------------\r\nClass engine warning!\r\n%s\r\n",
                  message.ToChar());
}

}  // namespace zozud
