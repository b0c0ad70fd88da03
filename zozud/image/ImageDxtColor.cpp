// cImage::EncodeDXTColorBlock: the DXT colour block of a cell of up to 4x4
// pixels.
// 1. The principal channel is the one with the largest range (ties: R, G, B).
// 2. E0 and E1 take its maximum and minimum; each other channel is fitted to
//    it by least squares (c = (B p + A) / D with D = n Q - S^2) and evaluated
//    at those two values, truncated toward zero and clamped to 0..255.
// 3. The palette is E0, E1, (2 E0 + E1) / 3, (E0 + 2 E1) / 3 on the 8-bit
//    endpoints; each pixel takes the entry at the smallest squared RGB
//    distance, ties to the lower index.
// 4. The endpoints are packed 5-6-5 by truncation; equal packed colours set
//    bit 5 of colour0 and clear it in colour1 (four-colour mode either way);
//    if colour0 would pack below colour1 the two swap and the indices of the
//    present pixels flip 0<->1 and 2<->3.
// Full cells, the common case, take an SSE2 path for the statistics and the
// index search; it computes exactly the same integers as the plain loops.
//
// cImage::EncodeDXTColorBlockQuality aims at what a GPU shows: endpoints
// expand to 8 bits by bit replication and the middle entries are
// (2 c0 + c1) / 3 and (c0 + 2 c1) / 3, truncated. It starts from the same
// fit, rounds the endpoints to their nearest 5-6-5 colours, picks indices
// against that packed palette, then refits the endpoints by least squares to
// those indices and keeps the refit while the cell's squared error falls. A
// cell of one colour (or whose endpoints round to one colour) takes, per
// channel, the endpoint pair whose first third lies nearest the mean.
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "zozud/image/Image.h"

namespace zozud {

namespace {

// A cell's channels side by side: ch[c][i] is channel c of pixel i.
struct Cell {
    alignas(16) unsigned char ch[3][16];
};

// Per-cell statistics of the fit: ranges, then the sums against channel p.
struct Stats {
    int     lo[3], hi[3];
    int64_t sum[3];    // sum of each channel
    int64_t cross[3];  // sum of p * c for each channel c (p * p for c = p)
};

inline int Clamp255(int64_t v) { return v < 0 ? 0 : (v > 255 ? 255 : (int)v); }

inline uint32_t Pack565(const int* c) { return (uint32_t)((c[0] & 0xF8) << 8 | (c[1] & 0xFC) << 3 | c[2] >> 3); }

// The 2-bit index mask of the cell's present pixels, each index set to 1.
inline uint32_t PresentMask(int width, int height) {
    uint32_t row = (1u << (2 * width)) - 1;
    uint32_t mask = 0;
    for (int y = 0; y < height; y++) mask |= row << (8 * y);
    return mask & 0x55555555u;
}

// The four entries of a four-colour palette between endpoints a and b.
inline void FourColourPalette(const int* a, const int* b, int (*pal)[3]) {
    for (int c = 0; c < 3; c++) {
        pal[0][c] = a[c];
        pal[1][c] = b[c];
        pal[2][c] = (2 * a[c] + b[c]) / 3;
        pal[3][c] = (a[c] + 2 * b[c]) / 3;
    }
}

// The block of two packed colours: the larger one goes first (four-colour
// mode), the present pixels' indices flipping 0<->1 and 2<->3 when they swap.
inline uint64_t PackBlock(uint32_t c0, uint32_t c1, uint32_t indices, uint32_t present) {
    if (c0 < c1) {
        uint32_t t = c0;
        c0 = c1;
        c1 = t;
        indices ^= present;
    }
    return c0 | (uint64_t)c1 << 16 | (uint64_t)indices << 32;
}

// ---- Statistics over the n present pixels ----

void RangesPlain(const Cell& cell, int n, Stats* st) {
    for (int c = 0; c < 3; c++) {
        st->lo[c] = 255;
        st->hi[c] = 0;
        for (int i = 0; i < n; i++) {
            int v = cell.ch[c][i];
            st->lo[c] = v < st->lo[c] ? v : st->lo[c];
            st->hi[c] = v > st->hi[c] ? v : st->hi[c];
        }
    }
}

void SumsPlain(const Cell& cell, int n, int p, Stats* st) {
    for (int c = 0; c < 3; c++) {
        int64_t sum = 0, cross = 0;
        for (int i = 0; i < n; i++) {
            sum += cell.ch[c][i];
            cross += cell.ch[p][i] * cell.ch[c][i];
        }
        st->sum[c] = sum;
        st->cross[c] = cross;
    }
}

#if defined(__SSE2__)
inline int HorizontalMin(__m128i v) {
    v = _mm_min_epu8(v, _mm_srli_si128(v, 8));
    v = _mm_min_epu8(v, _mm_srli_si128(v, 4));
    v = _mm_min_epu8(v, _mm_srli_si128(v, 2));
    v = _mm_min_epu8(v, _mm_srli_si128(v, 1));
    return _mm_cvtsi128_si32(v) & 0xFF;
}

inline int HorizontalMax(__m128i v) {
    v = _mm_max_epu8(v, _mm_srli_si128(v, 8));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 4));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 2));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 1));
    return _mm_cvtsi128_si32(v) & 0xFF;
}

inline int HorizontalSum32(__m128i v) {
    v = _mm_add_epi32(v, _mm_srli_si128(v, 8));
    v = _mm_add_epi32(v, _mm_srli_si128(v, 4));
    return _mm_cvtsi128_si32(v);
}

void RangesFull(const Cell& cell, Stats* st) {
    for (int c = 0; c < 3; c++) {
        __m128i v = _mm_load_si128((const __m128i*)cell.ch[c]);
        st->lo[c] = HorizontalMin(v);
        st->hi[c] = HorizontalMax(v);
    }
}

void SumsFull(const Cell& cell, int p, Stats* st) {
    const __m128i zero = _mm_setzero_si128();
    __m128i pv = _mm_load_si128((const __m128i*)cell.ch[p]);
    __m128i plo = _mm_unpacklo_epi8(pv, zero), phi = _mm_unpackhi_epi8(pv, zero);
    for (int c = 0; c < 3; c++) {
        __m128i v = _mm_load_si128((const __m128i*)cell.ch[c]);
        __m128i sad = _mm_sad_epu8(v, zero);
        st->sum[c] = _mm_cvtsi128_si32(sad) + _mm_extract_epi16(sad, 4);
        __m128i prod = _mm_add_epi32(_mm_madd_epi16(plo, _mm_unpacklo_epi8(v, zero)),
                                     _mm_madd_epi16(phi, _mm_unpackhi_epi8(v, zero)));
        st->cross[c] = HorizontalSum32(prod);
    }
}

// Indices of all 16 pixels: each palette entry is measured against 16 pixels
// at once with exact 32-bit squared distances (pmaddwd of 16-bit differences).
// error, when given, receives the sum of the chosen squared distances.
uint32_t NearestIndices(const Cell& cell, const int (*pal)[3], int* error = nullptr) {
    const __m128i zero = _mm_setzero_si128();
    __m128i ch[3][2];
    for (int c = 0; c < 3; c++) {
        __m128i v = _mm_load_si128((const __m128i*)cell.ch[c]);
        ch[c][0] = _mm_unpacklo_epi8(v, zero);
        ch[c][1] = _mm_unpackhi_epi8(v, zero);
    }
    __m128i best[4], index[4];
    for (int k = 0; k < 4; k++) {
        __m128i kk = _mm_set1_epi32(k);
        for (int h = 0; h < 2; h++) {
            __m128i dr = _mm_sub_epi16(ch[0][h], _mm_set1_epi16((short)pal[k][0]));
            __m128i dg = _mm_sub_epi16(ch[1][h], _mm_set1_epi16((short)pal[k][1]));
            __m128i db = _mm_sub_epi16(ch[2][h], _mm_set1_epi16((short)pal[k][2]));
            __m128i rg[2] = {_mm_unpacklo_epi16(dr, dg), _mm_unpackhi_epi16(dr, dg)};
            __m128i bz[2] = {_mm_unpacklo_epi16(db, zero), _mm_unpackhi_epi16(db, zero)};
            for (int q = 0; q < 2; q++) {
                __m128i d = _mm_add_epi32(_mm_madd_epi16(rg[q], rg[q]), _mm_madd_epi16(bz[q], bz[q]));
                int g = 2 * h + q;
                if (k == 0) {
                    best[g] = d;
                    index[g] = zero;
                    continue;
                }
                __m128i closer = _mm_cmplt_epi32(d, best[g]);  // strictly closer: ties keep the lower index
                best[g] = _mm_or_si128(_mm_and_si128(closer, d), _mm_andnot_si128(closer, best[g]));
                index[g] = _mm_or_si128(_mm_and_si128(closer, kk), _mm_andnot_si128(closer, index[g]));
            }
        }
    }
    if (error)
        *error = HorizontalSum32(_mm_add_epi32(_mm_add_epi32(best[0], best[1]), _mm_add_epi32(best[2], best[3])));
    __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(index[0], index[1]), _mm_packs_epi32(index[2], index[3]));
    alignas(16) uint32_t words[4];
    _mm_store_si128((__m128i*)words, bytes);
    // Each word holds four indices as bytes; one multiply gathers them as
    // 2-bit fields in its top byte (the partial products below never carry).
    uint32_t out = 0;
    for (int w = 0; w < 4; w++) out |= ((words[w] * 0x01041040u) >> 24) << (8 * w);
    return out;
}
#else
void RangesFull(const Cell& cell, Stats* st) { RangesPlain(cell, 16, st); }
void SumsFull(const Cell& cell, int p, Stats* st) { SumsPlain(cell, 16, p, st); }

uint32_t NearestIndices(const Cell& cell, const int (*pal)[3], int* error = nullptr) {
    uint32_t out = 0;
    int total = 0;
    for (int i = 0; i < 16; i++) {
        uint32_t best = 0;
        int bestDist = 0x7FFFFFFF;
        for (int k = 0; k < 4; k++) {
            int dr = cell.ch[0][i] - pal[k][0], dg = cell.ch[1][i] - pal[k][1], db = cell.ch[2][i] - pal[k][2];
            int dist = dr * dr + dg * dg + db * db;
            if (dist < bestDist) {
                bestDist = dist;
                best = (uint32_t)k;
            }
        }
        out |= best << (2 * i);
        total += bestDist;
    }
    if (error) *error = total;
    return out;
}
#endif

// ---- The fit ----

// E0 and E1 from the statistics of n pixels; false for a cell of one colour.
bool FitEndpoints(const Cell& cell, int n, int* e0, int* e1) {
    Stats st;
    if (n == 16)
        RangesFull(cell, &st);
    else
        RangesPlain(cell, n, &st);
    int p = 0;
    for (int c = 1; c < 3; c++)
        if (st.hi[c] - st.lo[c] > st.hi[p] - st.lo[p]) p = c;
    e0[p] = st.hi[p];
    e1[p] = st.lo[p];
    if (st.hi[p] == st.lo[p]) {
        for (int c = 0; c < 3; c++) e0[c] = e1[c] = st.lo[c];
        return false;
    }
    if (n == 16)
        SumsFull(cell, p, &st);
    else
        SumsPlain(cell, n, p, &st);
    int64_t s = st.sum[p], q = st.cross[p], d = n * q - s * s;
    for (int c = 0; c < 3; c++) {
        if (c == p) continue;
        if (st.lo[c] == st.hi[c]) {
            e0[c] = e1[c] = st.lo[c];
            continue;
        }
        int64_t slope = n * st.cross[c] - s * st.sum[c], offset = q * st.sum[c] - s * st.cross[c];
        e0[c] = Clamp255((st.hi[p] * slope + offset) / d);
        e1[c] = Clamp255((st.lo[p] * slope + offset) / d);
    }
    return true;
}

// Gathers the present pixels (first n entries) of a cell.
int Gather(int width, int height, int pixelStride, int rowStride, const unsigned char* pixels, Cell* cell) {
    int n = 0;
    for (int y = 0; y < height; y++) {
        const unsigned char* row = pixels + y * rowStride;
        for (int x = 0; x < width; x++, n++, row += pixelStride) {
            cell->ch[0][n] = row[0];
            cell->ch[1][n] = row[1];
            cell->ch[2][n] = row[2];
        }
    }
    return n;
}

// The 16 places of a partial cell: present pixels at 4y + x, the rest copies
// of the first pixel (their indices are masked off afterwards).
void Spread(const Cell& packed, int width, int height, Cell* slots) {
    for (int c = 0; c < 3; c++) {
        memset(slots->ch[c], packed.ch[c][0], 16);
        for (int y = 0, i = 0; y < height; y++)
            for (int x = 0; x < width; x++, i++) slots->ch[c][4 * y + x] = packed.ch[c][i];
    }
}

}  // namespace

uint64_t cImage::EncodeDXTColorBlock(int width, int height, int pixelStride, int rowStride,
                                     const unsigned char* pixels) {
    width = width > 4 ? 4 : width;
    height = height > 4 ? 4 : height;
    if (!pixels || width < 1 || height < 1) return 0;
    Cell cell;
    int n = Gather(width, height, pixelStride, rowStride, pixels, &cell);
    int e0[3], e1[3];
    if (!FitEndpoints(cell, n, e0, e1)) {
        // One colour: every pixel is at distance 0 from entry 0.
        uint32_t c = Pack565(e0);
        return (c | 0x20) | (uint64_t)(c & ~0x20u) << 16;
    }
    int pal[4][3];
    FourColourPalette(e0, e1, pal);
    uint32_t present = PresentMask(width, height), indices;
    if (n == 16) {
        indices = NearestIndices(cell, pal);
    } else {
        Cell slots;
        Spread(cell, width, height, &slots);
        indices = NearestIndices(slots, pal) & present * 3;
    }
    uint32_t c0 = Pack565(e0), c1 = Pack565(e1);
    if (c0 == c1) {
        c0 |= 0x20;  // now the larger: no swap
        c1 &= ~0x20u;
    }
    return PackBlock(c0, c1, indices, present);
}

// ---- Quality mode ----

namespace {

// 5- and 6-bit values as a GPU expands them (bit replication).
inline int Expand5(int q) { return q << 3 | q >> 2; }
inline int Expand6(int q) { return q << 2 | q >> 4; }

// Tables built once: the nearest 5- and 6-bit code of each 8-bit value, and
// for each value the endpoint pair (a, b) whose entry (2a + b) / 3 comes
// nearest; among equally near pairs the one with the closest endpoints, so
// that decoders which round the thirds differently land near the same value.
struct QualityTables {
    unsigned char nearest[2][256];
    unsigned char single[2][256][2];

    QualityTables() {
        for (int six = 0; six < 2; six++) {
            int codes = six ? 64 : 32;
            auto expand = [six](int q) { return six ? Expand6(q) : Expand5(q); };
            for (int v = 0; v < 256; v++) {
                int bestCode = 0, bestA = 0, bestB = 0, bestErr = 1 << 30, bestSpread = 1 << 30;
                for (int q = 1; q < codes; q++)
                    if (abs(expand(q) - v) < abs(expand(bestCode) - v)) bestCode = q;
                for (int a = 0; a < codes; a++)
                    for (int b = 0; b < codes; b++) {
                        int ea = expand(a), eb = expand(b);
                        int err = abs((2 * ea + eb) / 3 - v), spread = abs(ea - eb);
                        if (err < bestErr || (err == bestErr && spread < bestSpread)) {
                            bestErr = err, bestSpread = spread, bestA = a, bestB = b;
                        }
                    }
                nearest[six][v] = (unsigned char)bestCode;
                single[six][v][0] = (unsigned char)bestA;
                single[six][v][1] = (unsigned char)bestB;
            }
        }
    }
};

const QualityTables& Tables() {
    static const QualityTables tables;
    return tables;
}

inline uint32_t PackCodes(const int* q) { return (uint32_t)(q[0] << 11 | q[1] << 5 | q[2]); }

// The 5-6-5 codes nearest an 8-bit colour.
inline void NearestCodes(const QualityTables& t, const int* rgb, int* q) {
    q[0] = t.nearest[0][rgb[0]];
    q[1] = t.nearest[1][rgb[1]];
    q[2] = t.nearest[0][rgb[2]];
}

// Indices and squared error of the 16 slots against the palette of two codes.
uint32_t Evaluate(const Cell& slots, const int* q0, const int* q1, int* error) {
    int a[3], b[3], pal[4][3];
    for (int c = 0; c < 3; c++) {
        a[c] = c == 1 ? Expand6(q0[c]) : Expand5(q0[c]);
        b[c] = c == 1 ? Expand6(q1[c]) : Expand5(q1[c]);
    }
    FourColourPalette(a, b, pal);
    return NearestIndices(slots, pal, error);
}

// The least-squares endpoints for fixed indices, rounded to codes; false when
// every slot uses the same weight (the system is singular).
bool Refit(const QualityTables& t, const Cell& slots, uint32_t indices, int* q0, int* q1) {
    static const int weight[4] = {3, 0, 2, 1};  // thirds of colour0 in each entry
    int aa = 0, ab = 0, bb = 0, ax[3] = {0, 0, 0}, bx[3] = {0, 0, 0};
    for (int i = 0; i < 16; i++) {
        int a = weight[(indices >> (2 * i)) & 3], b = 3 - a;
        aa += a * a, ab += a * b, bb += b * b;
        for (int c = 0; c < 3; c++) {
            ax[c] += a * slots.ch[c][i];
            bx[c] += b * slots.ch[c][i];
        }
    }
    int det = aa * bb - ab * ab;
    if (det == 0) return false;
    float scale = 3.0f / (float)det;
    int e0[3], e1[3];
    for (int c = 0; c < 3; c++) {
        float v0 = (float)(bb * ax[c] - ab * bx[c]) * scale, v1 = (float)(aa * bx[c] - ab * ax[c]) * scale;
        e0[c] = v0 <= 0 ? 0 : (v0 >= 255 ? 255 : (int)(v0 + 0.5f));
        e1[c] = v1 <= 0 ? 0 : (v1 >= 255 ? 255 : (int)(v1 + 0.5f));
    }
    NearestCodes(t, e0, q0);
    NearestCodes(t, e1, q1);
    return true;
}

// The block of one colour: every present pixel takes entry 2 (or 3 after the swap).
uint64_t SingleColourBlock(const QualityTables& t, const int* rgb, uint32_t present) {
    int a[3], b[3];
    for (int c = 0; c < 3; c++) {
        a[c] = t.single[c == 1][rgb[c]][0];
        b[c] = t.single[c == 1][rgb[c]][1];
    }
    // Equal codes decode entry 2 as their average in three-colour mode: the same colour.
    return PackBlock(PackCodes(a), PackCodes(b), present * 2, present);
}

}  // namespace

uint64_t cImage::EncodeDXTColorBlockQuality(int width, int height, int pixelStride, int rowStride,
                                            const unsigned char* pixels) {
    width = width > 4 ? 4 : width;
    height = height > 4 ? 4 : height;
    if (!pixels || width < 1 || height < 1) return 0;
    const QualityTables& t = Tables();
    Cell cell, spread;
    int n = Gather(width, height, pixelStride, rowStride, pixels, &cell);
    uint32_t present = PresentMask(width, height);
    int e0[3], e1[3];
    if (!FitEndpoints(cell, n, e0, e1)) return SingleColourBlock(t, e0, present);
    const Cell* slots = &cell;
    if (n < 16) {
        Spread(cell, width, height, &spread);
        slots = &spread;
    }
    int q0[3], q1[3], error;
    NearestCodes(t, e0, q0);
    NearestCodes(t, e1, q1);
    uint32_t indices = Evaluate(*slots, q0, q1, &error);
    for (int pass = 0; pass < 2 && error > 0; pass++) {
        int r0[3], r1[3], refitError;
        if (!Refit(t, *slots, indices, r0, r1)) break;
        if (!memcmp(r0, q0, sizeof r0) && !memcmp(r1, q1, sizeof r1)) break;
        uint32_t refitIndices = Evaluate(*slots, r0, r1, &refitError);
        if (refitError >= error) break;
        memcpy(q0, r0, sizeof q0);
        memcpy(q1, r1, sizeof q1);
        indices = refitIndices;
        error = refitError;
    }
    uint32_t c0 = PackCodes(q0), c1 = PackCodes(q1);
    if (c0 == c1) {
        // The endpoints met: one colour, the cell's mean, matched as closely as a block can.
        int mean[3];
        for (int c = 0; c < 3; c++) {
            int sum = 0;
            for (int i = 0; i < n; i++) sum += cell.ch[c][i];
            mean[c] = (sum + n / 2) / n;
        }
        return SingleColourBlock(t, mean, present);
    }
    return PackBlock(c0, c1, indices & present * 3, present);
}

}  // namespace zozud
