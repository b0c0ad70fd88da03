// The class registry: one member table (cOneClassStorage) per class name,
// kept by the process-wide cClassGarbage (ZOZUD_CGARB). A table is made on
// the first lookup of its name and lives until exit; there is no
// unregistration, so pointers to tables and records stay valid for good.
#pragma once

#include <cstdint>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/core/StrHash.h"

namespace zozud {

class cClass;

extern int num_cOneClassMemberStorage;  // member records alive

// One registered member of a class.
struct cOneClassMemberStorage {
    cOneClassMemberStorage();
    ~cOneClassMemberStorage();
    cOneClassMemberStorage(const cOneClassMemberStorage&) = delete;
    cOneClassMemberStorage& operator=(const cOneClassMemberStorage&) = delete;

    cClass*       memberClass = nullptr;  // private descriptor instance (embedded members: the prototype)
    cStr          name;                   // XML tag and, after display rules, the label
    intptr_t      data = 0;               // offset in the owner, or an absolute address in static mode
    bool          hasData = false;        // registered with a data address (offset 0 is a valid offset)
    unsigned char reserved = 0;
    unsigned char readOnly = 0;
    unsigned char invisible = 0;
    unsigned char isStatic = 0;
    unsigned char notSavable = 0;         // forced for members that have neither data nor a getter
    unsigned char simple = 0;
    void*         extra = nullptr;        // per-member parameter: an enum, a slider range

    // Property access; all null for a plain member. The owner is the object as cClass*.
    int   (*getInt)(void* owner) = nullptr;
    void* (*getPtr)(void* owner) = nullptr;
    void  (*setInt)(void* owner, int value) = nullptr;
    void  (*setPtr)(void* owner, void* value) = nullptr;

    const char* hostClass = nullptr;      // class whose RegisterMembers registered the member
    bool        embedded = false;         // a cClass object held inside the owner (cClass_RegAuto)
    unsigned    mask = 0xFFFFFFFFu;       // matched against the owner's GetClassMask()

    bool IsProperty() const { return getInt || getPtr; }
};

// The shared member table of one class.
class cOneClassStorage {
public:
    int                            index = -1;          // position in the registry
    cStr                           name;                // the class name it is registered under
    cClass*                        prototype = nullptr; // made with new_element() at registration
    cList<cOneClassMemberStorage*> members;             // registration order = element order
    cList<cStr>                    children;            // classes that inherit from this one
    cList<cStr>                    parents;             // classes this one inherits from
    cStr                           text;                // display text for expansion lists

    cOneClassMemberStorage* CreateMember(const char* memberName);  // appends an empty record
    bool CheckParent(const char* className) const;                 // className among the parents
    bool CheckChildren(const char* className) const;               // className among the children
    // className among the parents and/or children; recursive follows those
    // classes' own lists through the registry.
    bool CheckAll(const char* className, bool inParents, bool inChildren, bool recursive) const;
};

class cClassGarbage {
public:
    static cClassGarbage& Get();  // made on first use, never destroyed

    cOneClassStorage* CreateClassStorage(const char* name);  // appends an empty table, hashes its name
    cOneClassStorage* GetClass(const char* name);            // finds or creates (null name: always creates)
    cOneClassStorage* FindClass(const char* name) const;     // finds only; null when absent
    int  GetClassCount() const { return m_Storages.Count(); }
    cOneClassStorage* GetClassAt(int i) const { return m_Storages[i]; }

private:
    cList<cOneClassStorage*> m_Storages;
    cStrHash                 m_Names;  // class name -> index in m_Storages, sorted for bisection
};

#define ZOZUD_CGARB (::zozud::cClassGarbage::Get())

// The prototype of a registered class, or null; never creates a table.
cClass* cClass_GetClassFromPalette(const char* className);

// ---- Seam: member wrapper registration ----
// The member wrappers (and the framework classes a property panel edits) are
// registered as classes by the class explorer's start-up, which lives in the
// top layer because it knows classes of every layer. The framework's start-up
// hands that function in here; cClass::CallCtor and the palette lookup run it
// before their own work, so wrappers exist before any member is registered.
// The function must be cheap to call again. Null: nothing to register.
void cClass_SetRegisterWrappers(void (*registerWrappers)());
void cClass_RegisterWrappers();  // runs the function handed in, if any

// Formats a warning of the class engine and writes it to the core log.
void cClassPrintError(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zozud
