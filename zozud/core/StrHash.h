// cStrHash: a name-to-integer table kept sorted by name (duplicates kept),
// so that its users can find a name by bisection.
#pragma once

#include "zozud/core/Str.h"

namespace zozud {

// The element of cStrHash (declared before it so that the list can hold it).
struct cStrHash_NameIndex {
    cStr name;
    int  index = 0;
    static int Compare(const cStrHash_NameIndex* a, const cStrHash_NameIndex* b);
};

class cStrHash : public cList<cStrHash_NameIndex> {
public:
    typedef cStrHash_NameIndex NameIndex;

    void Add(const char* name, int index);  // null does nothing; re-sorts the whole list
    int  Find(const char* name) const;      // index stored with the first equal name, -1 when absent

private:
    void SortByName();
};

}  // namespace zozud
