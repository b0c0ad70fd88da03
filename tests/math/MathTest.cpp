// cMath: random numbers, half floats, the checksum, byte swapping, wrapping and trigonometry.
#include "math/MathCheck.h"

using namespace mathtest;

static float FromBits(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

TEST(MathRandom, SeededSequencesRepeatAndFillTheirRanges) {
    std::vector<float> first;
    cMath::Randomize(12345);
    for (int i = 0; i < 100; i++) first.push_back(cMath::Rand01());
    cMath::Randomize(12345);
    for (int i = 0; i < 100; i++) ASSERT_EQ(cMath::Rand01(), first[i]) << i;
    double sum = 0;
    for (int i = 0; i < 10000; i++) {
        float f = cMath::Rand01(), g = cMath::RandRange1();
        ASSERT_TRUE(f >= 0 && f < 1 && g >= -1 && g < 1) << f << " " << g;
        sum += f + (g + 1) / 2;
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.01);
}

// Independent decoder: the value of a half from its fields with ldexp.
static double HalfValue(uint16_t h) {
    int e = (h >> 10) & 31, m = h & 1023;
    double v = e == 0 ? std::ldexp(m, -24) : std::ldexp(1024 + m, e - 25);
    return (h & 0x8000) ? -v : v;
}

// Values far outside the range of halves and NaNs; the tests below cover the rest.
TEST(MathHalf, HugeValuesAndNaNs) {
    EXPECT_EQ(cMath::Float2Half(-1e10f), 0xFC00);
    EXPECT_EQ(cMath::Float2Half(FromBits(0x7F7FFFFFu)), 0x7C00);
    EXPECT_TRUE(cMath::Float2Half(-std::ldexp(1.0f, -30)) == 0x8000 && cMath::Float2Half(FromBits(1)) == 0);
    EXPECT_EQ(cMath::Float2Half(FromBits(0x7FC00000u)), 0x7E00);
    uint16_t low = cMath::Float2Half(FromBits(0x7F800001u));  // the payload lies only in the dropped bits
    EXPECT_EQ(low & 0x7C00, 0x7C00);
    EXPECT_NE(low & 0x03FF, 0);
}

TEST(MathHalf, EveryHalfDecodesAndRoundTrips) {
    for (uint32_t h = 0; h < 65536; h++) {
        float f = cMath::Half2Float(uint16_t(h));
        if (((h >> 10) & 31) == 31)
            ASSERT_TRUE((h & 1023) ? std::isnan(f) : std::isinf(f)) << h;
        else
            ASSERT_EQ(double(f), HalfValue(uint16_t(h))) << h;
        ASSERT_EQ(cMath::Float2Half(f), h) << h;
    }
}

// Against a search of the table of all finite halves for the nearest, ties to the larger magnitude.
TEST(MathHalf, RoundsToNearestHalfTiesUp) {
    std::vector<double> table;
    for (int h = 0; h < 0x7C00; h++) table.push_back(HalfValue(uint16_t(h)));
    cMath::Randomize(7);
    for (int i = 0; i < 200000; i++) {
        float f = std::ldexp(1.0f + cMath::Rand01(), int(cMath::Rand01() * 44) - 28);
        if (i % 3 == 0) f = -f;
        if (i % 5 == 0) {  // exact midpoints
            int k = int(cMath::Rand01() * 0x7BFF);
            f = float((table[k] + table[k + 1]) / 2);
        }
        double a = std::fabs(double(f));
        uint16_t expect = 0x7C00;
        if (a < 65520.0) {
            size_t hi = std::min(size_t(std::lower_bound(table.begin(), table.end(), a) - table.begin()), table.size() - 1);
            size_t lo = hi > 0 && table[hi] != a ? hi - 1 : hi;
            expect = uint16_t(a - table[lo] < table[hi] - a ? lo : hi);
        }
        if (std::signbit(f)) expect |= 0x8000;
        ASSERT_EQ(cMath::Float2Half(f), expect) << f;
    }
}

TEST(MathChecksum, KnownValues) {
    // From a bitwise CRC over 0xDEBB20E3; the same routine over 0xEDB88320 reproduces zlib's crc32.
    EXPECT_TRUE(cMath::Checksum("abc", 0) == 0 && cMath::Checksum("abc", -5) == 0);
    EXPECT_EQ(uint32_t(cMath::Checksum("abc", 3)), 0x833FC369u);
    EXPECT_EQ(uint32_t(cMath::Checksum("123456789", 9)), 0x960DE1BCu);
    unsigned char all[256];
    for (int i = 0; i < 256; i++) all[i] = (unsigned char)i;
    EXPECT_EQ(uint32_t(cMath::Checksum(all, 256)), 0x0F6B3046u);
}

TEST(MathEndian, FixedWidthsAndFormats) {
    uint64_t q[2] = {0x0102030405060708ull, 7};
    cMath::EndianSwap8(q, 1);
    EXPECT_TRUE(q[0] == 0x0807060504030201ull && q[1] == 7);  // past the count: untouched
    uint32_t v = 0x11223344u;
    cMath::EndianSwap4(&v, 1);
    cMath::EndianSwap2(&v, -1);
    EXPECT_EQ(v, 0x44332211u);
    uint16_t w[3] = {0x0102, 0x0304, 0x0506};
    cMath::EndianSwap2(w, 2);
    EXPECT_TRUE(w[1] == 0x0403 && w[2] == 0x0506);

    // One record "b w d q" (15 bytes), twice; then repeat counts and letters that are skipped.
    unsigned char r[48];
    for (int i = 0; i < 48; i++) r[i] = (unsigned char)i;
    EXPECT_EQ(cMath::EndianSwap(r, "bwdq", 2), r + 30);
    const unsigned char want[15] = {0, 2, 1, 6, 5, 4, 3, 14, 13, 12, 11, 10, 9, 8, 7};
    for (int i = 0; i < 15; i++) ASSERT_TRUE(r[i] == want[i] && r[15 + i] == want[i] + 15) << i;
    EXPECT_EQ(cMath::EndianSwap(r + 30, "2w x1d", 1), r + 38);
    const unsigned char tail[9] = {31, 30, 33, 32, 37, 36, 35, 34, 38};
    for (int i = 0; i < 9; i++) ASSERT_EQ(r[30 + i], tail[i]) << i;
    EXPECT_EQ(cMath::EndianSwap(r, "12d", 1), r + 48);
    EXPECT_EQ(r[47], 44);
    // A null or empty format, or a zero count, changes nothing.
    unsigned char first = r[0];
    EXPECT_TRUE(cMath::EndianSwap(r, nullptr, 3) == r && cMath::EndianSwap(r, "d", 0) == r && cMath::EndianSwap(r, "", 5) == r);
    EXPECT_EQ(r[0], first);
}

TEST(MathPeriodic, WrapsAndCountsPeriods) {
    // x, lo, hi, the result and the periods removed
    const float rows[][5] = {{370, 0, 360, 10, 1},     {-10, 0, 360, 350, -1}, {-730, 0, 360, 350, -3},
                             {180, -180, 180, -180, 1}, {5, 0, 360, 5, 0},      {2.5f, 1, 2, 1.5f, 1}, {7, 3, 3, 3, 0}};
    int p;
    for (const auto& row : rows) {
        EXPECT_FLOAT_EQ(cMath::Periodic(row[0], row[1], row[2], &p), row[3]) << row[0];
        EXPECT_EQ(p, row[4]) << row[0];
    }
    cMath::Periodic(1e30f, 0, 1, &p);  // more periods than an int holds: clamped, no crash
    EXPECT_EQ(p, cMath::IntMaxValue);
    cMath::Periodic(NAN, 0, 1, &p);
    EXPECT_EQ(p, 0);
    // Always inside [lo, hi), and x = r + p * range.
    cMath::Randomize(3);
    for (int i = 0; i < 10000; i++) {
        float x = cMath::RandRange1() * 5000.0f, r = cMath::Periodic(x, -90, 270, &p);
        ASSERT_TRUE(r >= -90 && r < 270) << x;
        ASSERT_NEAR(r + p * 360.0f, x, 1e-3f);
    }
}

TEST(MathTrig, SinCosDegExactAtQuarterTurns) {
    const float rows[][3] = {{0, 0, 1},   {90, 1, 0},   {180, 0, -1}, {270, -1, 0},  {360, 0, 1},
                             {-90, -1, 0}, {-180, 0, -1}, {450, 1, 0},  {720, 0, 1}, {-3600, 0, 1}};
    for (const auto& row : rows) {
        float s, c;
        cMath::SinCosDeg(row[0], &s, &c);
        EXPECT_TRUE(s == row[1] && c == row[2]) << row[0] << ": " << s << " " << c;
    }
    EXPECT_TRUE(cMath::ASin(2.0f) == cMath::HalfPi && cMath::ACos(-3.0f) == cMath::Pi);  // clamped, not NaN
}
