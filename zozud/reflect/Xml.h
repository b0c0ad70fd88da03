// cXml: one element of the framework's small markup tree: a name, nested
// elements and one text body; no attributes, declarations or comments
// (whatever stands between "<" and ">" is the name). Nodes own their children.
//
// Names are any text in the tree; in written text a character that XML does
// not allow in a name is an "_xHHHH_" escape (see Xml.cpp), so other tools
// read the files, and the reader turns the escapes back into the name.
//
// Written text: one space of indentation per level, single line feeds, and
// "<" and ">" in bodies escaped as "&lt" and "&gt" without a semicolon ("&"
// is written as it is). The reader trims bodies of blanks, keeps the last
// text run found between children, ignores anything behind the first
// complete element, and refuses nesting deeper than MaxDepth. The writer
// refuses such trees too, so every text written is one the reader takes.
//
// Nodes made by the reader live in a block store of their document
// (cXmlStore), names, bodies and child lists included, so a parse allocates a
// few large blocks instead of several small ones per element, and freeing a
// tree returns those blocks. Such nodes still behave as any other: they can be
// renamed, given children, detached and deleted one by one; the store is
// released when the last of its nodes is gone.
#pragma once

#include <cstddef>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

namespace zozud {

class cFile;
class cXmlWriter;
class cXmlStore;

class cXml {
public:
    static constexpr int MaxDepth = 1024;  // deepest nesting read or written; the root is level 1

    cXml() {}
    explicit cXml(const char* name) : m_Name(name) {}
    ~cXml();
    cXml(const cXml&) = delete;
    cXml& operator=(const cXml&) = delete;

    // Every node made with new carries a word in front telling which store, if
    // any, holds it, so delete returns it to the right place.
    static void* operator new(size_t size);
    static void  operator delete(void* p);

    // ---- Reading: characters consumed, -1 on a syntax error, 0 for an empty text ----
    // On -1, *error (when given) says why and where; too deep a nesting is also logged.
    int  Load(const char* text);
    int  Load(const char* text, int length, cStr* error = nullptr);  // needs no zero byte at the end; one inside ends the text
    bool ReadFromFile(const cFile& file, cStr* error = nullptr);     // false for an empty file or an error
    bool ReadFromFile(const char* path);      // through cIO::LoadFile; logs the load

    // ---- Writing: a tree nested deeper than MaxDepth is refused with false and a log line ----
    bool WriteToFile(cFile* file);            // replaces the file's contents with the text of this tree (nothing when refused)
    bool WriteToFile(const char* path);       // through cIO::SaveFile; logs the save
    bool GetXMLSource(cStr* out, int depth);  // appends the text of this subtree (nothing when refused)
    int  GetDepth() const;                    // levels of this subtree, itself included

    // ---- Tree ----
    const cStr& GetQuoteName() const { return m_Name; }
    void  SetQuoteName(const char* name);
    int   GetNSubQuotes() const { return m_Count; }
    cXml* GetSubQuote(int i) const { return i >= 0 && i < m_Count ? m_Children[i] : nullptr; }
    cXml* GetSubQuote(const char* name) const;  // first child of exactly that name, or null
    cXml* AddSubQuote(cXml* child);             // appends, taking ownership
    cXml* AddSubQuote(const char* name, int value);
    cXml* AddSubQuote(const char* name, const char* value);
    void  DelSubQuote(int i);                   // destroys child i
    cXml* RemoveSubQuote(int i);                // detaches child i; the caller owns it
    void  ClearAll();                           // name, body and children emptied

    // ---- Body ----
    void  Assign_int(int value);
    void  Assign_string(const char* text);
    void  Assign_string(const cStr& text);
    const cStr& Get_string() const { return m_Body; }

    // Set on the element of a cClassList: its direct children survive the short form.
    bool  GetListFlag() const { return m_ListFlag != 0; }
    void  SetListFlag(bool on) { m_ListFlag = on ? 1 : 0; }

    // Source text of this node cut to limit characters, "..." appended when cut.
    cStr  GetSourcePreview(int limit);

private:
    friend class cXmlReader;
    friend class cXmlStore;
    bool WriteSource(cXmlWriter& writer, int depth, int maxLevels);
    void WriteOpening(cXmlWriter& writer, int depth);
    void WriteClosing(cXmlWriter& writer, int depth);
    void LogRefusal(const char* what);
    void DeleteChildren();
    void Room(int count);  // a child array for at least count children, on the heap

    // Name and body of a node read from text point into its store (the flags
    // say so): they are never changed in place nor freed as strings, only
    // forgotten (Forget) before the node gives them a value of its own.
    // WholeStore marks the node a store was read into while that store's
    // nodes are exactly its subtree.
    enum : unsigned char { BorrowedName = 1, BorrowedBody = 2, OwnedChildren = 4, InStore = 8, WholeStore = 16 };
    void Forget(unsigned char which);
    void Touch();  // before any change of this node: its store, if any, is no longer intact

    cStr          m_Name;
    cXml**        m_Children = nullptr;  // on the heap when OwnedChildren, else in the store (or none)
    int           m_Count = 0;
    int           m_Capacity = 0;
    cStr          m_Body;    // unescaped
    unsigned char m_ListFlag = 0;
    unsigned char m_Flags = 0;
};

}  // namespace zozud
