// _cButton<T>: a member that is a function of T, shown as a button. It is
// registered with the object itself as data and a name spelled like the
// member function ("&cSettings::ReloadTextures"); it has no value, so it
// writes an empty element and ignores what it loads. Every instance answers
// "_cButton" as its class name.
#pragma once

#include "zozud/reflect/Class.h"

namespace zozud {

template <class T>
class _cButton : public cClass {
public:
    typedef void (T::*Function)();

    explicit _cButton(Function function = nullptr) : m_Function(function) {}

    const char* GetClassName() override { return "_cButton"; }
    cClass* new_element() override { return new _cButton(m_Function); }  // keeps the function
    cOneClassStorage* GetClassStorage() override {
        static cOneClassStorage* s_Storage = nullptr;
        if (!s_Storage) s_Storage = ZOZUD_CGARB.GetClass("_cButton");
        return s_Storage;
    }

    void CallCtor(void*) override {}
    void CallDtor(void*) override {}
    bool Save(cXml&, void*, void*) override { return true; }
    bool Load(cXml&, void*, cErrorPager*, void*) override { return true; }
    void FullCopy(void*, void*, cClass*, void*, void*, cClassCopyContext*) override {}

    bool CheckIfFunction() override { return true; }
    // Runs the function on the object at data (the owner when data is null).
    void call(void* owner, void* data) override {
        void* object = data ? data : owner;
        if (object && m_Function) (static_cast<T*>(object)->*m_Function)();
    }
    Function GetFunction() const { return m_Function; }

private:
    Function m_Function;
};

// Registers fn as a button of owner under name.
template <class T>
void cClass_RegButton(T* owner, void (T::*fn)(), const char* name, unsigned mask = 0xFFFFFFFFu) {
    owner->RegisterOneMember(new _cButton<T>(fn), static_cast<void*>(owner), name, nullptr, owner->GetClassName(),
                             false, mask);
}

}  // namespace zozud
