// cClassPointersGarbage: global ids for named objects, so that pointers
// between objects can be written as names and resolved later. Records are
// spread over 256 buckets by class name; a freed record goes to its
// bucket's free list and is reused with the same id. An id is the record's
// position in its bucket plus the bucket number << 24.
//
// A reference text is the name of the object (GetObjectNamePointer()); it
// resolves to the first live object of that name, in bucket order.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

namespace zozud {

class cClass;

class cClassPointersGarbage {
public:
    static constexpr int      BucketCount = 256;
    static constexpr unsigned NoID = 0xFFFFFFFFu;

    struct Record {
        unsigned       id = NoID;
        int            refCount = 0;
        cClass*        object = nullptr;   // null while the record waits for reuse
        cClass*        root = nullptr;     // object->GetRoot() when added
        cStr*          name = nullptr;     // the object's own name
        cList<cClass*> referrers;          // objects that resolved a reference to it
    };

    static cClassPointersGarbage& Get();  // made on first use, never destroyed
    static int BucketOf(const char* className);  // sum of code * (1-based position), mod 256

    unsigned AddClass(cClass* object);     // its id (also stored in the object); NoID without a name
    void     DeleteClass(cClass* object);  // its record waits for reuse
    bool     AddRef(unsigned id);
    bool     DelRef(unsigned id);
    unsigned AddRef(const char* name, cClass* referrer);  // resolves and counts a reference; NoID when unknown
    cClass*  GetCPointer(const char* text);               // the object a reference text names, or null
    cClass*  GetBranch(const char* name);                 // the root of the object of that name, or null
    const Record* Find(unsigned id) const;                // live record of an id, or null

private:
    Record* FindLive(unsigned id) const;
    Record* FindByName(const char* name) const;

    cList<Record*> m_Buckets[BucketCount];
    cList<Record*> m_Free[BucketCount];
};

}  // namespace zozud
