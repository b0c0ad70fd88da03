// cHash: a chained index from integer keys to positions in some other array.
// Allocates nothing until Allocate: before that both arrays point at the
// shared INVALID_INDEX and every lookup finds -1.
#pragma once

namespace zozud {

class cHash {
public:
    static int INVALID_INDEX;  // -1; what an unallocated index points at

    cHash() : buckets(&INVALID_INDEX), chain(&INVALID_INDEX) { Init(1024, 1024); }
    cHash(int bucketCount, int chainSize) : buckets(&INVALID_INDEX), chain(&INVALID_INDEX) { Init(bucketCount, chainSize); }
    ~cHash() { Free(); }
    cHash(const cHash&) = delete;
    cHash& operator=(const cHash&) = delete;

    void Init(int bucketCount, int chainSize);      // records sizes (bucketCount a power of two); frees, never allocates
    void Allocate(int bucketCount, int chainSize);  // both arrays filled with -1
    void Free();
    void ResizeIndex(int newSize);                  // grows the chain in steps of chainGrowth

    void Add(int key, int index);                   // index (>= 0) joins the key's bucket; allocates on first use
    void Remove(int key, int index);                // index leaves the key's bucket
    int  First(int key) const { return buckets[key & bucketMask & probeMask]; }
    int  Next(int index) const { return chain[index & probeMask]; }  // index from First or Next

    int GenerateKey(const char* s, bool caseInsensitive) const;
    int GenerateKey(float x, float y, float z) const;  // the sum of the parts truncated toward zero
    // Any point with x, y and z (cVec3 of the math layer, which core does not know).
    template <class Point>
    int GenerateKey(const Point& p) const { return GenerateKey(p.x, p.y, p.z); }
    int CalcSpread() const;                         // 100 = evenly spread

    int BucketCount() const { return bucketCount; }
    bool IsAllocated() const { return probeMask != 0; }

private:
    int* buckets;
    int* chain;
    int  bucketCount;
    int  chainSize;
    int  chainGrowth;
    int  bucketMask;
    int  probeMask;
};

}  // namespace zozud
