// The markup tree and its writer. The writer grows its output by doubling
// (cStr itself grows only to what is asked), so writing is linear in the
// size of the text; a file write starts from a 1 MiB buffer.
#include "zozud/reflect/Xml.h"

#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"

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

private:
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

cXml::~cXml() { DeleteChildren(); }

// Frees the subtree without recursion, so a deep tree cannot exhaust the
// stack. Nodes go in document order, the order the reader allocated them.
void cXml::DeleteChildren() {
    if (m_Children.IsEmpty()) return;
    cList<cXml*> pending;
    for (int i = m_Children.Count() - 1; i >= 0; i--) pending.Add(m_Children[i]);
    m_Children.Free();
    while (!pending.IsEmpty()) {
        cXml* node = pending.GetLast();
        pending.SetCount(pending.Count() - 1);
        for (int i = node->m_Children.Count() - 1; i >= 0; i--) pending.Add(node->m_Children[i]);
        node->m_Children.Free();
        delete node;
    }
}

cXml* cXml::GetSubQuote(const char* name) const {
    if (!name) return nullptr;
    for (cXml* child : m_Children)
        if (child->m_Name == name) return child;
    return nullptr;
}

cXml* cXml::AddSubQuote(cXml* child) {
    if (child) m_Children.Add(child);
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
    if (i < 0 || i >= m_Children.Count()) return nullptr;
    cXml* child = m_Children[i];
    m_Children.RemoveAt(i);
    return child;
}

void cXml::ClearAll() {
    m_Name.Clear();
    m_Body.Clear();
    DeleteChildren();
}

void cXml::Assign_int(int value) { m_Body = cStr::Format("%d", value); }

// ---- Writing ----

void cXml::WriteSource(cXmlWriter& writer, int depth) {
    if (writer.Full()) return;
    writer.Indent(depth);
    writer.Put('<');
    writer.Put(m_Name);
    writer.Put('>');
    if (!m_Children.IsEmpty()) {
        writer.Put('\n');
        if (!m_Body.IsEmpty()) {
            writer.Indent(depth + 1);
            writer.PutEscaped(m_Body);
            writer.Put('\n');
        }
        for (cXml* child : m_Children) child->WriteSource(writer, depth + 1);
        writer.Indent(depth);
    } else {
        writer.PutEscaped(m_Body);
    }
    writer.Put("</", 2);
    writer.Put(m_Name);
    writer.Put(">\n", 2);
}

void cXml::GetXMLSource(cStr* out, int depth) {
    if (!out) return;
    cXmlWriter writer(out, -1);
    WriteSource(writer, depth);
}

cStr cXml::GetSourcePreview(int limit) {
    cStr out;
    cXmlWriter writer(&out, limit);
    WriteSource(writer, 0);
    if (out.Length() > limit) {
        out.SetLength(limit);
        out.Append("...");
    }
    return out;
}

void cXml::WriteToFile(cFile* file) {
    if (!file) return;
    m_Output.Resize(1048576, false);
    GetXMLSource(&m_Output, 0);
    cStr name = file->GetName();
    file->Copy(m_Output.ToChar(), m_Output.Length(), name);
    m_Output.Free();
}

bool cXml::WriteToFile(const char* path) {
    cLog::Message(" # Saving xml file \"%s\"...", path ? path : "");
    cFile file;
    WriteToFile(&file);
    return cIO::SaveFile(path, file);
}

// ---- Reading files (the parser is in XmlRead.cpp) ----

bool cXml::ReadFromFile(const cFile& file) {
    if (file.GetSize() <= 0) return false;
    return Load(reinterpret_cast<const char*>(file.GetData()), file.GetSize()) > 0;
}

bool cXml::ReadFromFile(const char* path) {
    cLog::Message(" # Loading xml file \"%s\"...", path ? path : "");
    cFile file;
    if (!cIO::LoadFile(path, &file)) return false;
    return ReadFromFile(file);
}

}  // namespace zozud
