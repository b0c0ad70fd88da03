// cClassList<T>: a reflected list of owned T objects (T derives from cClass).
// Its elements are its entries, each saved as an element named after the
// entry's own class, so one list holds objects of any registered class
// derived from T. Loading replaces the entries; a tag naming a class that
// is not registered, not derived from T, or not an object of its own (a
// member wrapper such as _cStr describes data elsewhere), is reported and
// skipped.
// The list owns its entries: removing or clearing deletes them.
#pragma once

#include "zozud/reflect/Class.h"

namespace zozud {

// The registry name of T without needing a T: its StaticClassName() when
// it has one (ZOZUD_CLASS), else the name a temporary T answers.
template <class T>
auto cClass_NameOfType(int) -> decltype(T::StaticClassName()) {
    return T::StaticClassName();
}
template <class T>
const char* cClass_NameOfType(long) {
    static const cStr name = [] {
        T probe;
        return cStr(probe.GetClassName());
    }();
    return name;
}

template <class T>
class cClassList : public cClass, public cList<T*> {
public:
    typedef cList<T*> Entries;

    cClassList() {}
    ~cClassList() override { DeleteEntries(); }
    cClassList(const cClassList&) = delete;
    cClassList& operator=(const cClassList&) = delete;

    // ---- Entries ----
    int  Add(T* const& entry, int count = 1) { return Entries::Add(entry, count); }
    int  Add(cClass* entry) override;            // -1 (entry deleted) unless it is an object that is a T
    void RemoveAt(int index, int count = 1) override;  // deletes the entries
    int  IndexOf(const void* entry) override;
    void Clear() { DeleteEntries(); }            // deletes every entry
    void Free() { DeleteEntries(); }

    // ---- Reflection ----
    const char* GetClassName() override;         // "cClassList.<T's class name>"
    cClass* new_element() override { return new cClassList<T>; }
    cOneClassStorage* GetClassStorage() override;
    bool CheckDirectCasting() override { return true; }
    int  RegisterMembers() override { return 0; }
    int  GetAmountOfElements() override { return Entries::Count(); }
    const char* GetElementID(int i) override;
    cClass* GetElementClass(int i) override { return InRange(i) ? (*this)[i] : nullptr; }
    void* GetElementPtr(int i, void*) override { return InRange(i) ? static_cast<cClass*>((*this)[i]) : nullptr; }
    void* GetElementExtraPtr(int) override { return nullptr; }
    int  GetExpansionRules() override { return 2; }
    const char* GetExpansionBaseClass() override { return cClass_NameOfType<T>(0); }
    int  ExpandWith(const char* className, void* data) override;
    bool MoveElement(int i, char step) override;
    void CallDtor(void* data) override;         // deletes the entries (see cClassList_CtorNoClear)

private:
    bool InRange(int i) const { return i >= 0 && i < Entries::Count(); }
    void DeleteEntries();
};

// ---- Implementation ----

// A T that is an object of its own: a member wrapper (not direct-casting)
// describes data at another address and cannot be an entry.
template <class T>
T* cClassList_AsEntry(cClass* c) {
    T* t = dynamic_cast<T*>(c);
    return t && c->CheckDirectCasting() ? t : nullptr;
}

template <class T>
int cClassList<T>::Add(cClass* entry) {
    T* t = cClassList_AsEntry<T>(entry);
    if (!t) {
        delete entry;
        return -1;
    }
    return Entries::Add(t);
}

template <class T>
void cClassList<T>::RemoveAt(int index, int count) {
    if (index < 0 || count <= 0 || index >= Entries::Count()) return;
    if (count > Entries::Count() - index) count = Entries::Count() - index;
    for (int i = index; i < index + count; i++) delete (*this)[i];
    Entries::RemoveAt(index, count);
}

template <class T>
int cClassList<T>::IndexOf(const void* entry) {
    for (int i = 0; i < Entries::Count(); i++)
        if (static_cast<const void*>(static_cast<cClass*>((*this)[i])) == entry ||
            static_cast<const void*>((*this)[i]) == entry)
            return i;
    return -1;
}

template <class T>
const char* cClassList<T>::GetClassName() {
    static const cStr name = cStr::Format("cClassList.%s", cClass_NameOfType<T>(0));
    return name;
}

template <class T>
cOneClassStorage* cClassList<T>::GetClassStorage() {
    static cOneClassStorage* s_Storage = nullptr;
    if (!s_Storage) s_Storage = ZOZUD_CGARB.GetClass(GetClassName());
    return s_Storage;
}

template <class T>
const char* cClassList<T>::GetElementID(int i) {
    if (!InRange(i)) return nullptr;
    T* entry = (*this)[i];
    const char* name = entry ? static_cast<cClass*>(entry)->GetClassName() : nullptr;
    return entry ? (name ? name : "") : "NULL";
}

template <class T>
int cClassList<T>::ExpandWith(const char* className, void*) {
    cClass* prototype = cClass_GetClassFromPalette(className);
    if (!prototype) return -1;
    cClass* made = prototype->new_element();
    T* entry = cClassList_AsEntry<T>(made);
    if (!entry) {
        delete made;
        return -1;
    }
    static_cast<cClass*>(entry)->SetParent(this);
    return Entries::Add(entry);
}

template <class T>
bool cClassList<T>::MoveElement(int i, char step) {
    if (step == 0) return true;
    int j = i + step;
    if (!InRange(i) || !InRange(j)) return false;
    T* entry = (*this)[i];
    (*this)[i] = (*this)[j];
    (*this)[j] = entry;
    return true;
}

// Deletes the entries, unless defaults are being rebuilt for the short form:
// then each entry is only taken down to be built up again by CallCtor.
template <class T>
void cClassList<T>::CallDtor(void* data) {
    if (cClassList_CtorNoClear) {
        cClass::CallDtor(data);
        return;
    }
    CustomDtor();
    DeleteEntries();
}

template <class T>
void cClassList<T>::DeleteEntries() {
    for (int i = 0; i < Entries::Count(); i++) delete (*this)[i];
    Entries::Free();
}

}  // namespace zozud
