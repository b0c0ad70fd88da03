// cMath: constants, the random generator, half floats, the checksum, byte
// swapping and periodic wrapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "zozud/math/Math.h"

using zozud::cMath;

static uint32_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

static float FromBits(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

TEST(MathConstants, ValuesAsStored) {
    EXPECT_EQ(cMath::Pi, 3.14159274f);
    EXPECT_EQ(cMath::TwoPi, 2 * cMath::Pi);
    EXPECT_EQ(cMath::HalfPi, cMath::Pi / 2);
    EXPECT_EQ(cMath::QuarterPi, cMath::Pi / 4);
    EXPECT_FLOAT_EQ(cMath::DegsPerRad * cMath::RadsPerDeg, 1.0f);
    EXPECT_FLOAT_EQ(cMath::Sqrt1Over2 * cMath::Sqrt1Over2, 0.5f);
    EXPECT_FLOAT_EQ(cMath::Sqrt1Over3 * cMath::Sqrt1Over3, 1.0f / 3.0f);
    EXPECT_EQ(cMath::EpsilonSq, 1.0000001e-6f);
    EXPECT_EQ(Bits(cMath::FloatMaxValue), 0x7F7FFFFFu);
    EXPECT_EQ(Bits(cMath::FloatMinValue), 0x00800000u);  // smallest normal, not the most negative
    EXPECT_EQ(cMath::IntMinValue, -2147483647 - 1);
    EXPECT_EQ(cMath::DoubleMinValue, 2.2250738585072014e-308);
}

TEST(MathRandom, SequenceFromSeed) {
    cMath::Randomize(0);
    // The first seed is 1013904223 = 0x3C6EF35F; its low 23 bits form the mantissa.
    float expected = FromBits(0x3F800000u | (1013904223u & 0x7FFFFFu)) - 1.0f;
    EXPECT_EQ(cMath::Rand01(), expected);
    EXPECT_EQ(cMath::GetSeed(), 1013904223u);
    uint32_t next = 1013904223u * 1664525u + 1013904223u;
    EXPECT_EQ(cMath::RandRange1(), 2.0f * FromBits(0x3F800000u | (next & 0x7FFFFFu)) - 3.0f);

    // Ranges, and the same sequence again after the same seed.
    cMath::Randomize(12345);
    std::vector<float> first;
    for (int i = 0; i < 10000; i++) {
        float f = cMath::Rand01(), g = cMath::RandRange1();
        ASSERT_GE(f, 0.0f);
        ASSERT_LT(f, 1.0f);
        ASSERT_GE(g, -1.0f);
        ASSERT_LT(g, 1.0f);
        first.push_back(f);
    }
    cMath::Randomize(12345);
    for (int i = 0; i < 10000; i++) {
        ASSERT_EQ(cMath::Rand01(), first[i]);
        cMath::RandRange1();
    }
}

// ---- Half floats ----

// Independent decoder: the value of a half from its fields with ldexp.
static double HalfValue(uint16_t h) {
    int e = (h >> 10) & 31, m = h & 1023;
    double v = e == 0 ? std::ldexp(m, -24) : std::ldexp(1024 + m, e - 25);
    return (h & 0x8000) ? -v : v;
}

TEST(MathHalf, KnownValues) {
    EXPECT_EQ(cMath::Float2Half(0.0f), 0x0000);
    EXPECT_EQ(cMath::Float2Half(-0.0f), 0x8000);
    EXPECT_EQ(cMath::Float2Half(1.0f), 0x3C00);
    EXPECT_EQ(cMath::Float2Half(-2.0f), 0xC000);
    EXPECT_EQ(cMath::Float2Half(0.1f), 0x2E66);
    EXPECT_EQ(cMath::Float2Half(65504.0f), 0x7BFF);             // largest half
    EXPECT_EQ(cMath::Float2Half(65519.0f), 0x7BFF);
    EXPECT_EQ(cMath::Float2Half(65520.0f), 0x7C00);             // rounds past the largest: infinity
    EXPECT_EQ(cMath::Float2Half(-1e10f), 0xFC00);
    EXPECT_EQ(cMath::Float2Half(INFINITY), 0x7C00);
    EXPECT_EQ(cMath::Float2Half(std::ldexp(1.0f, -14)), 0x0400);  // smallest normal
    EXPECT_EQ(cMath::Float2Half(std::ldexp(1.0f, -24)), 0x0001);  // smallest subnormal
    EXPECT_EQ(cMath::Float2Half(std::ldexp(1.0f, -25)), 0x0001);  // half of it rounds up
    EXPECT_EQ(cMath::Float2Half(std::ldexp(1.0f, -26)), 0x0000);
    EXPECT_EQ(cMath::Float2Half(-std::ldexp(1.0f, -30)), 0x8000);  // sign kept below the range
    EXPECT_EQ(cMath::Float2Half(std::ldexp(1023.5f, -24)), 0x0400);  // subnormal rounding up into normal
    EXPECT_EQ(cMath::Half2Float(0x0001), std::ldexp(1.0f, -24));
    EXPECT_EQ(cMath::Half2Float(0x03FF), std::ldexp(1023.0f, -24));
    EXPECT_EQ(cMath::Half2Float(0x7BFF), 65504.0f);
    EXPECT_EQ(cMath::Half2Float(0xFC00), -INFINITY);
    EXPECT_TRUE(std::signbit(cMath::Half2Float(0x8000)));
    // NaNs stay NaN, also one whose payload lies only in the dropped bits.
    EXPECT_EQ(cMath::Float2Half(FromBits(0x7FC00000u)), 0x7E00);
    uint16_t low = cMath::Float2Half(FromBits(0x7F800001u));
    EXPECT_EQ(low & 0x7C00, 0x7C00);
    EXPECT_NE(low & 0x03FF, 0);
    EXPECT_TRUE(std::isnan(cMath::Half2Float(0x7E00)));
}

TEST(MathHalf, EveryHalfDecodesAndRoundTrips) {
    for (uint32_t h = 0; h < 65536; h++) {
        float f = cMath::Half2Float(uint16_t(h));
        bool nan = ((h >> 10) & 31) == 31 && (h & 1023);
        if (nan) {
            ASSERT_TRUE(std::isnan(f)) << h;
        } else if (((h >> 10) & 31) == 31) {
            ASSERT_TRUE(std::isinf(f)) << h;
        } else {
            ASSERT_EQ(double(f), HalfValue(uint16_t(h))) << h;
        }
        ASSERT_EQ(cMath::Float2Half(f), h) << h;
    }
}

// Against a reference that searches the table of all finite halves for the
// nearest, with ties going to the larger magnitude.
TEST(MathHalf, RoundsToNearestHalfTiesUp) {
    std::vector<double> table;  // the non-negative finite halves, ascending
    for (int h = 0; h < 0x7C00; h++) table.push_back(HalfValue(uint16_t(h)));
    cMath::Randomize(7);
    for (int i = 0; i < 200000; i++) {
        // Random exponents over the half range and beyond, random mantissas.
        float f = std::ldexp(1.0f + cMath::Rand01(), int(cMath::Rand01() * 44) - 28);
        if (i % 3 == 0) f = -f;
        if (i % 5 == 0) {  // exact midpoints between neighbouring halves
            int k = int(cMath::Rand01() * (0x7BFF));
            f = float((table[k] + table[k + 1]) / 2);
        }
        double a = std::fabs(double(f));
        uint16_t expect;
        if (a >= 65520.0) {
            expect = 0x7C00;
        } else {
            size_t hi = std::lower_bound(table.begin(), table.end(), a) - table.begin();
            if (hi == table.size()) hi--;
            size_t lo = hi > 0 && table[hi] != a ? hi - 1 : hi;
            expect = uint16_t(a - table[lo] < table[hi] - a ? lo : hi);
        }
        if (std::signbit(f)) expect |= 0x8000;
        ASSERT_EQ(cMath::Float2Half(f), expect) << f;
    }
}

// ---- Checksum ----

TEST(MathChecksum, KnownValues) {
    // Expected values from a bitwise CRC over the polynomial 0xDEBB20E3; the same
    // routine over 0xEDB88320 reproduces zlib's crc32.
    EXPECT_EQ(cMath::Checksum("abc", 0), 0);
    EXPECT_EQ(cMath::Checksum("abc", -5), 0);
    EXPECT_EQ(uint32_t(cMath::Checksum("abc", 3)), 0x833FC369u);
    EXPECT_NE(uint32_t(cMath::Checksum("abc", 3)), 0x352441C2u);  // the usual CRC-32 of "abc"
    EXPECT_EQ(uint32_t(cMath::Checksum("123456789", 9)), 0x960DE1BCu);
    unsigned char zero = 0;
    EXPECT_EQ(uint32_t(cMath::Checksum(&zero, 1)), 0xF356C44Fu);
    unsigned char all[256];
    for (int i = 0; i < 256; i++) all[i] = (unsigned char)i;
    EXPECT_EQ(uint32_t(cMath::Checksum(all, 256)), 0x0F6B3046u);
    const char* fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(uint32_t(cMath::Checksum(fox, (int)strlen(fox))), 0x48DDF1F1u);
}

// ---- Byte order ----

TEST(MathEndian, FixedWidths) {
    unsigned char b[16];
    for (int i = 0; i < 16; i++) b[i] = (unsigned char)i;
    cMath::EndianSwap2(b, 2);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 3);
    EXPECT_EQ(b[4], 4);  // past the count: untouched
    cMath::EndianSwap2(b, 0);
    cMath::EndianSwap4(b + 4, -1);
    EXPECT_EQ(b[4], 4);
    cMath::EndianSwap4(b + 4, 1);
    EXPECT_EQ(b[4], 7);
    EXPECT_EQ(b[7], 4);
    cMath::EndianSwap8(b + 8, 1);
    for (int i = 0; i < 8; i++) EXPECT_EQ(b[8 + i], 15 - i);

    uint32_t v = 0x11223344u;
    cMath::EndianSwap4(&v, 1);
    EXPECT_EQ(v, 0x44332211u);
    uint64_t q = 0x0102030405060708ull;
    cMath::EndianSwap8(&q, 1);
    EXPECT_EQ(q, 0x0807060504030201ull);
}

TEST(MathEndian, FormatStrings) {
    // One record "b w d q" (15 bytes), twice.
    unsigned char rec[30];
    for (int i = 0; i < 30; i++) rec[i] = (unsigned char)i;
    void* end = cMath::EndianSwap(rec, "bwdq", 2);
    EXPECT_EQ(end, rec + 30);
    const unsigned char want[15] = {0, 2, 1, 6, 5, 4, 3, 14, 13, 12, 11, 10, 9, 8, 7};
    for (int i = 0; i < 15; i++) {
        EXPECT_EQ(rec[i], want[i]) << i;
        EXPECT_EQ(rec[15 + i], want[i] + 15) << i;
    }

    // Repeat counts, multi-digit counts, and letters that are skipped.
    unsigned char r[24];
    for (int i = 0; i < 24; i++) r[i] = (unsigned char)i;
    end = cMath::EndianSwap(r, "3d x2w 2b 1d", 1);  // 12 + 4 + 2 + 4 bytes
    EXPECT_EQ(end, r + 22);
    const unsigned char w[22] = {3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 13, 12, 15, 14, 16, 17, 21, 20, 19, 18};
    for (int i = 0; i < 22; i++) EXPECT_EQ(r[i], w[i]) << i;
    EXPECT_EQ(r[22], 22);

    unsigned char big[48];
    for (int i = 0; i < 48; i++) big[i] = (unsigned char)i;
    EXPECT_EQ(cMath::EndianSwap(big, "12d", 1), big + 48);
    EXPECT_EQ(big[0], 3);
    EXPECT_EQ(big[47], 44);

    // A null format leaves everything as it is; a zero count processes nothing.
    unsigned char keep[4] = {1, 2, 3, 4};
    EXPECT_EQ(cMath::EndianSwap(keep, nullptr, 3), keep);
    EXPECT_EQ(cMath::EndianSwap(keep, "d", 0), keep);
    EXPECT_EQ(cMath::EndianSwap(keep, "", 5), keep);
    EXPECT_EQ(keep[0], 1);
    EXPECT_EQ(keep[3], 4);
}

// ---- Scalars ----

TEST(MathPeriodic, WrapsAndCountsPeriods) {
    int p = 99;
    EXPECT_FLOAT_EQ(cMath::Periodic(370, 0, 360, &p), 10);
    EXPECT_EQ(p, 1);
    EXPECT_FLOAT_EQ(cMath::Periodic(-10, 0, 360, &p), 350);
    EXPECT_EQ(p, -1);
    EXPECT_FLOAT_EQ(cMath::Periodic(-730, 0, 360, &p), 350);
    EXPECT_EQ(p, -3);
    EXPECT_FLOAT_EQ(cMath::Periodic(180, -180, 180, &p), -180);
    EXPECT_EQ(p, 1);
    EXPECT_FLOAT_EQ(cMath::Periodic(5, 0, 360, &p), 5);
    EXPECT_EQ(p, 0);
    EXPECT_FLOAT_EQ(cMath::Periodic(2.5f, 1, 2, &p), 1.5f);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(cMath::Periodic(7, 3, 3, &p), 3.0f);  // an empty range
    EXPECT_EQ(p, 0);
    EXPECT_EQ(cMath::Periodic(7, 3, 3), 3.0f);
    cMath::Periodic(1e30f, 0, 1, &p);  // more periods than an int holds: clamped, no crash
    EXPECT_EQ(p, cMath::IntMaxValue);
    cMath::Periodic(NAN, 0, 1, &p);
    EXPECT_EQ(p, 0);
    // Always inside [lo, hi), and x = r + p * range.
    cMath::Randomize(3);
    for (int i = 0; i < 10000; i++) {
        float x = cMath::RandRange1() * 5000.0f;
        float r = cMath::Periodic(x, -90, 270, &p);
        ASSERT_GE(r, -90.0f);
        ASSERT_LT(r, 270.0f);
        ASSERT_NEAR(r + p * 360.0f, x, 1e-3f);
    }
}

TEST(MathTrig, SinCosDegExactAtQuarterTurns) {
    const float angles[] = {0, 90, 180, 270, 360, -90, -180, 450, 720, -3600};
    const float sines[] = {0, 1, 0, -1, 0, -1, 0, 1, 0, 0};
    const float cosines[] = {1, 0, -1, 0, 1, 0, -1, 0, 1, 1};
    for (int i = 0; i < 10; i++) {
        float s, c;
        cMath::SinCosDeg(angles[i], &s, &c);
        EXPECT_EQ(s, sines[i]) << angles[i];
        EXPECT_EQ(c, cosines[i]) << angles[i];
    }
    float s, c;
    cMath::SinCosDeg(30, &s, &c);
    EXPECT_FLOAT_EQ(s, 0.5f);
    cMath::SinCosDeg(36030, &s, &c);  // large angles are reduced exactly first
    EXPECT_NEAR(s, 0.5f, 1e-6f);
    EXPECT_EQ(cMath::ASin(2.0f), cMath::HalfPi);
    EXPECT_EQ(cMath::ACos(-3.0f), cMath::Pi);
}
