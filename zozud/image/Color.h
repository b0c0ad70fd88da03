// cColor: a colour as four floats r, g, b, a (1 is full intensity and full
// opacity); a plain value type (default construction leaves it undefined).
// Carries the table of 143 named colours: web colours over 255, except
// Green, which is pure (0, 1, 0); the web's green is MidGreen.
// Packed form: r | g << 8 | b << 16 | a << 24.
#pragma once

#include <cstdint>

#include "zozud/core/Str.h"

namespace zozud {

class cColor {
public:
    float r, g, b, a;

    cColor() = default;
    constexpr cColor(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}

    // ---- Packed forms ----
    uint32_t        ToDword() const;                   // channels clamped, rounded, r in the low byte
    static uint32_t FloatToDword(float f);             // one channel: 0..255 (<= 0 and NaN give 0)
    static cColor   FromDword(uint32_t rgba);          // inverse of ToDword up to rounding
    static cColor   FromBytes(int r, int g, int b, int a = 255);  // each over 255
    cStr            ToWebColor() const;                // "#rrggbb", lower case, no alpha

    // ---- Arithmetic ----
    static cColor Lerp(const cColor& a, const cColor& b, float t) { return a + (b - a) * t; }
    cColor operator+(const cColor& o) const { return cColor(r + o.r, g + o.g, b + o.b, a + o.a); }
    cColor operator-(const cColor& o) const { return cColor(r - o.r, g - o.g, b - o.b, a - o.a); }
    cColor operator*(const cColor& o) const { return cColor(r * o.r, g * o.g, b * o.b, a * o.a); }
    cColor operator*(float s) const { return cColor(r * s, g * s, b * s, a * s); }
    bool   operator==(const cColor& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
    bool   operator!=(const cColor& c) const { return !(*this == c); }
    float&       operator[](int i) { return (&r)[i]; }
    const float& operator[](int i) const { return (&r)[i]; }
    const float* ToFloatPtr() const { return &r; }

    // ---- Named colours ----
    static int           GetNamedCount();              // 143
    static const char*   GetName(int index);           // alphabetical; null outside
    static const cColor* GetNamed(int index);          // null outside
    static const cColor* FindNamed(const char* name);  // case-insensitive; null if unknown

    static const cColor AliceBlue, AntiqueWhite, Aqua, Aquamarine, Azure, Beige, Bisque, Black,
        BlanchedAlmond, Blue, BlueViolet, Brown, BurlyWood, CadetBlue, Chartreuse, Chocolate, Coral,
        CornflowerBlue, Cornsilk, Crimson, Cyan, DarkBlue, DarkCyan, DarkGoldenrod, DarkGray, DarkGreen,
        DarkKhaki, DarkMagenta, DarkOliveGreen, DarkOrange, DarkOrchid, DarkRed, DarkSalmon, DarkSeaGreen,
        DarkSlateBlue, DarkSlateGray, DarkTurquoise, DarkViolet, DeepPink, DeepSkyBlue, DimGray, DodgerBlue,
        Firebrick, FloralWhite, ForestGreen, Fuchsia, Gainsboro, GhostWhite, Gold, Goldenrod, Gray, Green,
        GreenYellow, Honeydew, HotPink, IndianRed, Indigo, Ivory, Khaki, Lavender, LavenderBlush, LawnGreen,
        LemonChiffon, LightBlue, LightCoral, LightCyan, LightGoldenrodYellow, LightGray, LightGreen,
        LightPink, LightSalmon, LightSeaGreen, LightSkyBlue, LightSlateGray, LightSteelBlue, LightYellow,
        Lime, LimeGreen, Linen, Magenta, Maroon, MediumAquamarine, MediumBlue, MediumOrchid, MediumPurple,
        MediumSeaGreen, MediumSlateBlue, MediumSpringGreen, MediumTurquoise, MediumVioletRed, MidGreen,
        MidnightBlue, MintCream, MistyRose, Moccasin, NavajoWhite, Navy, OldLace, Olive, OliveDrab, Orange,
        OrangeRed, Orchid, PaleGoldenrod, PaleGreen, PaleTurquoise, PaleVioletRed, PapayaWhip, PeachPuff,
        Peru, Pink, Plum, PowderBlue, Purple, Red, RosyBrown, RoyalBlue, SaddleBrown, Salmon, SandyBrown,
        SeaGreen, SeaShell, Sienna, Silver, SkyBlue, SlateBlue, SlateGray, Snow, SpringGreen, SteelBlue, Tan,
        Teal, Thistle, Tomato, Transparent, Turquoise, Violet, Wheat, White, WhiteSmoke, Yellow, YellowGreen,
        Zero;
};

}  // namespace zozud
