// Enumeration output: lists of (text, value, extra) entries that are
// rewritten in place, so that producing the same sequence again leaves the
// list, and whoever shows it, untouched.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

namespace zozud {

class cEnumeratorOutputStream {
public:
    struct Entry {
        cStr     text;
        unsigned value = 0;
        cStr     extra;
    };

    // Writes at the cursor (an equal entry stays, a different one is
    // replaced, past the end one is appended) and advances the cursor.
    void add(const char* text, unsigned value, const char* extra);
    void Rewind() { m_Cursor = 0; }
    void Truncate();  // drops the entries behind the cursor
    int  GetCursor() const { return m_Cursor; }
    int  Count() const { return m_Entries.Count(); }
    const Entry& operator[](int i) const { return m_Entries[i]; }

    // Order by text ignoring letter case; "NULL" equals everything.
    static int StringCompare(const Entry* a, const Entry* b);

private:
    cList<Entry> m_Entries;
    int          m_Cursor = 0;
};

// Two arrays, each either owned (freed by Free) or borrowed.
class cEnumeratorOutput {
public:
    cList<cStr>*     texts = nullptr;
    cList<unsigned>* values = nullptr;
    bool             ownsTexts = false;
    bool             ownsValues = false;

    void Init();  // forgets both arrays without freeing
    void Free();  // frees the owned arrays, then Init
};

// The current context of the class engine together with an integer.
class cEnumeratorContext {
public:
    explicit cEnumeratorContext(int value);
    void* context;
    int   value;
};

}  // namespace zozud
