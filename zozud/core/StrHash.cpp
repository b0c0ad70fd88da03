// The sorted name table. Every Add re-sorts the whole list with a Shell sort
// (gaps count / 2, count / 4, ... 1); on a list that was sorted before, each
// pass only moves the new entry, so an Add costs about count * log(count).
#include "zozud/core/StrHash.h"

namespace zozud {

int cStrHash_NameIndex::Compare(const cStrHash_NameIndex* a, const cStrHash_NameIndex* b) {
    return cStr::Compare(a->name, b->name);
}

void cStrHash::Add(const char* name, int index) {
    if (!name) return;
    int n = Count();
    SetCount(n + 1);  // the new slot may still hold an old entry: overwrite both fields
    NameIndex& entry = (*this)[n];
    entry.name = name;
    entry.index = index;
    SortByName();
}

// Insertion passes over elements gap apart, moving an element down while the
// one gap below it is greater; equal names keep no particular order.
void cStrHash::SortByName() {
    NameIndex* e = GetPtr();
    int n = Count();
    for (int gap = n / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < n; i++) {
            if (NameIndex::Compare(&e[i - gap], &e[i]) <= 0) continue;  // already in place
            NameIndex taken(std::move(e[i]));
            int j = i;
            for (; j >= gap && NameIndex::Compare(&e[j - gap], &taken) > 0; j -= gap) e[j] = std::move(e[j - gap]);
            e[j] = std::move(taken);
        }
    }
}

// Bisection for the first entry whose name equals name.
int cStrHash::Find(const char* name) const {
    int lo = 0, hi = Count() - 1, found = -1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int d = cStr::Compare((*this)[mid].name, name);
        if (d < 0) {
            lo = mid + 1;
        } else {
            if (d == 0) found = mid;
            hi = mid - 1;
        }
    }
    return found < 0 ? -1 : (*this)[found].index;
}

}  // namespace zozud
