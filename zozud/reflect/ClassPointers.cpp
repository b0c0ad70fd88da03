#include "zozud/reflect/ClassPointers.h"

#include "zozud/reflect/Class.h"

namespace zozud {

cClassPointersGarbage& cClassPointersGarbage::Get() {
    static cClassPointersGarbage* instance = new cClassPointersGarbage;
    return *instance;
}

int cClassPointersGarbage::BucketOf(const char* className) {
    unsigned sum = 0;
    if (className)
        for (unsigned i = 0; className[i]; i++) sum += unsigned((unsigned char)className[i]) * (i + 1);
    return int(sum % BucketCount);
}

unsigned cClassPointersGarbage::AddClass(cClass* object) {
    if (!object) return NoID;
    cStr* name = object->GetObjectNamePointer();
    if (!name) {
        object->SetObjectGlobalID(NoID);
        return NoID;
    }
    int bucket = BucketOf(object->GetClassName());
    Record* record;
    if (!m_Free[bucket].IsEmpty()) {
        record = m_Free[bucket].GetLast();
        m_Free[bucket].SetCount(m_Free[bucket].Count() - 1);
    } else {
        record = new Record;
        record->id = unsigned(m_Buckets[bucket].Count()) + (unsigned(bucket) << 24);
        m_Buckets[bucket].Add(record);
    }
    record->refCount = 0;
    record->object = object;
    record->root = object->GetRoot();
    record->name = name;
    record->referrers.Free();
    object->SetObjectGlobalID(record->id);
    return record->id;
}

void cClassPointersGarbage::DeleteClass(cClass* object) {
    if (!object) return;
    Record* record = FindLive(object->GetObjectGlobalID());
    if (!record || record->object != object) return;
    record->object = nullptr;
    record->root = nullptr;
    record->name = nullptr;
    record->refCount = 0;
    record->referrers.Free();
    m_Free[record->id >> 24].Add(record);
    object->SetObjectGlobalID(NoID);
}

cClassPointersGarbage::Record* cClassPointersGarbage::FindLive(unsigned id) const {
    if (id == NoID) return nullptr;
    unsigned bucket = id >> 24, index = id & 0xFFFFFFu;
    if (bucket >= unsigned(BucketCount) || index >= unsigned(m_Buckets[bucket].Count())) return nullptr;
    Record* record = m_Buckets[bucket][int(index)];
    return record->object ? record : nullptr;
}

const cClassPointersGarbage::Record* cClassPointersGarbage::Find(unsigned id) const { return FindLive(id); }

cClassPointersGarbage::Record* cClassPointersGarbage::FindByName(const char* name) const {
    if (!name) return nullptr;
    for (const cList<Record*>& bucket : m_Buckets)
        for (Record* record : bucket)
            if (record->object && record->name && *record->name == name) return record;
    return nullptr;
}

bool cClassPointersGarbage::AddRef(unsigned id) {
    Record* record = FindLive(id);
    if (record) record->refCount++;
    return record != nullptr;
}

bool cClassPointersGarbage::DelRef(unsigned id) {
    Record* record = FindLive(id);
    if (!record || record->refCount <= 0) return false;
    record->refCount--;
    return true;
}

unsigned cClassPointersGarbage::AddRef(const char* name, cClass* referrer) {
    Record* record = FindByName(name);
    if (!record) return NoID;
    record->refCount++;
    if (referrer && !record->referrers.Contains(referrer)) record->referrers.Add(referrer);
    return record->id;
}

cClass* cClassPointersGarbage::GetCPointer(const char* text) {
    Record* record = FindByName(text);
    return record ? record->object : nullptr;
}

cClass* cClassPointersGarbage::GetBranch(const char* name) {
    Record* record = FindByName(name);
    return record ? record->root : nullptr;
}

}  // namespace zozud
