// Saving, loading and copying reflected objects, and their files.
//
// An object saves into an element named after its class, one child element
// per savable member, named after the member, in registration order. A file
// keeps only what differs from a freshly constructed object (the short
// form): loading it onto a fresh object restores the rest from the defaults,
// which is why defaults must come from CustomCtor.
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/reflect/Class.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

namespace {

bool StartsWith(const char* s, const char* prefix) { return s && strncmp(s, prefix, strlen(prefix)) == 0; }

const char* NameOf(cClass* c) {
    const char* name = c ? c->GetClassName() : nullptr;
    return name ? name : "";
}

bool SameClassName(cClass* a, cClass* b) {
    const char* x = a->GetClassName();
    const char* y = b->GetClassName();
    return x && y && strcmp(x, y) == 0;
}

// Keeps a value for the length of a scope and puts the old one back.
template <class V>
class ScopedValue {
public:
    ScopedValue(V& place, V value) : m_Place(place), m_Old(place) { place = value; }
    ~ScopedValue() { m_Place = m_Old; }

private:
    V& m_Place;
    V  m_Old;
};

// Nesting of Save and Load calls, one element level each. Neither descends
// deeper than a file may nest, so objects nested deeper than that (made in
// code) cannot exhaust the stack: Save leaves the element empty, which makes
// the tree too deep to write, and Load skips it.
int s_PersistLevel = 0;

class PersistLevel {
public:
    PersistLevel() { s_PersistLevel++; }
    ~PersistLevel() { s_PersistLevel--; }
    bool TooDeep() const { return s_PersistLevel > cXml::MaxDepth; }
};

}  // namespace

bool cClass::IsListClass() {
    const char* name = GetClassName();
    return StartsWith(name, "cClassList.") || StartsWith(name, "cClassPtr.");
}

// ---- Save and load ----

bool cClass::Save(cXml& node, void* data, void* extra) {
    cClass* object = Target(data);
    if (object != this) return object->Save(node, object, extra);
    PersistLevel level;
    if (level.TooDeep()) return false;
    void* base = CheckDirectCasting() ? this : data;
    RegisterMembers();
    CurrentContext = base;
    int n = GetAmountOfElements();
    for (int i = 0; i < n; i++) SaveElement(i, base, node, extra);
    if (node.GetQuoteName().IsEmpty() && GetClassName()) node.SetQuoteName(GetClassName());
    return true;
}

void cClass::SaveElement(int i, void* base, cXml& node, void* extra) {
    cOneClassMemberStorage* m = GetElementCMS(i);
    if (m && m->notSavable) return;
    cXml* child = node.AddSubQuote(new cXml(GetElementID(i)));
    void* p = GetElementPtr(i, base);
    if (!p) {
        child->Assign_string("NULL");
        return;
    }
    cClass* c = ActOn(GetElementClass(i), p);
    if (!c) return;
    void* own = GetElementExtraPtr(i);
    c->Save(*child, p, own ? own : extra);
    if (StartsWith(c->GetClassName(), "cClassList.")) child->SetListFlag(true);
}

bool cClass::Load(cXml& node, void* data, cErrorPager* pager, void* extra) {
    cClass* object = Target(data);
    if (object != this) return object->Load(node, object, pager, extra);
    PersistLevel level;
    if (level.TooDeep()) return false;
    void* base = CheckDirectCasting() ? this : data;
    if (IsListClass()) {  // the file's entries replace the old ones
        CallDtor(base);
        CallCtor(base);
    }
    RegisterMembers();
    CurrentContext = base;
    // A class may register two members of one name: the n-th element of a
    // name loads the n-th member of that name (the last one takes the rest).
    cList<int> lastOfName;
    if (!IsListClass()) lastOfName.SetCount(GetAmountOfElements(), -1);
    for (int k = 0; k < node.GetNSubQuotes(); k++) {
        cXml* child = node.GetSubQuote(k);
        int i = GetElementByName(child->GetQuoteName(), base);
        if (i >= 0 && i < lastOfName.Count()) i = NextOfName(i, &lastOfName);
        if (i >= 0)
            LoadElement(i, base, *child, pager, extra);
        else if (pager)
            pager->xml_print(*child, "Unknown identifier %s of class %s.\n", child->GetQuoteName().ToChar(), NameOf(this));
    }
    return true;
}

int cClass::NextOfName(int first, cList<int>* lastOfName) {
    int& last = (*lastOfName)[first];
    if (last < 0) return last = first;
    const char* name = GetElementID(first);
    for (int j = last + 1; j < lastOfName->Count(); j++) {
        const char* id = GetElementID(j);
        if (id && name && strcmp(id, name) == 0) return last = j;
    }
    return last;
}

void cClass::LoadElement(int i, void* base, cXml& child, cErrorPager* pager, void* extra) {
    void* p = GetElementPtr(i, base);
    cClass* c = ActOn(GetElementClass(i), p);
    if (!p || !c) return;
    if (CheckDirectCasting() && c->CheckDirectCasting() && c != this) c->SetParent(this);
    void* own = GetElementExtraPtr(i);
    c->Load(child, p, pager, own ? own : extra);
    cClass_AcceptAfterWrite(GetElementCMS(i), base, p);
}

// ---- Copy ----

void cClass::FullCopy(void* dst, void* extra, cClass* srcClass, void* src, void* srcExtra, cClassCopyContext* context) {
    cClass* object = Target(dst);
    if (object != this) return object->FullCopy(object, extra, srcClass, src, srcExtra, context);
    void* base = CheckDirectCasting() ? this : dst;
    cClass* source = ActOn(srcClass, src);
    if (!base || !src || !source || base == src || static_cast<void*>(source) == base) return;
    if (CheckDirectCasting() && source->CheckDirectCasting() && (IsListClass() || GetAmountOfElements() > 0)) {
        CopyMembers(source, context);
        return;
    }
    cXml node;  // any other class: through its own text
    source->Save(node, src, srcExtra);
    Load(node, base, nullptr, extra);
}

// Member by member, matched by name; a list makes its entries the way
// loading does. The destination's address is taken before the source's:
// both may be the one integer-property slot, which then holds the source's
// value when it reaches the destination's setter.
void cClass::CopyMembers(cClass* source, cClassCopyContext* context) {
    if (IsListClass()) {
        CallDtor(this);
        CallCtor(this);
    }
    int n = source->GetAmountOfElements();
    for (int i = 0; i < n; i++) {
        int j = GetElementByName(source->GetElementID(i), this);
        if (j < 0) continue;
        void* to = GetElementPtr(j, this);
        void* from = source->GetElementPtr(i, source);
        cClass* toClass = ActOn(GetElementClass(j), to);
        cClass* fromClass = ActOn(source->GetElementClass(i), from);
        if (!to || !from || !toClass || !fromClass) continue;
        if (to != from && SameClassName(toClass, fromClass))
            toClass->FullCopy(to, GetElementExtraPtr(j), fromClass, from, source->GetElementExtraPtr(i), context);
        cClass_AcceptAfterWrite(GetElementCMS(j), this, to);
    }
}

cClass* cClass::Clone() {
    cClass* copy = new_element();
    if (copy) copy->FullCopy(copy, nullptr, this, this, nullptr, nullptr);
    return copy;
}

// ---- Short form ----

void cClass_ShortForm(cXml* saved, cXml* defaults, bool* changed) {
    for (int i = 0; i < saved->GetNSubQuotes() && i < defaults->GetNSubQuotes();) {
        cXml* s = saved->GetSubQuote(i);
        cXml* d = defaults->GetSubQuote(i);
        if (s->GetNSubQuotes() > 0) {
            cClass_ShortForm(s, d, changed);
            i++;
            continue;
        }
        bool same = d->GetNSubQuotes() == 0 && s->GetQuoteName() == d->GetQuoteName() && s->Get_string() == d->Get_string();
        if (!same || saved->GetListFlag()) {
            i++;
            continue;
        }
        saved->DelSubQuote(i);
        defaults->DelSubQuote(i);
        *changed = true;
    }
}

// Rebuilds a default object of the same shape (lists keep the number and
// kind of their entries) and removes from node whatever equals it.
void cClass::DeleteDefaultSubFields(cXml& node, void* data, void* extra) {
    cClass* object = Target(data);
    if (object != this) return object->DeleteDefaultSubFields(node, object, extra);
    if (!CheckDirectCasting()) return;
    cClass* defaultObject = new_element();
    if (!defaultObject) return;
    cErrorPager silent(false);
    if (defaultObject->Load(node, defaultObject, &silent, extra)) {
        {
            ScopedValue<bool> keepLists(cClassList_CtorNoClear, true);
            ScopedValue<bool> keepPointers(cClassPtr_CtorNoClear, true);
            defaultObject->CallDtor(defaultObject);
            defaultObject->CallCtor(defaultObject);
        }
        cXml defaults;
        defaultObject->Save(defaults, defaultObject, extra);
        for (bool changed = true; changed;) {
            changed = false;
            cClass_ShortForm(&node, &defaults, &changed);
        }
    }
    delete defaultObject;
}

// ---- Files and strings ----

// A list saved as the root keeps its entries in the short form, even those
// whose values are all defaults, as a list member does. A tree deeper than
// the reader takes is refused before the short form walks it.
bool cClass::BuildSaveTree(cXml& root) {
    Save(root, this, nullptr);
    if (StartsWith(GetClassName(), "cClassList.")) root.SetListFlag(true);
    if (root.GetDepth() > cXml::MaxDepth) {
        cLog::Message("Can't save %s: objects nested deeper than the %d levels a file may hold", NameOf(this),
                      cXml::MaxDepth);
        SaveInShortForm = 0;
        return false;
    }
    if (ShouldSaveInShortForm() || SaveInShortForm) DeleteDefaultSubFields(root, this, nullptr);
    SaveInShortForm = 0;
    return true;
}

bool cClass::WriteTo(cFile* file, const char* saveFile) {
    cStr name = file->GetName();
    file->Clear();
    file->SetName(name);
    if (!CheckDirectCasting()) return false;
    CurrentSaveFile = saveFile;
    cXml root;
    bool ok = BuildSaveTree(root) && root.WriteToFile(file);
    CurrentSaveFile = nullptr;
    return ok;
}

bool cClass::ReadFrom(const char* text, int length, cErrorPager* pager, const char* saveFile) {
    if (!CheckDirectCasting()) return false;
    CurrentSaveFile = saveFile;
    cXml root;
    cStr error;
    bool ok = root.Load(text, length, &error) > 0;
    if (!ok && pager) pager->print("Can't read xml: %s\n", error.IsEmpty() ? "empty text" : error.ToChar());
    ok = ok && Load(root, this, pager, nullptr);
    CurrentSaveFile = nullptr;
    return ok;
}

bool cClass::WriteToFile(cFile* file) { return file && WriteTo(file, ""); }

bool cClass::WriteToFile(const char* path) {
    if (!path || !CheckDirectCasting()) return false;
    cFile file;
    file.SetName(path);
    return WriteTo(&file, path) && cIO::SaveFile(path, file);
}

bool cClass::ReadFromFile(const cFile& file) {
    cErrorPager pager(true);
    return ReadFrom(reinterpret_cast<const char*>(file.GetData()), file.GetSize(), &pager, "");
}

bool cClass::ReadFromFile(const char* path) {
    if (!path || !CheckDirectCasting()) return false;
    cLog::Message("Loading Xml file \"%s\"...", path);
    cFile file;
    if (!cIO::LoadFile(path, &file)) return false;
    cErrorPager pager(true);
    return ReadFrom(reinterpret_cast<const char*>(file.GetData()), file.GetSize(), &pager, path);
}

bool cClass::SafeReadFromFile(const char* path) {
    if (!path || !CheckDirectCasting()) return false;
    CurrentSaveFile = path;
    cXml root;
    cErrorPager silent(false);
    bool ok = root.ReadFromFile(path) && Load(root, this, &silent, nullptr);
    CurrentSaveFile = nullptr;
    return ok;
}

bool cClass::WriteToString(cStr* out) {
    if (!out || !CheckDirectCasting()) return false;
    CurrentSaveFile = "";
    cXml root;
    out->Clear();
    bool ok = BuildSaveTree(root) && root.GetXMLSource(out, 0);
    CurrentSaveFile = nullptr;
    return ok;
}

bool cClass::ReadFromString(const cStr& text) {
    cErrorPager pager(true);
    return ReadFrom(text.ToChar(), text.Length(), &pager, "");
}

}  // namespace zozud
