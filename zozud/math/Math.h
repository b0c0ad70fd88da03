// cMath: constants and scalar helpers (random numbers, half floats, a CRC
// checksum, byte-order swapping, periodic wrapping). Surprise: the random
// seed is one process-wide value and is not thread-safe, and the checksum
// uses the table constant 0xDEBB20E3, so it differs from the usual CRC-32.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace zozud {

class cMath {
public:
    // ---- Constants ----
    static constexpr float  Pi                  = 3.14159274f;
    static constexpr float  TwoPi               = 6.28318548f;
    static constexpr float  HalfPi              = 1.57079637f;
    static constexpr float  QuarterPi           = 0.785398185f;
    static constexpr float  DegsPerRad          = 57.2957764f;
    static constexpr float  RadsPerDeg          = 0.0174532924f;
    static constexpr float  Sqrt1Over2          = 0.707106769f;
    static constexpr float  Sqrt1Over3          = 0.577350259f;
    static constexpr float  Epsilon             = 0.001f;
    static constexpr float  EpsilonSq           = Epsilon * Epsilon;  // 1.0000001e-6 in float
    static constexpr float  SpaceEpsilon        = 0.1f;
    static constexpr float  MatrixEpsilon       = 1e-6f;
    static constexpr float  MatrixInvertEpsilon = 1e-14f;
    static constexpr double dEpsilon            = 1e-6;
    static constexpr float  MsPerSec            = 1000.0f;
    static constexpr float  SecsPerMs           = 0.001f;
    static constexpr int    IntMaxValue         = 2147483647;
    static constexpr int    IntMinValue         = -2147483647 - 1;
    static constexpr float  FloatMaxValue       = 3.40282347e38f;
    static constexpr float  FloatMinValue       = 1.17549435e-38f;   // smallest normal
    static constexpr double DoubleMaxValue      = 1.7976931348623157e308;
    static constexpr double DoubleMinValue      = 2.2250738585072014e-308;

    // ---- Random numbers: seed = seed * 1664525 + 1013904223 per draw ----
    static void     Randomize(uint32_t seed);
    static uint32_t GetSeed();
    static float    Rand01();      // [0, 1)
    static float    RandRange1();  // [-1, 1)

    // ---- IEEE 754 binary16 ----
    static inline uint16_t Float2Half(float f);     // rounds half up; overflow gives infinity; NaN stays NaN
    static inline float    Half2Float(uint16_t h);  // exact

    // ---- Checksum, byte order ----
    static int   Checksum(const void* data, int length);  // reflected CRC over the 0xDEBB20E3 table; 0 for length < 1
    static void  EndianSwap2(void* data, int count);
    static void  EndianSwap4(void* data, int count);
    static void  EndianSwap8(void* data, int count);
    // Format letters per record: b skips a byte, w/d/q swap 2/4/8 bytes, an
    // optional decimal count repeats the letter. Returns the end of the last record.
    static void* EndianSwap(void* data, const char* format, int count = 1);

    // ---- Scalars ----
    // x wrapped into [lo, hi); period receives the number of whole ranges removed.
    static float Periodic(float x, float lo, float hi, int* period = nullptr);
    static float Clamp(float x, float lo, float hi) { return x < lo ? lo : (x > hi ? hi : x); }
    static float Lerp(float a, float b, float t) { return a + (b - a) * t; }
    static float ToRadians(float degrees) { return degrees * RadsPerDeg; }
    static float ToDegrees(float radians) { return radians * DegsPerRad; }
    // Sine and cosine of an angle in degrees; exact at multiples of 90.
    static void  SinCosDeg(float degrees, float* s, float* c);
    static float ASin(float x) { return std::asin(Clamp(x, -1.0f, 1.0f)); }  // input clamped
    static float ACos(float x) { return std::acos(Clamp(x, -1.0f, 1.0f)); }  // input clamped

    // ---- Vectors ----
    // The N components of v (a vector or a quaternion) divided by its length,
    // unless that is 0; returns the length.
    template <int N, class V>
    static float NormalizeComponents(V& v) {
        float len = v.Length();
        if (len > 0)
            for (int i = 0; i < N; i++) v[i] /= len;
        return len;
    }
};

// ---- Inline: half floats, called per sample by the image code ----

inline uint16_t cMath::Float2Half(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    uint32_t sign = (bits >> 16) & 0x8000u;
    int      exp = int((bits >> 23) & 0xFF);
    uint32_t mant = bits & 0x007FFFFFu;
    if (exp == 255) {  // infinity or NaN; a NaN keeps at least one mantissa bit
        if (mant == 0) return uint16_t(sign | 0x7C00u);
        uint32_t m = mant >> 13;
        return uint16_t(sign | 0x7C00u | (m ? m : 1u));
    }
    int e = exp - 127 + 15;
    if (e >= 31) return uint16_t(sign | 0x7C00u);
    if (e <= 0) {  // a half subnormal, or zero below its range
        if (e < -10) return uint16_t(sign);
        uint32_t full = mant | 0x00800000u;
        int shift = 14 - e;
        return uint16_t(sign | ((full + (1u << (shift - 1))) >> shift));
    }
    // Adding half a unit: a carry out of the mantissa moves into the
    // exponent, and past the largest half that gives exactly infinity.
    uint32_t h = (uint32_t(e) << 10) | (mant >> 13);
    h += (mant >> 12) & 1u;
    return uint16_t(sign | h);
}

inline float cMath::Half2Float(uint16_t h) {
    uint32_t sign = uint32_t(h & 0x8000u) << 16;
    uint32_t exp = (h >> 10) & 0x1Fu;
    uint32_t mant = h & 0x3FFu;
    uint32_t bits;
    if (exp == 0) {  // zero or subnormal: mant * 2^-24, exact in float
        float v = float(mant) * 5.9604644775390625e-8f;
        std::memcpy(&bits, &v, 4);
        bits |= sign;
    } else if (exp == 31) {
        bits = sign | 0x7F800000u | (mant << 13);
    } else {
        bits = sign | ((exp + 127 - 15) << 23) | (mant << 13);
    }
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

}  // namespace zozud
