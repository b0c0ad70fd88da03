#include "zozud/reflect/EnumeratorOutput.h"

#include "zozud/reflect/Class.h"

namespace zozud {

void cEnumeratorOutputStream::add(const char* text, unsigned value, const char* extra) {
    if (m_Cursor >= m_Entries.Count()) m_Entries.SetCount(m_Cursor + 1);
    Entry& e = m_Entries[m_Cursor++];
    if (e.value == value && e.text == text && e.extra == extra) return;
    e.text = text;
    e.value = value;
    e.extra = extra;
}

void cEnumeratorOutputStream::Truncate() {
    if (m_Cursor < m_Entries.Count()) m_Entries.SetCount(m_Cursor);
}

int cEnumeratorOutputStream::StringCompare(const Entry* a, const Entry* b) {
    if (a->text == "NULL" || b->text == "NULL") return 0;
    return cStr::CompareNoCase(a->text, b->text);
}

void cEnumeratorOutput::Init() {
    texts = nullptr;
    values = nullptr;
    ownsTexts = ownsValues = false;
}

void cEnumeratorOutput::Free() {
    if (ownsTexts) delete texts;
    if (ownsValues) delete values;
    Init();
}

cEnumeratorContext::cEnumeratorContext(int v) : context(cClass::CurrentContext), value(v) {}

}  // namespace zozud
