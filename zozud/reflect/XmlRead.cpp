// The reader of the markup dialect: one pass over the text with an explicit
// stack of open elements, so nesting costs no recursion.
//
// Rules (the writer in Xml.cpp produces exactly what they accept):
//   - everything before the first "<" is skipped; "</" there is an error;
//   - a name is everything between "<" and the next ">";
//   - text between tags counts only if it holds something other than blanks
//     (space, tab, CR, LF); it is trimmed of them and replaces an earlier run;
//   - a closing tag must repeat the name of the open element exactly;
//   - at the close "&lt" and "&gt" in the body become "<" and ">";
//   - the element ends at its closing ">"; text behind it is not read;
//   - a zero byte ends the text.
// Every failure is -1; the tree keeps what was read up to it.
#include <cstring>

#include "zozud/reflect/Xml.h"

namespace zozud {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Replaces "&lt" by "<" and "&gt" by ">" in place. One pass does both: a
// replacement character can never start a new "&lt" or "&gt".
void Unescape(cStr& body) {
    char* text = body.GetBuffer();
    if (!text) return;
    char* w = strchr(text, '&');
    if (!w) return;
    const char* r = w;
    while (*r) {
        if (r[0] == '&' && (r[1] == 'l' || r[1] == 'g') && r[2] == 't') {
            *w++ = r[1] == 'l' ? '<' : '>';
            r += 3;
        } else {
            *w++ = *r++;
        }
    }
    body.SetLength(int(w - text));
}

}  // namespace

class cXmlReader {
public:
    cXmlReader(const char* text, int length) : m_Text(text), m_End(text + length) {}

    // Reads one element into root; characters consumed or -1.
    int Parse(cXml* root) {
        const char* lt = Find(m_Text, '<');
        if (!lt || lt + 1 >= m_End || lt[1] == '/') return -1;
        const char* gt = Find(lt + 1, '>');
        if (!gt) return -1;
        root->ClearAll();
        root->m_Name.Copy(lt + 1, 0, int(gt - lt - 1));
        m_Open.Add(root);
        return Elements(gt + 1);
    }

private:
    const char* Find(const char* from, char c) const {
        return from < m_End ? static_cast<const char*>(memchr(from, c, size_t(m_End - from))) : nullptr;
    }

    int Elements(const char* pos) {
        for (;;) {
            const char* lt = Find(pos, '<');
            if (!lt) return -1;
            TakeText(m_Open.GetLast(), pos, lt);
            if (lt + 1 < m_End && lt[1] == '/') {
                pos = Close(lt + 2);
                if (!pos) return -1;
                if (m_Open.IsEmpty()) return int(pos - m_Text);
            } else {
                pos = Open(lt + 1);
                if (!pos) return -1;
            }
        }
    }

    // A child of the innermost open element; the position behind its ">".
    const char* Open(const char* name) {
        if (m_Open.Count() >= cXml::MaxDepth) return nullptr;
        const char* gt = Find(name, '>');
        if (!gt) return nullptr;
        cXml* child = new cXml;
        child->m_Name.Copy(name, 0, int(gt - name));
        m_Open.GetLast()->m_Children.Add(child);
        m_Open.Add(child);
        return gt + 1;
    }

    // Closes the innermost open element; the position behind its ">".
    const char* Close(const char* name) {
        cXml* node = m_Open.GetLast();
        int n = node->m_Name.Length();
        if (m_End - name < n + 1 || memcmp(name, node->m_Name.ToChar(), size_t(n)) != 0 || name[n] != '>')
            return nullptr;
        Unescape(node->m_Body);
        m_Open.SetCount(m_Open.Count() - 1);
        return name + n + 1;
    }

    static void TakeText(cXml* node, const char* from, const char* to) {
        while (from < to && IsBlank(*from)) from++;
        if (from == to) return;
        while (IsBlank(to[-1])) to--;
        node->m_Body.Copy(from, 0, int(to - from));
    }

    const char*  m_Text;
    const char*  m_End;
    cList<cXml*> m_Open;  // open elements, the root first
};

int cXml::Load(const char* text) { return Load(text, text ? (int)strlen(text) : 0); }

int cXml::Load(const char* text, int length) {
    const char* zero = text && length > 0 ? static_cast<const char*>(memchr(text, 0, size_t(length))) : nullptr;
    if (zero) length = int(zero - text);  // a zero byte ends the text, as it ends every string of the tree
    if (!text || length <= 0) {
        Unescape(m_Body);
        return 0;
    }
    cXmlReader reader(text, length);
    return reader.Parse(this);
}

}  // namespace zozud
