// The markup tree and its writer. The writer grows its output by doubling
// (cStr itself grows only to what is asked), so writing is linear in the
// size of the text; a file write starts from a 1 MiB buffer.
//
// Element names are written so that other XML tools read them: a character
// that may not stand in an XML name there (a blank, a colon, a digit at the
// start, any byte above 127) is written as "_xHHHH_" with its code in four
// upper-case hex digits, and the "_" of a literal "_xHHHH_" in a name as
// "_x005F_", so the reader (XmlRead.cpp) gets the exact name back.
#include "zozud/reflect/Xml.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/reflect/XmlStore.h"

namespace zozud {

// Appends to a cStr with geometric growth; stops adding nodes once the text
// has reached limit characters (limit < 0: no limit).
class cXmlWriter {
public:
    cXmlWriter(cStr* out, int limit) : m_Out(out), m_Limit(limit) {}

    bool Full() const { return m_Limit >= 0 && m_Out->Length() >= m_Limit; }
    void Put(char c) { Room(1); m_Out->Append(c); }
    void Put(const char* s, int n) {
        if (n <= 0) return;
        Room(n);
        m_Out->Append(s, 0, n);
    }
    void Put(const cStr& s, int start = 0, int count = -1) {
        if (count < 0) count = s.Length() - start;
        if (count <= 0) return;
        Room(count);
        m_Out->Append(s, start, count);  // a cStr knows its length: no scan for the end
    }
    void Indent(int depth) {
        if (depth <= 0) return;
        Room(depth);
        m_Out->Append(' ', depth);
    }
    // "<" and ">" become "&lt" and "&gt"; everything else is written as it is.
    void PutEscaped(const cStr& body) {
        const char* s = body.ToChar();
        for (int at = 0;;) {
            int run = (int)strcspn(s + at, "<>");
            Put(body, at, run);
            at += run;
            if (!s[at]) return;
            Put(s[at] == '<' ? "&lt" : "&gt", 3);
            at++;
        }
    }

    void PutName(const cStr& name) {
        const char* s = name.ToChar();
        int n = name.Length();
        int at = 0;
        while (at < n && !NeedsEscape(s, n, at)) at++;
        if (at == n) return Put(name);  // the usual case: a plain name
        Put(name, 0, at);
        for (; at < n; at++) {
            if (!NeedsEscape(s, n, at)) {
                Put(s[at]);
                continue;
            }
            char code[8];
            snprintf(code, sizeof(code), "_x%04X_", (unsigned char)s[at]);
            Put(code, 7);
        }
    }

private:
    static bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
    static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

    // True for the character at of a name of n characters that is written as an escape.
    static bool NeedsEscape(const char* s, int n, int at) {
        char c = s[at];
        if (c == '_')  // "_xHHHH_" standing in the name itself
            return n - at >= 7 && s[at + 1] == 'x' && IsHex(s[at + 2]) && IsHex(s[at + 3]) && IsHex(s[at + 4]) &&
                   IsHex(s[at + 5]) && s[at + 6] == '_';
        if (IsLetter(c)) return false;
        if (at == 0) return true;
        return !((c >= '0' && c <= '9') || c == '-' || c == '.');
    }

    void Room(int n) {
        int need = m_Out->Length() + n + 1;
        if (need <= m_Out->Capacity()) return;
        int grown = m_Out->Capacity() * 2;
        m_Out->Resize(grown > need ? grown : need, true);
    }

    cStr* m_Out;
    int   m_Limit;
};

// ---- Tree ----

namespace {

const size_t HeapHeader = cXmlStore::HeapHeader;

}  // namespace

cXml::~cXml() {
    DeleteChildren();
    Forget(BorrowedName | BorrowedBody);
}

void cXml::Touch() {
    if (m_Flags & InStore) cXmlStore::Of(this)->Touch();
    m_Flags &= ~WholeStore;
}

void cXml::Forget(unsigned char which) {
    Touch();
    which &= m_Flags;
    if (which & BorrowedName) ::new (&m_Name) cStr;  // it owns nothing: there is nothing to give back
    if (which & BorrowedBody) ::new (&m_Body) cStr;
    m_Flags &= ~which;
}

// Frees the subtree without recursion, so a deep tree cannot exhaust the
// stack. Nodes go in document order, the order the reader made them, and
// nodes of one store are handed back to it in runs.
void cXml::DeleteChildren() {
    cXml** children = m_Children;
    int count = m_Count;
    bool owned = m_Flags & OwnedChildren;
    bool whole = m_Flags & WholeStore;
    m_Children = nullptr;
    m_Count = m_Capacity = 0;
    m_Flags &= ~OwnedChildren;
    if (!count) {
        if (owned) ::operator delete(children);
        return;
    }
    Touch();
    if (whole && cXmlStore::Of(children[0])->Intact()) {
        cXmlStore::Of(children[0])->Drop();
        if (owned) ::operator delete(children);
        return;
    }
    cList<cXml*> pending;
    for (int i = count - 1; i >= 0; i--) pending.Add(children[i]);
    if (owned) ::operator delete(children);

    cXmlStore* store = nullptr;
    int released = 0;
    while (!pending.IsEmpty()) {
        cXml* node = pending.GetLast();
        pending.SetCount(pending.Count() - 1);
        for (int i = node->m_Count - 1; i >= 0; i--) pending.Add(node->m_Children[i]);
        node->m_Count = 0;  // its destructor now has only the array to free
        cXmlStore* home = cXmlStore::Of(node);
        node->~cXml();
        if (!home) {
            ::operator delete(reinterpret_cast<char*>(node) - HeapHeader);
            continue;
        }
        if (home != store) {
            if (released) store->ReleaseNodes(released);
            store = home;
            released = 0;
        }
        released++;
    }
    if (released) store->ReleaseNodes(released);
}

void cXml::Room(int count) {
    if (count <= m_Capacity) return;
    Touch();
    int capacity = m_Capacity * 2 > count ? m_Capacity * 2 : count;
    if (capacity < 4) capacity = 4;
    cXml** children = static_cast<cXml**>(::operator new(sizeof(cXml*) * size_t(capacity)));
    if (m_Count) memcpy(children, m_Children, sizeof(cXml*) * size_t(m_Count));
    if (m_Flags & OwnedChildren) ::operator delete(m_Children);
    m_Children = children;
    m_Capacity = capacity;
    m_Flags |= OwnedChildren;
}

cXml* cXml::GetSubQuote(const char* name) const {
    if (!name) return nullptr;
    for (int i = 0; i < m_Count; i++)
        if (m_Children[i]->m_Name == name) return m_Children[i];
    return nullptr;
}

cXml* cXml::AddSubQuote(cXml* child) {
    if (!child) return nullptr;
    Touch();
    if (m_Count == m_Capacity) Room(m_Count + 1);
    m_Children[m_Count++] = child;
    return child;
}

cXml* cXml::AddSubQuote(const char* name, int value) {
    cXml* child = AddSubQuote(new cXml(name));
    child->Assign_int(value);
    return child;
}

cXml* cXml::AddSubQuote(const char* name, const char* value) {
    cXml* child = AddSubQuote(new cXml(name));
    child->Assign_string(value);
    return child;
}

void cXml::DelSubQuote(int i) { delete RemoveSubQuote(i); }

cXml* cXml::RemoveSubQuote(int i) {
    if (i < 0 || i >= m_Count) return nullptr;
    Touch();
    cXml* child = m_Children[i];
    memmove(m_Children + i, m_Children + i + 1, sizeof(cXml*) * size_t(m_Count - i - 1));
    m_Count--;
    return child;
}

void cXml::ClearAll() {
    DeleteChildren();  // first: an intact store goes at once
    Forget(BorrowedName | BorrowedBody);
    m_Name.Clear();
    m_Body.Clear();
}

// A borrowed text stays readable after Forget (its store lives as long as
// this node), so the new value may come from the old one.
void cXml::SetQuoteName(const char* name) {
    Forget(BorrowedName);
    m_Name = name;
}

void cXml::Assign_string(const char* text) {
    Forget(BorrowedBody);
    m_Body = text;
}

void cXml::Assign_string(const cStr& text) {
    if (&text == &m_Body) return;
    Forget(BorrowedBody);
    m_Body = text;
}

void cXml::Assign_int(int value) {
    Forget(BorrowedBody);
    m_Body = cStr::Format("%d", value);
}

int cXml::GetDepth() const {
    struct Pending {
        const cXml* node;
        int         level;
    };
    cList<Pending> pending;
    pending.Add(Pending{this, 1});
    int deepest = 0;
    while (!pending.IsEmpty()) {
        Pending p = pending.GetLast();
        pending.SetCount(pending.Count() - 1);
        if (p.level > deepest) deepest = p.level;
        for (int i = 0; i < p.node->m_Count; i++) pending.Add(Pending{p.node->m_Children[i], p.level + 1});
    }
    return deepest;
}

// ---- Writing ----

// "<name>", then the body of a leaf, or for a node with children a line
// feed and the body on a line of its own.
void cXml::WriteOpening(cXmlWriter& writer, int depth) {
    writer.Indent(depth);
    writer.Put('<');
    writer.PutName(m_Name);
    writer.Put('>');
    if (!m_Count) {
        writer.PutEscaped(m_Body);
        return;
    }
    writer.Put('\n');
    if (!m_Body.IsEmpty()) {
        writer.Indent(depth + 1);
        writer.PutEscaped(m_Body);
        writer.Put('\n');
    }
}

void cXml::WriteClosing(cXmlWriter& writer, int depth) {
    if (!!m_Count) writer.Indent(depth);
    writer.Put("</", 2);
    writer.PutName(m_Name);
    writer.Put(">\n", 2);
}

// Depth first with a stack of open elements instead of recursion, so any
// tree in memory can be written (previews of too deep trees included).
// False, with the text cut short, when an element lies deeper than maxLevels.
bool cXml::WriteSource(cXmlWriter& writer, int depth, int maxLevels) {
    struct Open {
        cXml* node;
        int   next;  // the child to write next
    };
    cList<Open> open;
    WriteOpening(writer, depth);
    open.Add(Open{this, 0});
    while (!open.IsEmpty() && !writer.Full()) {
        int   level = depth + open.Count() - 1;
        Open& top = open.GetLast();
        if (top.next < top.node->m_Count) {
            if (open.Count() >= maxLevels) return false;
            cXml* child = top.node->m_Children[top.next++];
            child->WriteOpening(writer, level + 1);
            open.Add(Open{child, 0});
        } else {
            top.node->WriteClosing(writer, level);
            open.SetCount(open.Count() - 1);
        }
    }
    return true;
}

bool cXml::GetXMLSource(cStr* out, int depth) {
    if (!out) return false;
    cXmlWriter writer(out, -1);
    int start = out->Length();
    if (WriteSource(writer, depth, MaxDepth)) return true;
    out->SetLength(start);
    LogRefusal("text");
    return false;
}

void cXml::LogRefusal(const char* what) {
    cLog::Message("Can't write xml %s \"%s\": elements nested %d levels deep, more than the %d a reader takes", what,
                  m_Name.ToChar(), GetDepth(), MaxDepth);
}

cStr cXml::GetSourcePreview(int limit) {
    cStr out;
    cXmlWriter writer(&out, limit);
    WriteSource(writer, 0, 0x7fffffff);
    if (out.Length() > limit) {
        out.SetLength(limit);
        out.Append("...");
    }
    return out;
}

bool cXml::WriteToFile(cFile* file) {
    if (!file) return false;
    cStr name = file->GetName();
    cStr output;
    output.Resize(1048576, false);
    cXmlWriter writer(&output, -1);
    bool written = WriteSource(writer, 0, MaxDepth);
    if (written) {
        file->Copy(output.ToChar(), output.Length(), name);
    } else {
        file->Clear();
        file->SetName(name);
        LogRefusal("file");
    }
    return written;
}

bool cXml::WriteToFile(const char* path) {
    cLog::Message(" # Saving xml file \"%s\"...", path ? path : "");
    cFile file;
    return WriteToFile(&file) && cIO::SaveFile(path, file);
}

// ---- Reading files (the parser is in XmlRead.cpp) ----

bool cXml::ReadFromFile(const cFile& file, cStr* error) {
    if (file.GetSize() <= 0) {
        if (error) *error = "empty file";
        return false;
    }
    return Load(reinterpret_cast<const char*>(file.GetData()), file.GetSize(), error) > 0;
}

bool cXml::ReadFromFile(const char* path) {
    cLog::Message(" # Loading xml file \"%s\"...", path ? path : "");
    cFile file;
    if (!cIO::LoadFile(path, &file)) return false;
    return ReadFromFile(file);
}

}  // namespace zozud
