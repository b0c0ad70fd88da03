// cColor: packing, web text and the table of named colours. The named
// colours are constant-initialised (constexpr constructor), so they hold
// their values before any static constructor of user code runs.
#include "zozud/image/Color.h"

#include <strings.h>

namespace zozud {

// Every named colour, defined once and listed in the name table below.
#define ZOZUD_NAMED_COLORS(ZOZUD_COLOR) \
    ZOZUD_COLOR(AliceBlue, 240, 248, 255, 255) \
    ZOZUD_COLOR(AntiqueWhite, 250, 235, 215, 255) \
    ZOZUD_COLOR(Aqua, 0, 255, 255, 255) \
    ZOZUD_COLOR(Aquamarine, 127, 255, 212, 255) \
    ZOZUD_COLOR(Azure, 240, 255, 255, 255) \
    ZOZUD_COLOR(Beige, 245, 245, 220, 255) \
    ZOZUD_COLOR(Bisque, 255, 228, 196, 255) \
    ZOZUD_COLOR(Black, 0, 0, 0, 255) \
    ZOZUD_COLOR(BlanchedAlmond, 255, 235, 205, 255) \
    ZOZUD_COLOR(Blue, 0, 0, 255, 255) \
    ZOZUD_COLOR(BlueViolet, 138, 43, 226, 255) \
    ZOZUD_COLOR(Brown, 165, 42, 42, 255) \
    ZOZUD_COLOR(BurlyWood, 222, 184, 135, 255) \
    ZOZUD_COLOR(CadetBlue, 95, 158, 160, 255) \
    ZOZUD_COLOR(Chartreuse, 127, 255, 0, 255) \
    ZOZUD_COLOR(Chocolate, 210, 105, 30, 255) \
    ZOZUD_COLOR(Coral, 255, 127, 80, 255) \
    ZOZUD_COLOR(CornflowerBlue, 100, 149, 237, 255) \
    ZOZUD_COLOR(Cornsilk, 255, 248, 220, 255) \
    ZOZUD_COLOR(Crimson, 220, 20, 60, 255) \
    ZOZUD_COLOR(Cyan, 0, 255, 255, 255) \
    ZOZUD_COLOR(DarkBlue, 0, 0, 139, 255) \
    ZOZUD_COLOR(DarkCyan, 0, 139, 139, 255) \
    ZOZUD_COLOR(DarkGoldenrod, 184, 134, 11, 255) \
    ZOZUD_COLOR(DarkGray, 169, 169, 169, 255) \
    ZOZUD_COLOR(DarkGreen, 0, 100, 0, 255) \
    ZOZUD_COLOR(DarkKhaki, 189, 183, 107, 255) \
    ZOZUD_COLOR(DarkMagenta, 139, 0, 139, 255) \
    ZOZUD_COLOR(DarkOliveGreen, 85, 107, 47, 255) \
    ZOZUD_COLOR(DarkOrange, 255, 140, 0, 255) \
    ZOZUD_COLOR(DarkOrchid, 153, 50, 204, 255) \
    ZOZUD_COLOR(DarkRed, 139, 0, 0, 255) \
    ZOZUD_COLOR(DarkSalmon, 233, 150, 122, 255) \
    ZOZUD_COLOR(DarkSeaGreen, 143, 188, 143, 255) \
    ZOZUD_COLOR(DarkSlateBlue, 72, 61, 139, 255) \
    ZOZUD_COLOR(DarkSlateGray, 47, 79, 79, 255) \
    ZOZUD_COLOR(DarkTurquoise, 0, 206, 209, 255) \
    ZOZUD_COLOR(DarkViolet, 148, 0, 211, 255) \
    ZOZUD_COLOR(DeepPink, 255, 20, 147, 255) \
    ZOZUD_COLOR(DeepSkyBlue, 0, 191, 255, 255) \
    ZOZUD_COLOR(DimGray, 105, 105, 105, 255) \
    ZOZUD_COLOR(DodgerBlue, 30, 144, 255, 255) \
    ZOZUD_COLOR(Firebrick, 178, 34, 34, 255) \
    ZOZUD_COLOR(FloralWhite, 255, 250, 240, 255) \
    ZOZUD_COLOR(ForestGreen, 34, 139, 34, 255) \
    ZOZUD_COLOR(Fuchsia, 255, 0, 255, 255) \
    ZOZUD_COLOR(Gainsboro, 220, 220, 220, 255) \
    ZOZUD_COLOR(GhostWhite, 248, 248, 255, 255) \
    ZOZUD_COLOR(Gold, 255, 215, 0, 255) \
    ZOZUD_COLOR(Goldenrod, 218, 165, 32, 255) \
    ZOZUD_COLOR(Gray, 128, 128, 128, 255) \
    ZOZUD_COLOR(Green, 0, 255, 0, 255) \
    ZOZUD_COLOR(GreenYellow, 173, 255, 47, 255) \
    ZOZUD_COLOR(Honeydew, 240, 255, 240, 255) \
    ZOZUD_COLOR(HotPink, 255, 105, 180, 255) \
    ZOZUD_COLOR(IndianRed, 205, 92, 92, 255) \
    ZOZUD_COLOR(Indigo, 75, 0, 130, 255) \
    ZOZUD_COLOR(Ivory, 255, 255, 240, 255) \
    ZOZUD_COLOR(Khaki, 240, 230, 140, 255) \
    ZOZUD_COLOR(Lavender, 230, 230, 250, 255) \
    ZOZUD_COLOR(LavenderBlush, 255, 240, 245, 255) \
    ZOZUD_COLOR(LawnGreen, 124, 252, 0, 255) \
    ZOZUD_COLOR(LemonChiffon, 255, 250, 205, 255) \
    ZOZUD_COLOR(LightBlue, 173, 216, 230, 255) \
    ZOZUD_COLOR(LightCoral, 240, 128, 128, 255) \
    ZOZUD_COLOR(LightCyan, 224, 255, 255, 255) \
    ZOZUD_COLOR(LightGoldenrodYellow, 250, 250, 210, 255) \
    ZOZUD_COLOR(LightGray, 211, 211, 211, 255) \
    ZOZUD_COLOR(LightGreen, 144, 238, 144, 255) \
    ZOZUD_COLOR(LightPink, 255, 182, 193, 255) \
    ZOZUD_COLOR(LightSalmon, 255, 160, 122, 255) \
    ZOZUD_COLOR(LightSeaGreen, 32, 178, 170, 255) \
    ZOZUD_COLOR(LightSkyBlue, 135, 206, 250, 255) \
    ZOZUD_COLOR(LightSlateGray, 119, 136, 153, 255) \
    ZOZUD_COLOR(LightSteelBlue, 176, 196, 222, 255) \
    ZOZUD_COLOR(LightYellow, 255, 255, 224, 255) \
    ZOZUD_COLOR(Lime, 0, 255, 0, 255) \
    ZOZUD_COLOR(LimeGreen, 50, 205, 50, 255) \
    ZOZUD_COLOR(Linen, 250, 240, 230, 255) \
    ZOZUD_COLOR(Magenta, 255, 0, 255, 255) \
    ZOZUD_COLOR(Maroon, 128, 0, 0, 255) \
    ZOZUD_COLOR(MediumAquamarine, 102, 205, 170, 255) \
    ZOZUD_COLOR(MediumBlue, 0, 0, 205, 255) \
    ZOZUD_COLOR(MediumOrchid, 186, 85, 211, 255) \
    ZOZUD_COLOR(MediumPurple, 147, 112, 219, 255) \
    ZOZUD_COLOR(MediumSeaGreen, 60, 179, 113, 255) \
    ZOZUD_COLOR(MediumSlateBlue, 123, 104, 238, 255) \
    ZOZUD_COLOR(MediumSpringGreen, 0, 250, 154, 255) \
    ZOZUD_COLOR(MediumTurquoise, 72, 209, 204, 255) \
    ZOZUD_COLOR(MediumVioletRed, 199, 21, 133, 255) \
    ZOZUD_COLOR(MidGreen, 0, 128, 0, 255) \
    ZOZUD_COLOR(MidnightBlue, 25, 25, 112, 255) \
    ZOZUD_COLOR(MintCream, 245, 255, 250, 255) \
    ZOZUD_COLOR(MistyRose, 255, 228, 225, 255) \
    ZOZUD_COLOR(Moccasin, 255, 228, 181, 255) \
    ZOZUD_COLOR(NavajoWhite, 255, 222, 173, 255) \
    ZOZUD_COLOR(Navy, 0, 0, 128, 255) \
    ZOZUD_COLOR(OldLace, 253, 245, 230, 255) \
    ZOZUD_COLOR(Olive, 128, 128, 0, 255) \
    ZOZUD_COLOR(OliveDrab, 107, 142, 35, 255) \
    ZOZUD_COLOR(Orange, 255, 165, 0, 255) \
    ZOZUD_COLOR(OrangeRed, 255, 69, 0, 255) \
    ZOZUD_COLOR(Orchid, 218, 112, 214, 255) \
    ZOZUD_COLOR(PaleGoldenrod, 238, 232, 170, 255) \
    ZOZUD_COLOR(PaleGreen, 152, 251, 152, 255) \
    ZOZUD_COLOR(PaleTurquoise, 175, 238, 238, 255) \
    ZOZUD_COLOR(PaleVioletRed, 219, 112, 147, 255) \
    ZOZUD_COLOR(PapayaWhip, 255, 239, 213, 255) \
    ZOZUD_COLOR(PeachPuff, 255, 218, 185, 255) \
    ZOZUD_COLOR(Peru, 205, 133, 63, 255) \
    ZOZUD_COLOR(Pink, 255, 192, 203, 255) \
    ZOZUD_COLOR(Plum, 221, 160, 221, 255) \
    ZOZUD_COLOR(PowderBlue, 176, 224, 230, 255) \
    ZOZUD_COLOR(Purple, 128, 0, 128, 255) \
    ZOZUD_COLOR(Red, 255, 0, 0, 255) \
    ZOZUD_COLOR(RosyBrown, 188, 143, 143, 255) \
    ZOZUD_COLOR(RoyalBlue, 65, 105, 225, 255) \
    ZOZUD_COLOR(SaddleBrown, 139, 69, 19, 255) \
    ZOZUD_COLOR(Salmon, 250, 128, 114, 255) \
    ZOZUD_COLOR(SandyBrown, 244, 164, 96, 255) \
    ZOZUD_COLOR(SeaGreen, 46, 139, 87, 255) \
    ZOZUD_COLOR(SeaShell, 255, 245, 238, 255) \
    ZOZUD_COLOR(Sienna, 160, 82, 45, 255) \
    ZOZUD_COLOR(Silver, 192, 192, 192, 255) \
    ZOZUD_COLOR(SkyBlue, 135, 206, 235, 255) \
    ZOZUD_COLOR(SlateBlue, 106, 90, 205, 255) \
    ZOZUD_COLOR(SlateGray, 112, 128, 144, 255) \
    ZOZUD_COLOR(Snow, 255, 250, 250, 255) \
    ZOZUD_COLOR(SpringGreen, 0, 255, 127, 255) \
    ZOZUD_COLOR(SteelBlue, 70, 130, 180, 255) \
    ZOZUD_COLOR(Tan, 210, 180, 140, 255) \
    ZOZUD_COLOR(Teal, 0, 128, 128, 255) \
    ZOZUD_COLOR(Thistle, 216, 191, 216, 255) \
    ZOZUD_COLOR(Tomato, 255, 99, 71, 255) \
    ZOZUD_COLOR(Transparent, 255, 255, 255, 0) \
    ZOZUD_COLOR(Turquoise, 64, 224, 208, 255) \
    ZOZUD_COLOR(Violet, 238, 130, 238, 255) \
    ZOZUD_COLOR(Wheat, 245, 222, 179, 255) \
    ZOZUD_COLOR(White, 255, 255, 255, 255) \
    ZOZUD_COLOR(WhiteSmoke, 245, 245, 245, 255) \
    ZOZUD_COLOR(Yellow, 255, 255, 0, 255) \
    ZOZUD_COLOR(YellowGreen, 154, 205, 50, 255) \
    ZOZUD_COLOR(Zero, 0, 0, 0, 0)

#define ZOZUD_DEFINE_COLOR(name, r, g, b, a) \
    const cColor cColor::name(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
ZOZUD_NAMED_COLORS(ZOZUD_DEFINE_COLOR)
#undef ZOZUD_DEFINE_COLOR

namespace {

struct NamedColor {
    const char*   name;
    const cColor* color;
};

#define ZOZUD_LIST_COLOR(name, r, g, b, a) {#name, &cColor::name},
const NamedColor s_Named[] = {ZOZUD_NAMED_COLORS(ZOZUD_LIST_COLOR)};
#undef ZOZUD_LIST_COLOR

const int s_NamedCount = (int)(sizeof(s_Named) / sizeof(s_Named[0]));

}  // namespace

// ---- Packed forms ----

uint32_t cColor::FloatToDword(float f) {
    if (!(f > 0.0f)) return 0;
    if (f >= 1.0f) return 255;
    return (uint32_t)(f * 255.0f + 0.5f);
}

uint32_t cColor::ToDword() const {
    return FloatToDword(r) | FloatToDword(g) << 8 | FloatToDword(b) << 16 | FloatToDword(a) << 24;
}

cColor cColor::FromDword(uint32_t rgba) {
    return FromBytes(rgba & 0xFF, (rgba >> 8) & 0xFF, (rgba >> 16) & 0xFF, rgba >> 24);
}

cColor cColor::FromBytes(int r, int g, int b, int a) {
    const float k = 1.0f / 255.0f;
    return cColor(r * k, g * k, b * k, a * k);
}

cStr cColor::ToWebColor() const {
    uint32_t v[3] = {FloatToDword(r), FloatToDword(g), FloatToDword(b)};
    return cStr::Format("#%x%x%x%x%x%x", v[0] >> 4, v[0] & 15, v[1] >> 4, v[1] & 15, v[2] >> 4, v[2] & 15);
}

// ---- Named colours ----

int cColor::GetNamedCount() { return s_NamedCount; }

const char* cColor::GetName(int index) { return index >= 0 && index < s_NamedCount ? s_Named[index].name : nullptr; }

const cColor* cColor::GetNamed(int index) {
    return index >= 0 && index < s_NamedCount ? s_Named[index].color : nullptr;
}

const cColor* cColor::FindNamed(const char* name) {
    if (!name) return nullptr;
    for (const NamedColor& n : s_Named)
        if (strcasecmp(n.name, name) == 0) return n.color;
    return nullptr;
}

}  // namespace zozud
