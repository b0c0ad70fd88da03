// Scalar helpers of cMath: the linear congruential random generator, IEEE
// half floats, the CRC checksum, byte-order swaps and periodic wrapping.
#include "zozud/math/Math.h"

#include <cstring>

namespace zozud {

// ---- Random numbers ----

static uint32_t s_Seed = 0;

void cMath::Randomize(uint32_t seed) { s_Seed = seed; }

uint32_t cMath::GetSeed() { return s_Seed; }

// A float in [1, 2) from the low 23 bits of the next seed.
static float NextOneToTwo() {
    s_Seed = s_Seed * 1664525u + 1013904223u;
    uint32_t bits = 0x3F800000u | (s_Seed & 0x007FFFFFu);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

float cMath::Rand01() { return NextOneToTwo() - 1.0f; }

float cMath::RandRange1() { return 2.0f * NextOneToTwo() - 3.0f; }

// ---- Checksum ----

struct cChecksumTable {
    uint32_t entries[256];
    cChecksumTable() {
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t c = i;
            for (int k = 0; k < 8; k++) c = (c & 1) ? (c >> 1) ^ 0xDEBB20E3u : c >> 1;
            entries[i] = c;
        }
    }
};

int cMath::Checksum(const void* data, int length) {
    if (length < 1 || !data) return 0;
    static const cChecksumTable table;  // built once, thread-safe by the runtime
    const unsigned char* p = static_cast<const unsigned char*>(data);
    uint32_t c = 0xFFFFFFFFu;
    for (int i = 0; i < length; i++) c = (c >> 8) ^ table.entries[(c ^ p[i]) & 0xFF];
    return int(~c);
}

// ---- Byte order ----

static void SwapBytes(unsigned char* p, int size) {
    for (int i = 0, j = size - 1; i < j; i++, j--) {
        unsigned char t = p[i];
        p[i] = p[j];
        p[j] = t;
    }
}

static void SwapArray(void* data, int count, int size) {
    unsigned char* p = static_cast<unsigned char*>(data);
    for (int i = 0; i < count; i++, p += size) SwapBytes(p, size);
}

void cMath::EndianSwap2(void* data, int count) { SwapArray(data, count, 2); }
void cMath::EndianSwap4(void* data, int count) { SwapArray(data, count, 4); }
void cMath::EndianSwap8(void* data, int count) { SwapArray(data, count, 8); }

static int FormatLetterSize(char c) {
    switch (c) {
        case 'b': return 1;
        case 'w': return 2;
        case 'd': return 4;
        case 'q': return 8;
        default:  return 0;
    }
}

// One record: every letter with its repeat count, in order.
static unsigned char* SwapRecord(unsigned char* p, const char* format) {
    long repeat = 0;
    for (const char* f = format; *f; f++) {
        if (*f >= '0' && *f <= '9') {
            if (repeat < 0x7FFFFFFF) repeat = repeat * 10 + (*f - '0');
            continue;
        }
        int size = FormatLetterSize(*f);
        long n = repeat > 0 ? repeat : 1;
        repeat = 0;
        if (size == 0) continue;
        for (long i = 0; i < n; i++, p += size)
            if (size > 1) SwapBytes(p, size);
    }
    return p;
}

void* cMath::EndianSwap(void* data, const char* format, int count) {
    unsigned char* p = static_cast<unsigned char*>(data);
    if (!format) return data;
    for (int r = 0; r < count; r++) p = SwapRecord(p, format);
    return p;
}

// ---- Trigonometry ----

void cMath::SinCosDeg(float degrees, float* s, float* c) {
    float r = std::fmod(degrees, 360.0f);  // exact; keeps large angles accurate
    if (r < 0) r += 360.0f;
    if (r == 0.0f || r == 360.0f) { *s = 0; *c = 1; return; }
    if (r == 90.0f)  { *s = 1;  *c = 0;  return; }
    if (r == 180.0f) { *s = 0;  *c = -1; return; }
    if (r == 270.0f) { *s = -1; *c = 0;  return; }
    float rad = r * RadsPerDeg;
    *s = std::sin(rad);
    *c = std::cos(rad);
}

// ---- Periodic wrapping ----

float cMath::Periodic(float x, float lo, float hi, int* period) {
    float range = hi - lo;
    if (range == 0) {  // an empty range: nothing to wrap into
        if (period) *period = 0;
        return lo;
    }
    float r = x - std::floor((x - lo) / range) * range;
    if (period) {  // counts beyond int (or NaN) cannot be stored: clamp them
        float n = -std::round((r - x) / range);
        *period = n != n ? 0 : n >= 2147483647.0f ? IntMaxValue : n <= -2147483648.0f ? IntMinValue : int(n);
    }
    return r;
}

}  // namespace zozud
