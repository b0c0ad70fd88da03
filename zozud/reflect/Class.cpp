// cClass: life cycle, elements and their masks, parents, lookups by name.
// Registration is in ClassRegister.cpp, the property-panel questions in
// ClassEditable.cpp, saving, loading and copying in ClassPersist.cpp.
#include "zozud/reflect/Class.h"

#include <cstring>
#include <initializer_list>

#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

int cClass::ReadOnlyMode = 0;
int cClass::InvisibleMode = 0;
int cClass::StaticMode = 0;
int cClass::NoSaveMode = 0;
int cClass::SimpleMode = 0;
void* cClass::CurrentContext = nullptr;
const char* cClass::CurrentSaveFile = nullptr;
int cClass::SaveInShortForm = 0;

bool cClassList_CtorNoClear = false;
bool cClassPtr_CtorNoClear = false;

namespace {

const unsigned AllBits = 0xFFFFFFFFu;
const int RawIndexBase = 0x1000000;

// Where an integer property's value lives while it is edited or loaded;
// shared by every such element, as the panel expects one address.
int s_PropertyValue = 0;

const char* NameOf(cClass* c) {
    const char* name = c ? c->GetClassName() : nullptr;
    return name ? name : "";
}

}  // namespace

// ---- Life cycle ----

void cClass::CallCtor(void* data) {
    cClass_RegisterWrappers();
    cClass* object = Target(data);
    if (object != this) return object->CallCtor(object);
    if (CheckDirectCasting()) {
        int n = GetAmountOfElements();
        for (int i = 0; i < n; i++) {
            void* p = GetElementPtr(i, this);
            cClass* c = ActOn(GetElementClass(i), p);
            if (c && p) c->CallCtor(p);
        }
    }
    CustomCtor();
}

void cClass::CallDtor(void* data) {
    cClass* object = Target(data);
    if (object != this) return object->CallDtor(object);
    CustomDtor();
    if (!CheckDirectCasting()) return;
    int n = GetAmountOfElements();
    for (int i = 0; i < n; i++) {
        void* p = GetElementPtr(i, this);
        cClass* c = ActOn(GetElementClass(i), p);
        if (c && p) c->CallDtor(p);
    }
}

// ---- Storage and masks ----

cOneClassStorage* cClass::GetClassStorage() { return ZOZUD_CGARB.FindClass(GetClassName()); }

int cClass::GetAmountOfElements() {
    RegisterMembers();
    cOneClassStorage* storage = GetClassStorage();
    if (!storage) {
        cClassPrintError("Undefined class found: \"%s\"\n", NameOf(this));
        return 0;
    }
    unsigned mask = GetClassMask();
    if (mask == AllBits) return storage->members.Count();
    int n = 0;
    for (cOneClassMemberStorage* m : storage->members)
        if (m->mask & mask) n++;
    return n;
}

int cClass::GetRealMaskedPosition(int i) {
    if (i > 0xFFFFFF) return i - RawIndexBase;
    int real = MaskedIndex(i);
    return real < 0 ? 0 : real;
}

// Member index of the i-th member whose mask shares a bit with the class
// mask; -1 when there is none.
int cClass::MaskedIndex(int i) {
    cOneClassStorage* storage = GetClassStorage();
    if (!storage || i < 0) return -1;
    unsigned mask = GetClassMask();
    if (mask == AllBits) return i < storage->members.Count() ? i : -1;
    for (int j = 0; j < storage->members.Count(); j++)
        if ((storage->members[j]->mask & mask) && i-- == 0) return j;
    return -1;
}

// The record behind element i; null when there is none. (GetRealMaskedPosition
// answers 0 for "none", which is a valid member index, so this asks MaskedIndex.)
cOneClassMemberStorage* cClass::RecordAt(int i) {
    cOneClassStorage* storage = GetClassStorage();
    if (!storage) {
        cClassPrintError("Undefined class found: \"%s\"\n", NameOf(this));
        return nullptr;
    }
    int real = i > 0xFFFFFF ? i - RawIndexBase : MaskedIndex(i);
    return real >= 0 && real < storage->members.Count() ? storage->members[real] : nullptr;
}

cOneClassMemberStorage* cClass::GetElementCMS(int i) { return RecordAt(i); }

// ---- Elements ----

const char* cClass::GetElementID(int i) {
    cOneClassMemberStorage* m = RecordAt(i);
    return m ? m->name.ToChar() : nullptr;
}

cClass* cClass::GetElementClass(int i) {
    cOneClassMemberStorage* m = RecordAt(i);
    return m ? m->memberClass : nullptr;
}

void* cClass::GetElementExtraPtr(int i) {
    cOneClassMemberStorage* m = RecordAt(i);
    return m ? m->extra : nullptr;
}

void* cClass::GetElementPtr(int i, void* data) {
    cOneClassMemberStorage* m = RecordAt(i);
    if (!m) return nullptr;
    if (CheckDirectCasting()) {
        if (!data) data = this;
        CurrentContext = data;
    }
    if (m->getInt) {
        s_PropertyValue = m->getInt(data);
        return &s_PropertyValue;
    }
    if (m->getPtr) return m->getPtr(data);
    if (!m->hasData) return nullptr;
    if (m->isStatic) return reinterpret_cast<void*>(m->data);
    return data ? static_cast<char*>(data) + m->data : nullptr;
}

const char* cClass::GetElementView(int i, const char* view) {
    if (CheckDirectCasting() && GetElementID(i)) {
        void* p = GetElementPtr(i, this);
        cClass* object = ActOn(GetElementClass(i), p);
        if (object && object->CheckDirectCasting()) {
            const char* text = object->GetThisElementView(view);
            if (text) return text;
        }
    }
    return GetElementID(i);
}

// ---- Parents ----

bool cClass::ForceProperty() { return CheckDirectCasting() && m_Parent ? m_Parent->ForceProperty() : false; }

void cClass::SetParent(cClass* parent) {
    m_Parent = parent;
    if (!CheckDirectCasting()) return;
    int n = GetAmountOfElements();
    for (int i = 0; i < n; i++) {
        void* p = GetElementPtr(i, this);
        cClass* object = ActOn(GetElementClass(i), p);
        if (object && static_cast<void*>(object) == p) object->SetParent(this);
    }
}

void cClass::AdoptMembers() {
    cOneClassStorage* storage = GetClassStorage();
    if (!storage) return;
    for (cOneClassMemberStorage* m : storage->members) {
        if (!m->hasData || m->IsProperty() || !m->memberClass) continue;
        if (!m->embedded && !m->memberClass->CheckDirectCasting()) continue;
        void* p = m->isStatic ? reinterpret_cast<void*>(m->data) : reinterpret_cast<char*>(this) + m->data;
        static_cast<cClass*>(p)->m_Parent = this;
    }
}

int cClass::BeginRegisterMembers() {
    cOneClassStorage* storage = GetClassStorage();
    if (!storage) return 0;
    if (CheckDirectCasting()) AdoptMembers();
    return storage->members.Count();
}

int cClass::EndRegisterMembers() {
    if (CheckDirectCasting()) AdoptMembers();
    cOneClassStorage* storage = GetClassStorage();
    return storage ? storage->members.Count() : 0;
}

cClass* cClass::GetRoot() {
    cClass* c = this;
    for (int guard = 0; c->GetParent() && guard < 1000000; guard++) c = c->GetParent();
    return c;
}

cClass* cClass::GetParent(int levels) {
    cClass* c = this;
    for (int i = 0; i < levels && c; i++) c = c->GetParent();
    return c;
}

int cClass::IndexOfThis() {
    cClass* parent = GetParent();
    if (!parent) return -1;
    int i = parent->IndexOf(this);
    if (i >= 0) return i;
    int n = parent->GetAmountOfElements();
    for (i = 0; i < n; i++)
        if (parent->GetElementPtr(i, parent) == static_cast<void*>(this)) return i;
    return -1;
}

// ---- Lookup by name ----

int cClass::FindElementByName(const char* name) {
    if (!name) return -1;
    cOneClassStorage* storage = GetClassStorage();
    if (!storage) {
        cClassPrintError("class not registered: \"%s\"", NameOf(this));
        return -1;
    }
    if (storage->members.IsEmpty()) RegisterMembers();
    if (!storage->members.IsEmpty() && GetClassMask() == AllBits) {  // the common case: straight to the records
        for (int j = 0; j < storage->members.Count(); j++)
            if (storage->members[j]->name == name) return j;
        return -1;
    }
    int n = GetAmountOfElements();
    for (int i = 0; i < n; i++) {
        const char* id = GetElementID(i);
        if (id && strcmp(id, name) == 0) return i;
    }
    return -1;
}

int cClass::GetElementByName(const char* name, void* data) {
    int i = ExpandWith(name, data);
    return i >= 0 ? i : FindElementByName(name);
}

bool cClass::GetElementInfo(int i, void* data, cOneClassMemberInfo* info) {
    cClass* owner = Target(data);
    if (!info || !owner->GetElementID(i)) return false;
    void* ownerData = owner->CheckDirectCasting() ? owner : data;
    info->ownerClass = owner;
    info->ownerData = ownerData;
    info->record = owner->GetElementCMS(i);
    info->elementData = owner->GetElementPtr(i, ownerData);
    info->elementClass = ActOn(owner->GetElementClass(i), info->elementData);
    info->extra = owner->GetElementExtraPtr(i);
    return true;
}

bool cClass::GetElementInfo(const char* name, void* data, cOneClassMemberInfo* info) {
    cClass* owner = Target(data);
    return GetElementInfo(owner->FindElementByName(name), owner, info);
}

cOneClassMemberStorage* cClass::GetElementStorage(const char* name) {
    int i = FindElementByName(name);
    return i < 0 ? nullptr : GetElementCMS(i);
}

const char* cClass::GetElementHostClass(const char* name) {
    cOneClassMemberStorage* m = GetElementStorage(name);
    return m ? m->hostClass : nullptr;
}

const char* cClass::GetElementHostClass(int i) {
    cOneClassMemberStorage* m = GetElementCMS(i);
    return m ? m->hostClass : nullptr;
}

bool cClass::HasParentClass(const char* className) {
    RegisterMembers();
    cOneClassStorage* storage = GetClassStorage();
    if (!storage || !className) return false;
    for (cOneClassMemberStorage* m : storage->members)
        if (m->hostClass && strcmp(m->hostClass, className) == 0) return true;
    return false;
}

bool cClass::AndFlags(int i, unsigned mask) {
    cOneClassMemberStorage* m = GetElementCMS(i);
    return m && (m->mask & mask) != 0;
}

// ---- Texts ----

int cClass::GetClassPresentationMask(cStr& out, void* data, void* extra, const char* view, unsigned) {
    if (!view || strcmp(view, "value") != 0) return 0;
    cXml node;
    Save(node, data, extra);
    out = node.Get_string();
    return 0;
}

cStr cClass::ToString(bool* ok) {
    if (ok) *ok = false;
    return ToString();
}

// ---- Values by name ----

namespace {

enum class ValueKind { None, Int, Float, Bool };

bool NameIn(const char* name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (strcmp(name, n) == 0) return true;
    return false;
}

ValueKind KindOf(cClass* wrapper) {
    const char* name = wrapper ? wrapper->GetClassName() : nullptr;
    if (!name) return ValueKind::None;
    if (NameIn(name, {"_cInt", "_cSliderI", "_cEditSliderI", "_cBind", "_cImageID", "_cIndex"})) return ValueKind::Int;
    if (NameIn(name, {"_cFloat", "_cSliderF", "_cEditSliderF"})) return ValueKind::Float;
    if (strcmp(name, "_cBool") == 0) return ValueKind::Bool;
    return ValueKind::None;
}

}  // namespace

int cClass::GetIntField(const char* name, int def) {
    int i = FindElementByName(name);
    void* p = i < 0 ? nullptr : GetElementPtr(i, this);
    if (!p) return def;
    switch (KindOf(GetElementClass(i))) {
        case ValueKind::Int: return *static_cast<int*>(p);
        case ValueKind::Float: return int(*static_cast<float*>(p));
        case ValueKind::Bool: return *static_cast<bool*>(p) ? 1 : 0;
        default: return def;
    }
}

float cClass::GetFloatField(const char* name, float def) {
    int i = FindElementByName(name);
    void* p = i < 0 ? nullptr : GetElementPtr(i, this);
    if (!p) return def;
    switch (KindOf(GetElementClass(i))) {
        case ValueKind::Int: return float(*static_cast<int*>(p));
        case ValueKind::Float: return *static_cast<float*>(p);
        case ValueKind::Bool: return *static_cast<bool*>(p) ? 1.0f : 0.0f;
        default: return def;
    }
}

cStr cClass::GetStringField(const char* name, const char* def) {
    int i = FindElementByName(name);
    void* p = i < 0 ? nullptr : GetElementPtr(i, this);
    cClass* c = ActOn(i < 0 ? nullptr : GetElementClass(i), p);
    if (!p || !c) return cStr(def);
    cStr text;
    c->GetClassPresentationMask(text, p, GetElementExtraPtr(i), "value", 0);
    return text;
}

bool cClass::LoadMember(cXml& parent, const char* name, cErrorPager* pager) {
    cXml* child = parent.GetSubQuote(name);
    return child && LoadMemberDirect(*child, name, pager);
}

bool cClass::LoadMemberDirect(cXml& node, const char* name, cErrorPager* pager) {
    cOneClassMemberInfo info;
    return GetElementInfo(name, this, &info) && info.Load(&node, pager);
}

// ---- cOneClassMemberInfo ----

const char* cOneClassMemberInfo::Name() const { return record ? record->name.ToChar() : nullptr; }
unsigned cOneClassMemberInfo::GetMask() const { return record ? record->mask : AllBits; }
bool cOneClassMemberInfo::IsInvisible() const { return record && record->invisible; }
bool cOneClassMemberInfo::IsReadOnly() const { return record && record->readOnly; }
bool cOneClassMemberInfo::IsStatic() const { return record && record->isStatic; }
bool cOneClassMemberInfo::IsNotSavable() const { return record && record->notSavable; }
bool cOneClassMemberInfo::IsDirectCasting() const { return elementClass && elementClass->CheckDirectCasting(); }

bool cOneClassMemberInfo::Save(cXml* node) {
    if (!node || !elementClass || !elementData) return false;
    return elementClass->Save(*node, elementData, extra);
}

bool cOneClassMemberInfo::Load(cXml* node, cErrorPager* pager) {
    if (!node || !elementClass || !elementData) return false;
    bool ok = elementClass->Load(*node, elementData, pager, extra);
    AcceptAfterWrite();
    return ok;
}

void cOneClassMemberInfo::AcceptAfterWrite() { cClass_AcceptAfterWrite(record, ownerData, elementData); }

void cClass_AcceptAfterWrite(const cOneClassMemberStorage* record, void* owner, void* data) {
    if (!record || !data) return;
    if (record->setInt)
        record->setInt(owner, *static_cast<int*>(data));
    else if (record->setPtr)
        record->setPtr(owner, data);
}

}  // namespace zozud
