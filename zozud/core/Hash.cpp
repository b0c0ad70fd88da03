// The chained index. Keys are masked into buckets; each bucket heads a chain
// threaded through one int per position, so the index itself never stores keys.
#include "zozud/core/Hash.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstring>

namespace zozud {

int cHash::INVALID_INDEX = -1;

namespace {

[[maybe_unused]] bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Truncates toward zero like (int) where the value fits; saturates beyond
// and reads NaN as 0, where the plain cast would be undefined.
int TruncateToInt(float f) {
    if (std::isnan(f)) return 0;
    if (f >= 2147483648.0f) return INT_MAX;
    if (f <= -2147483648.0f) return INT_MIN;
    return (int)f;
}

}  // namespace

void cHash::Init(int newBucketCount, int newChainSize) {
    assert(IsPowerOfTwo(newBucketCount));
    Free();
    bucketCount = newBucketCount;
    chainSize = newChainSize;
    chainGrowth = 1024;
    bucketMask = newBucketCount - 1;
    probeMask = 0;
}

void cHash::Allocate(int newBucketCount, int newChainSize) {
    assert(IsPowerOfTwo(newBucketCount) && newChainSize >= 0);
    Free();
    bucketCount = newBucketCount;
    chainSize = newChainSize;
    buckets = new int[bucketCount];
    chain = new int[chainSize];
    memset(buckets, 0xFF, sizeof(int) * bucketCount);
    memset(chain, 0xFF, sizeof(int) * chainSize);
    bucketMask = bucketCount - 1;
    probeMask = -1;
}

void cHash::Free() {
    if (buckets != &INVALID_INDEX) delete[] buckets;
    if (chain != &INVALID_INDEX) delete[] chain;
    buckets = chain = &INVALID_INDEX;
    probeMask = 0;
}

void cHash::ResizeIndex(int newSize) {
    if (newSize <= chainSize) return;
    newSize = (newSize + chainGrowth - 1) / chainGrowth * chainGrowth;
    if (chain != &INVALID_INDEX) {
        int* grown = new int[newSize];
        memcpy(grown, chain, sizeof(int) * chainSize);
        memset(grown + chainSize, 0xFF, sizeof(int) * (newSize - chainSize));
        delete[] chain;
        chain = grown;
    }
    chainSize = newSize;
}

void cHash::Add(int key, int index) {
    assert(index >= 0);
    if (!IsAllocated()) Allocate(bucketCount, chainSize);
    if (index >= chainSize) ResizeIndex(index + 1);
    int h = key & bucketMask;
    chain[index] = buckets[h];
    buckets[h] = index;
}

void cHash::Remove(int key, int index) {
    if (!IsAllocated() || index < 0 || index >= chainSize) return;
    // Unlinks index from the key's chain only: a wrong key leaves other chains alone.
    int* link = &buckets[key & bucketMask];
    for (int steps = 0; *link != -1 && steps < chainSize; link = &chain[*link], steps++) {
        if (*link == index) {
            *link = chain[index];
            chain[index] = -1;
            return;
        }
    }
}

// Summed in unsigned arithmetic: a long text wraps instead of overflowing.
int cHash::GenerateKey(const char* s, bool caseInsensitive) const {
    unsigned key = 0;
    for (int i = 0; s && s[i]; i++) {
        int c = (signed char)s[i];
        if (caseInsensitive && c >= 'A' && c <= 'Z') c += 'a' - 'A';
        key += unsigned(c) * unsigned(119 + i);
    }
    return int(key) & bucketMask;
}

int cHash::GenerateKey(float x, float y, float z) const {
    unsigned sum = unsigned(TruncateToInt(x)) + unsigned(TruncateToInt(y)) + unsigned(TruncateToInt(z));
    return int(sum) & bucketMask;
}

// A chain is followed for at most chainSize steps, so a position added twice
// (a loop in the chain) cannot hang the count.
int cHash::CalcSpread() const {
    if (!IsAllocated()) return 100;
    int total = 0;
    int* lengths = new int[bucketCount];
    for (int b = 0; b < bucketCount; b++) {
        lengths[b] = 0;
        for (int i = buckets[b]; i != -1 && lengths[b] < chainSize; i = chain[i]) lengths[b]++;
        total += lengths[b];
    }
    int result = 100;
    if (total > 1) {
        int average = total / bucketCount, error = 0;
        for (int b = 0; b < bucketCount; b++) {
            int d = lengths[b] > average ? lengths[b] - average : average - lengths[b];
            if (d >= 2) error += d - 1;
        }
        result = 100 - int((long long)error * 100 / total);
    }
    delete[] lengths;
    return result;
}

}  // namespace zozud
