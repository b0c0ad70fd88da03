// Registration of classes and members. Included by Class.h.
//
// A class is entered in the registry under its name with a prototype made by
// new_element(); its RegisterMembers() then fills the shared member table
// once. Members are plain values described by a wrapper class fetched by name
// ("_cInt", "_cXmlFile", ...), embedded reflected objects (cClass_RegAuto),
// integer or pointer properties reached through accessors, and the members
// inherited from a parent class (cClass_RegParent).
#pragma once

namespace zozud {

// Registers a class under className: finds or creates its table, makes the
// prototype from instance->new_element() when there is none, and runs the
// prototype's RegisterMembers() while the table is empty. skipDotted leaves
// names with a '.' alone. Null when skipped or when no prototype could be made.
cOneClassStorage* cClass_RegClassBC(cClass* instance, const char* text, const char* className, bool skipDotted);

template <class T>
cOneClassStorage* cClass_RegClass(T* obj, const char* text = nullptr) {
    return cClass_RegClassBC(obj, text, obj->GetClassName(), false);
}

template <class T>
cOneClassStorage* cClass_RegClassAuto(T* obj, const char* text = nullptr) {
    return cClass_RegClassBC(obj, text, obj->GetClassName(), true);
}

// Registers an embedded cClass object of the owner; its descriptor is the
// prototype of the member's class, registered first when missing.
template <class T>
void cClass_RegAuto(cClass* owner, T& member, const char* name, void* extra = nullptr, unsigned mask = 0xFFFFFFFFu) {
    cClass* object = &member;
    const char* className = object->GetClassName();
    cClass* prototype = cClass_GetClassFromPalette(className);
    if (!prototype) {
        cClass_RegClassBC(object, nullptr, className, false);
        prototype = cClass_GetClassFromPalette(className);
    }
    if (!prototype) {
        cClassPrintError("class not registered: \"%s\"", className ? className : "");
        return;
    }
    owner->RegisterOneMember(prototype, object, name, extra, owner->GetClassName(), true, mask);
}

// The child inherits the parent's members (appended now) and both name lists
// record the relation. parent is any object of the parent class.
void cClass_RegParent(cClass* child, cClass* parent);
// Only the name lists of cClass_RegParent; no member is copied.
void cClass_RegBase(cClass* child, cClass* base);

// ---- Shorthands for RegisterMembers ----

// A value member described by the wrapper class of that name; false (with a
// class-engine warning) when the wrapper is not registered.
bool cClass_RegMember(cClass* owner, const char* wrapper, void* data, const char* name,
                      void* extra = nullptr, unsigned mask = 0xFFFFFFFFu);
// An enumeration index (_cIndex or another wrapper) over the enum of that
// name, which is created when absent.
bool cClass_RegIndex(cClass* owner, unsigned* value, const char* name, const char* enumName,
                     const char* wrapper = "_cIndex", unsigned mask = 0xFFFFFFFFu);
// An integer property: the value is read with get and written back with set.
bool cClass_RegIntProperty(cClass* owner, const char* wrapper, int (*get)(void*), void (*set)(void*, int),
                           const char* name, void* extra = nullptr, unsigned mask = 0xFFFFFFFFu);

}  // namespace zozud
