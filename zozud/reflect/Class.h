// cClass: base of every reflected object and descriptor of data that lies
// elsewhere. A direct-casting class (CheckDirectCasting() true) is an object
// whose registered members lie inside itself; an indirect class (the member
// wrappers) describes the data at the void* each call receives. Surprise: a
// direct-casting descriptor handed another object as data works on that
// object, so a prototype can stand for every object of its class. The data
// of a direct-casting class is the object as a cClass* (or null for itself),
// never a pointer to a derived class that has other bases first.
//
// Writing a reflected class:
//   class cThing : public cClass {
//   public:
//       ZOZUD_CLASS(cThing)                    // name, new_element, storage, direct casting
//       cThing() { CallCtor(this); }           // defaults come from CustomCtor
//       void CustomCtor() override { Scale = 1; }
//       int  RegisterMembers() override {
//           if (int n = BeginRegisterMembers()) return n;  // once per class
//           cClass_RegMember(this, "_cFloat", &Scale, "Scale");
//           return EndRegisterMembers();
//       }
//       float Scale;
//   };
// Defaults belong in CustomCtor: saving in short form rebuilds them with
// CallDtor/CallCtor, and members a file leaves out keep them on load.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/reflect/ClassStorage.h"

namespace zozud {

class cXml;
class cFile;
class cErrorPager;
class cClass;

// Bookkeeping of FullCopy for objects shared through pointers.
class cClassCopyContext {
public:
    cList<void*> copied;  // sources already copied in this run
};

// What GetEditableElementExpansionList offers: class names and their display texts.
class cClassExpParams {
public:
    cList<cStr> classes;
    cList<cStr> texts;
};

// The filled result of an element lookup.
class cOneClassMemberInfo {
public:
    cClass* GetClass() const { return elementClass; }  // the element object for direct-casting elements
    void*   GetData() const { return elementData; }
    void*   GetExtra() const { return extra; }
    cClass* GetParentClass() const { return ownerClass; }
    void*   GetParentPtr() const { return ownerData; }
    const char* Name() const;
    unsigned GetMask() const;
    bool IsInvisible() const;
    bool IsReadOnly() const;
    bool IsStatic() const;
    bool IsNotSavable() const;
    bool IsDirectCasting() const;
    bool Save(cXml* node);                      // the element class's Save
    bool Load(cXml* node, cErrorPager* pager);  // its Load, then AcceptAfterWrite
    void AcceptAfterWrite();                    // hands the value to the member's setter

    cClass*                 ownerClass = nullptr;
    void*                   ownerData = nullptr;
    cClass*                 elementClass = nullptr;
    void*                   elementData = nullptr;
    void*                   extra = nullptr;
    cOneClassMemberStorage* record = nullptr;   // null for list entries
};

class cClass {
public:
    // Registration modes: apply to the next single registration, which resets them.
    static int ReadOnlyMode;
    static int InvisibleMode;
    static int StaticMode;
    static int NoSaveMode;
    static int SimpleMode;
    static void* CurrentContext;         // data of the element visited by the last lookup of a direct-casting class
    static const char* CurrentSaveFile;  // file being read or written; "" in memory; null otherwise
    static int SaveInShortForm;          // forces the short form once; reset by every WriteToFile

    cClass() {}
    cClass(const cClass&) : m_Parent(nullptr), m_State(0) {}  // a copy is a new object: no parent
    cClass& operator=(const cClass&) { return *this; }

    // ---- Life cycle ----
    virtual ~cClass() {}
    virtual void CallCtor(void* data);   // every element to its wrapper default, then CustomCtor
    virtual void CallDtor(void* data);   // CustomDtor, then every element's CallDtor
    virtual void CustomCtor() {}
    virtual void CustomDtor() {}

    // ---- Persistence ----
    virtual bool Save(cXml& node, void* data, void* extra);
    virtual bool Load(cXml& node, void* data, cErrorPager* pager, void* extra);

    // ---- Description and elements ----
    virtual const char* GetClassName() { return nullptr; }
    virtual int   RegisterMembers() { return 0; }
    virtual int   GetAmountOfElements();
    virtual const char* GetElementID(int i);
    virtual const char* GetElementView(int i, const char* view);
    virtual const char* GetThisElementView(const char*) { return nullptr; }
    virtual cClass* GetElementClass(int i);
    virtual void* GetElementPtr(int i, void* data);
    virtual void* GetElementExtraPtr(int i);
    virtual void  RemoveAt(int, int) {}

    // ---- Lists and expansion ----
    virtual bool CheckDirectCasting() { return false; }
    virtual int  Add(cClass*) { return -1; }
    virtual int  ExpandWith(const char*, void*) { return -1; }
    virtual int  GetExpansionRules() { return 0; }  // 1 base class, 2 its children, 8 extra row only when empty
    virtual int  IndexOf(const void*) { return -1; }
    virtual const char* GetExpansionBaseClass() { return nullptr; }
    virtual bool ForceProperty();
    virtual bool ForceSimplification() const { return false; }
    virtual bool MoveElement(int, char) { return false; }
    virtual bool AskParentForUsingExpansionClass(const char*, const char*) { return true; }

    // ---- Copy and files; files act on direct-casting objects only ----
    virtual void FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext* context);
    virtual bool ReadFromFile(const char* path);
    virtual bool SafeReadFromFile(const char* path);
    virtual bool WriteToFile(const char* path);
    virtual bool WriteToFile(cFile* file);
    virtual bool ReadFromFile(const cFile& file);
    virtual bool WriteToString(cStr* out);
    virtual bool ReadFromString(const cStr& text);
    virtual const char* GetSource() { return nullptr; }

    // ---- Editable elements ----
    // Flags of the calls below, combined with |: which elements a property
    // panel lists, and whether the "Add" row of a class with expansion rules
    // follows them.
    static constexpr unsigned EditableProperties = 1;  // value rows
    static constexpr unsigned EditableNodes = 2;       // objects to step into
    static constexpr unsigned EditableTrailing = 4;    // one trailing "Add" entry
    // Bit of GetExpansionRules: the "Add" row shows only while nothing else is listed.
    static constexpr int ExpansionOnlyWhenEmpty = 8;
    virtual int     GetAmountOfEditableElements(void* data, unsigned flags);
    virtual int     GetIndexOfEditableElement(int i, void* data, unsigned flags);  // -1 when none
    virtual cClass* GetEditableElementClass(int i, void* data, unsigned flags);
    virtual void*   GetEditableElementData(int i, void* data, unsigned flags);
    virtual void*   GetEditableElementExtra(int i, void* data, unsigned flags);
    virtual bool    GetEditableElementExpansionList(cClassExpParams& params, int i, void* data, unsigned flags,
                                                    cClass* object, const char* baseClass);
    virtual bool    CheckIfElementIsNode(int i, void* data);
    virtual bool    CheckIfEditableElementIsNode(int i, void* data, unsigned flags);
    virtual const char* GetEditableElementName(int i, void* data, unsigned flags);
    virtual const char* GetEditableElementView(int i, void* data, const char* view, unsigned flags);

    // ---- Functions and sections ----
    virtual void EvaluateFunction() {}
    virtual bool CheckIfFunction() { return false; }
    virtual void call(void*, void*) { EvaluateFunction(); }
    virtual int  GetSectionStatus() { return 0; }
    virtual void SetSectionStatus(int) {}

    // ---- Element flags and masks ----
    virtual bool     CheckIfElementReadOnly(int i, void* data, unsigned flags);
    virtual bool     CheckIfElementSimple(int i, void* data, unsigned flags);
    virtual bool     CheckIfElementInvisible(int i, void* data, unsigned flags);
    virtual unsigned GetClassMask() { return 0xFFFFFFFFu; }
    virtual int      GetRealMaskedPosition(int i);  // above 0xFFFFFF: raw member index + 0x1000000

    // ---- Named objects and parents ----
    virtual cStr*    GetObjectNamePointer() { return nullptr; }
    virtual bool     CheckIfObjectIsGlobal() { return false; }
    virtual unsigned GetObjectGlobalID() { return 0xFFFFFFFFu; }
    virtual void     SetObjectGlobalID(unsigned) {}
    virtual cClass*  GetParent() { return m_Parent; }
    virtual void     SetParent(cClass* parent);  // also adopts every direct-casting member

    // ---- Behaviour hooks ----
    virtual bool CompatibleWith(const char*, int) { return true; }
    virtual bool ShouldSaveInShortForm() { return true; }
    virtual int  GetClassPresentationMask(cStr& out, void* data, void* extra, const char* view, unsigned flags);
    virtual cStr ToString(bool* ok);
    virtual cStr ToString() { return cStr(); }
    virtual void OnProcess() {}
    virtual bool IsEnabled(const char*) { return true; }
    virtual bool IsReadOnly(const char*) { return false; }
    virtual bool OnChangeMember(cClass*, void*, void*, const char*) { return false; }
    virtual void SetEnumName(const char*) {}

    // ---- Class ----
    virtual cClass* new_element() { return new cClass; }
    virtual cOneClassStorage* GetClassStorage();  // by name, never creating; classes cache theirs

    // ---- Lookup by name and index ----
    int  GetElementByName(const char* name, void* data);  // ExpandWith first, then the first element of that ID
    int  FindElementByName(const char* name);             // the first element of that ID, -1 when none
    bool GetElementInfo(int i, void* data, cOneClassMemberInfo* info);
    bool GetElementInfo(const char* name, void* data, cOneClassMemberInfo* info);
    cOneClassMemberStorage* GetElementStorage(const char* name);
    cOneClassMemberStorage* GetElementCMS(int i);          // record of element i, null for list entries
    const char* GetElementHostClass(const char* name);
    const char* GetElementHostClass(int i);
    bool HasParentClass(const char* className);            // some member's host class is className
    bool ContainsMember(const char* name) { return FindElementByName(name) >= 0; }
    bool AndFlags(int i, unsigned mask);                   // element i's mask shares a bit with mask

    // ---- Tree ----
    cClass* GetRoot();
    cClass* GetParent(int levels);
    int     IndexOfThis();  // element index of this object in its parent, -1 when none

    // ---- Values by name ----
    cClass* Clone();
    cStr  GetStringField(const char* name, const char* def);  // the element's saved text
    int   GetIntField(const char* name, int def);
    float GetFloatField(const char* name, float def);
    bool  LoadMember(cXml& parent, const char* name, cErrorPager* pager);      // from parent's child of that name
    bool  LoadMemberDirect(cXml& node, const char* name, cErrorPager* pager);  // from node itself

    // ---- Short form ----
    void DeleteDefaultSubFields(cXml& node, void* data, void* extra);

    // ---- Registration ----
    void RegisterOneMember(cClass* memberClass, void* data, const char* name, void* extra,
                           const char* hostClass, bool embedded, unsigned mask);
    void RegisterOneMemberIntProperty(cClass* memberClass, int (*get)(void*), void (*set)(void*, int),
                                      const char* name, void* extra, const char* hostClass, unsigned mask);
    void RegisterOneMemberProperty(cClass* memberClass, void* (*get)(void*), void (*set)(void*, void*),
                                   const char* name, void* extra, const char* hostClass, unsigned mask);

protected:
    int  BeginRegisterMembers();  // adopts existing direct-casting members; their count (0: register now)
    int  EndRegisterMembers();    // the count after registering
    void AdoptMembers();          // this object becomes the parent of each direct-casting member (one level)

    // The object a call on this class with the given data works on.
    cClass* Target(void* data) { return CheckDirectCasting() && data ? static_cast<cClass*>(data) : this; }
    static cClass* ActOn(cClass* cls, void* data) {
        return cls && data && cls->CheckDirectCasting() ? static_cast<cClass*>(data) : cls;
    }

    cClass*       m_Parent = nullptr;
    unsigned char m_State = 0;

private:
    friend class cOneClassMemberInfo;
    cOneClassMemberStorage* RecordAt(int i);     // record of element i, null out of range
    int  MaskedIndex(int i);                     // member index of the i-th masked member, -1 when none
    bool ElementCounts(int j, cClass* object, unsigned flags, int rule);
    int  EditableRule(cClass* object);
    bool IsListClass();
    void SaveElement(int i, void* base, cXml& node, void* extra);
    void LoadElement(int i, void* base, cXml& child, cErrorPager* pager, void* extra);
    int  NextOfName(int first, cList<int>* lastOfName);  // member for the next element named like member first
    void CopyMembers(cClass* src, cClassCopyContext* context);
    bool BuildSaveTree(cXml& root);  // false when the objects nest too deep for a file
    bool WriteTo(cFile* file, const char* saveFile);
    bool ReadFrom(const char* text, int length, cErrorPager* pager, const char* saveFile);
};

// Flags of cClassList and cClassPtr: set while defaults are rebuilt for the
// short form, so that CallDtor/CallCtor keep their entries.
extern bool cClassList_CtorNoClear;
extern bool cClassPtr_CtorNoClear;

// One pass of the short form: leaves of saved whose body equals the leaf at
// the same place in defaults are deleted from both trees, except the direct
// children of a list element. Sets *changed when it deleted anything.
void cClass_ShortForm(cXml* saved, cXml* defaults, bool* changed);

// Hands a loaded or copied value to a member's integer or pointer setter.
void cClass_AcceptAfterWrite(const cOneClassMemberStorage* record, void* owner, void* data);

}  // namespace zozud

// Boilerplate of a reflected class: its name (the registry key), new_element,
// the cached storage and, for ZOZUD_CLASS, direct casting.
#define ZOZUD_CLASS_NAMED(Type, Name)                                                   \
    static const char* StaticClassName() { return Name; }                               \
    const char* GetClassName() override { return Name; }                                \
    ::zozud::cClass* new_element() override { return new Type; }                        \
    ::zozud::cOneClassStorage* GetClassStorage() override {                             \
        static ::zozud::cOneClassStorage* s_Storage = nullptr;                          \
        if (!s_Storage) s_Storage = ZOZUD_CGARB.GetClass(Name);                         \
        return s_Storage;                                                               \
    }

#define ZOZUD_CLASS(Type)         \
    ZOZUD_CLASS_NAMED(Type, #Type) \
    bool CheckDirectCasting() override { return true; }

#include "zozud/reflect/ClassRegister.h"
