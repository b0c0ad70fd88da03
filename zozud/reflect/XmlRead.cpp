// The reader of the markup dialect: one pass over the text with an explicit
// stack of open elements, so nesting costs no recursion.
//
// Rules (the writer in Xml.cpp produces exactly what they accept):
//   - everything before the first "<" is skipped; "</" there is an error;
//   - a name is everything between "<" and the next ">", with each
//     "_xHHHH_" in it turned back into the character the writer escaped
//     (a code from 1 to 255 is that byte, a higher one its UTF-8 form);
//     a name without such escapes, as earlier builds wrote, reads as it is;
//   - text between tags counts only if it holds something other than blanks
//     (space, tab, CR, LF); it is trimmed of them and replaces an earlier run;
//   - a closing tag must start with the name of the open element as it
//     stands in the text (compared over that length); its ">" may follow
//     after anything else, so
//     "</Count >" and "</Count" + line feed + ">" close "<Count>";
//   - at the close "&lt" and "&gt" in the body become "<" and ">";
//   - the element ends at its closing ">"; text behind it is not read;
//   - a zero byte ends the text;
//   - elements nest at most cXml::MaxDepth levels, the root included.
// Every failure is -1 with a reason; the tree keeps what was read up to it.
#include <cstdarg>
#include <cstring>
#include <new>

#include "zozud/core/Log.h"
#include "zozud/reflect/Xml.h"
#include "zozud/reflect/XmlStore.h"

namespace zozud {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Replaces "&lt" by "<" and "&gt" by ">" in n characters in place; the new
// length. One pass does both: a replacement character can never start a new
// "&lt" or "&gt".
int Unescape(char* text, int n) {
    char* w = static_cast<char*>(memchr(text, '&', size_t(n)));
    if (!w) return n;
    const char* r = w;
    const char* end = text + n;
    while (r < end) {
        if (r[0] == '&' && end - r >= 3 && (r[1] == 'l' || r[1] == 'g') && r[2] == 't') {
            *w++ = r[1] == 'l' ? '<' : '>';
            r += 3;
        } else {
            *w++ = *r++;
        }
    }
    *w = 0;
    return int(w - text);
}

void Unescape(cStr& body) {
    if (char* text = body.GetBuffer()) body.SetLength(Unescape(text, body.Length()));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The code of an escape "_xHHHH_" at s (n characters left), or -1. Zero and
// UTF-16 surrogate halves are no characters a name can hold: they stay text.
int EscapedCode(const char* s, int n) {
    if (n < 7 || s[0] != '_' || s[1] != 'x' || s[6] != '_') return -1;
    int code = 0;
    for (int i = 2; i < 6; i++) {
        int digit = HexValue(s[i]);
        if (digit < 0) return -1;
        code = code * 16 + digit;
    }
    return code == 0 || (code >= 0xD800 && code <= 0xDFFF) ? -1 : code;
}

// Turns the escapes of a written name back into characters in place; the new
// length. Every escape is seven characters and gives at most three bytes.
int UnescapeName(char* name, int n) {
    char* w = static_cast<char*>(memchr(name, '_', size_t(n)));
    if (!w) return n;
    const char* r = w;
    const char* end = name + n;
    while (r < end) {
        int code = EscapedCode(r, int(end - r));
        if (code < 0) {
            *w++ = *r++;
            continue;
        }
        r += 7;
        if (code < 0x100) {
            *w++ = char(code);
        } else if (code < 0x800) {
            *w++ = char(0xC0 | code >> 6);
            *w++ = char(0x80 | (code & 0x3F));
        } else {
            *w++ = char(0xE0 | code >> 12);
            *w++ = char(0x80 | (code >> 6 & 0x3F));
            *w++ = char(0x80 | (code & 0x3F));
        }
    }
    *w = 0;
    return int(w - name);
}

// At most this many characters of a name are quoted in a reason.
const int QuotedNameLength = 64;

}  // namespace

// Elements below the root are made in a new store (see XmlStore.h); each
// child array is made once, at the close of its element, from a stack that
// gathers the children of every open element.
class cXmlReader {
public:
    cXmlReader(const char* text, int length, cStr* error) : m_Text(text), m_End(text + length), m_Error(error) {}

    // Reads one element into root; characters consumed or -1.
    int Parse(cXml* root) {
        const char* lt = Find(m_Text, '<');
        if (!lt) return Fail(m_End, "no element");
        if (lt + 1 >= m_End || lt[1] == '/') return Fail(lt, "no opening tag where the text starts");
        const char* gt = Find(lt + 1, '>');
        if (!gt) return Fail(lt, "an opening tag without \">\"");
        root->ClearAll();
        int n = int(gt - lt - 1);
        root->m_Name.Copy(lt + 1, 0, n);
        if (char* name = root->m_Name.GetBuffer()) root->m_Name.SetLength(UnescapeName(name, n));
        m_Root = root;
        m_Open.Add(Open{root, 0, nullptr, nullptr, lt + 1, n});
        int result = Elements(gt + 1);
        while (!m_Open.IsEmpty()) {  // a failure: what was read stays in the tree
            Finish(m_Open.GetLast(), false);
            m_Open.SetCount(m_Open.Count() - 1);
        }
        if (m_Store) {
            m_Store->AddNodes(m_Made);
            root->m_Flags |= cXml::WholeStore;
        }
        return result;
    }

private:
    struct Open {
        cXml*       node;
        int         firstChild;  // its children on m_Children start here
        const char* text;        // the last text run, trimmed (null: none yet)
        const char* textEnd;
        const char* name;        // the name as written, which the closing tag repeats
        int         nameLength;
    };

    const char* Find(const char* from, char c) const {
        return from < m_End ? static_cast<const char*>(memchr(from, c, size_t(m_End - from))) : nullptr;
    }

    int Elements(const char* pos) {
        for (;;) {
            const char* lt = Find(pos, '<');
            if (!lt) return Fail(m_End, "the text ends inside <%s>", Quoted(m_Open.GetLast().node).ToChar());
            TakeText(m_Open.GetLast(), pos, lt);
            if (lt + 1 < m_End && lt[1] == '/') {
                pos = Close(lt + 2);
                if (!pos) return -1;
                if (m_Open.IsEmpty()) return int(pos - m_Text);
            } else {
                pos = OpenChild(lt + 1);
                if (!pos) return -1;
            }
        }
    }

    // A child of the innermost open element; the position behind its ">".
    const char* OpenChild(const char* name) {
        if (m_Open.Count() >= cXml::MaxDepth) {
            Fail(name - 1, "elements nested deeper than %d levels", cXml::MaxDepth);
            cLog::Message("Xml refused: elements nested deeper than %d levels at character %d", cXml::MaxDepth,
                          int(name - 1 - m_Text));
            return nullptr;
        }
        const char* gt = Find(name, '>');
        if (!gt) {
            Fail(name - 1, "an opening tag without \">\"");
            return nullptr;
        }
        if (!m_Store) m_Store = cXmlStore::Create();
        cXml* child = m_Store->NewNode();
        m_Made++;
        int n = int(gt - name);
        char* text = m_Store->NewText(name, n);
        ::new (&child->m_Name) cStr(cStr::ConstantText{}, text, UnescapeName(text, n));  // over an empty one
        child->m_Flags |= cXml::BorrowedName;
        m_Children.Add(child);
        m_Open.Add(Open{child, m_Children.Count(), nullptr, nullptr, name, n});
        return gt + 1;
    }

    // Closes the innermost open element; the position behind its ">". The
    // name is compared over its own length, then the ">" is looked for.
    const char* Close(const char* name) {
        const Open& open = m_Open.GetLast();
        cXml* node = open.node;
        int n = open.nameLength;
        if (m_End - name < n || memcmp(name, open.name, size_t(n)) != 0) {
            Fail(name - 2, "the closing tag does not match <%s>", Quoted(node).ToChar());
            return nullptr;
        }
        const char* gt = Find(name + n, '>');
        if (!gt) {
            Fail(name - 2, "the closing tag of <%s> has no \">\"", Quoted(node).ToChar());
            return nullptr;
        }
        Finish(m_Open.GetLast(), true);
        m_Open.SetCount(m_Open.Count() - 1);
        return gt + 1;
    }

    // Gives an open element its children and its last text run, unescaped
    // when the element was closed.
    void Finish(const Open& open, bool closed) {
        cXml* node = open.node;
        int count = m_Children.Count() - open.firstChild;
        if (count > 0) {
            const cXml* const* children = &m_Children[open.firstChild];
            if (node == m_Root) {
                node->Room(count);
            } else {
                node->m_Children = static_cast<cXml**>(m_Store->Take(sizeof(cXml*) * size_t(count)));
                node->m_Capacity = count;
            }
            memcpy(node->m_Children, children, sizeof(cXml*) * size_t(count));
            node->m_Count = count;
            m_Children.SetCount(open.firstChild);
        }
        if (!open.text) return;
        int n = int(open.textEnd - open.text);
        if (node == m_Root) {
            node->m_Body.Copy(open.text, 0, n);
            if (closed) Unescape(node->m_Body);
            return;
        }
        char* body = m_Store->NewText(open.text, n);
        if (closed) n = Unescape(body, n);
        ::new (&node->m_Body) cStr(cStr::ConstantText{}, body, n);  // a new node: over an empty one
        node->m_Flags |= cXml::BorrowedBody;
    }

    static void TakeText(Open& open, const char* from, const char* to) {
        while (from < to && IsBlank(*from)) from++;
        if (from == to) return;
        while (IsBlank(to[-1])) to--;
        open.text = from;
        open.textEnd = to;
    }

    static cStr Quoted(cXml* node) {
        cStr name(node->m_Name, 0, QuotedNameLength);
        if (node->m_Name.Length() > QuotedNameLength) name.Append("...");
        return name;
    }

    // Records the first reason for a failure with its character position; -1.
    __attribute__((format(printf, 3, 4))) int Fail(const char* at, const char* fmt, ...) {
        if (m_Error) {
            va_list args;
            va_start(args, fmt);
            *m_Error = cStr::Formatv(fmt, args);
            va_end(args);
            m_Error->AppendFormat(" at character %d", int(at - m_Text));
        }
        return -1;
    }

    const char*  m_Text;
    const char*  m_End;
    cStr*        m_Error;
    cXml*        m_Root = nullptr;
    cXmlStore*   m_Store = nullptr;
    int          m_Made = 0;      // nodes made in the store
    cList<Open>  m_Open;          // open elements, the root first
    cList<cXml*> m_Children;      // children of the open elements, the innermost's last
};

int cXml::Load(const char* text) { return Load(text, text ? (int)strlen(text) : 0); }

int cXml::Load(const char* text, int length, cStr* error) {
    if (error) error->Clear();
    const char* zero = text && length > 0 ? static_cast<const char*>(memchr(text, 0, size_t(length))) : nullptr;
    if (zero) length = int(zero - text);  // a zero byte ends the text, as it ends every string of the tree
    if (!text || length <= 0) {
        if (m_Flags & BorrowedBody) {
            cStr own(m_Body);
            Forget(BorrowedBody);
            m_Body = static_cast<cStr&&>(own);
        }
        Unescape(m_Body);
        return 0;
    }
    cXmlReader reader(text, length, error);
    return reader.Parse(this);
}

}  // namespace zozud
