// cFormat: the table of the 25 pixel formats: names, sizes, channel types.
#include "zozud/image/Format.h"

#include <strings.h>

namespace zozud {

namespace {

struct FormatInfo {
    const char*   name;      // null for the PVR formats, which have no name
    int           bytes;     // per pixel; -1 for depth formats, 0 for None and block formats
    int           channels;
    int           blockBytes;  // per 4x4 block
    cFormat::Type type;
};

const FormatInfo s_Formats[cFormat::Count] = {
    {"None", 0, 0, 0, cFormat::TypeNone},
    {"R8", 1, 1, 0, cFormat::TypeByte},
    {"Rg8", 2, 2, 0, cFormat::TypeByte},
    {"Rgb8", 3, 3, 0, cFormat::TypeByte},
    {"Rgba8", 4, 4, 0, cFormat::TypeByte},
    {"R16", 2, 1, 0, cFormat::TypeShort},
    {"Rg16", 4, 2, 0, cFormat::TypeShort},
    {"Rgb16", 6, 3, 0, cFormat::TypeShort},
    {"Rgba16", 8, 4, 0, cFormat::TypeShort},
    {"R16f", 2, 1, 0, cFormat::TypeHalf},
    {"Rg16f", 4, 2, 0, cFormat::TypeHalf},
    {"Rgb16f", 6, 3, 0, cFormat::TypeHalf},
    {"Rgba16f", 8, 4, 0, cFormat::TypeHalf},
    {"R32f", 4, 1, 0, cFormat::TypeFloat},
    {"Rg32f", 8, 2, 0, cFormat::TypeFloat},
    {"Rgb32f", 12, 3, 0, cFormat::TypeFloat},
    {"Rgba32f", 16, 4, 0, cFormat::TypeFloat},
    {"Depth16", -1, 1, 0, cFormat::TypeNone},
    {"Depth24", -1, 1, 0, cFormat::TypeNone},
    {"Depth24Stencil8", -1, 1, 0, cFormat::TypeNone},
    {"Dxt1", 0, 3, 8, cFormat::TypeNone},
    {"Dxt3", 0, 4, 16, cFormat::TypeNone},
    {"Dxt5", 0, 4, 16, cFormat::TypeNone},
    {nullptr, 0, 3, 8, cFormat::TypeNone},
    {nullptr, 0, 4, 8, cFormat::TypeNone},
};

bool InRange(int f) { return f >= 0 && f < cFormat::Count; }

}  // namespace

const char* cFormat::ToString(int value) {
    return InRange(value) ? s_Formats[value].name : nullptr;
}

cFormat::Enum cFormat::ToFormat(const char* text) {
    if (!text) return None;
    for (int f = 0; f < Count; f++)
        if (s_Formats[f].name && strcasecmp(s_Formats[f].name, text) == 0) return (Enum)f;
    return None;
}

int cFormat::GetBytesPerPixel(int f) { return InRange(f) ? s_Formats[f].bytes : 0; }
int cFormat::GetChannelCount(int f) { return InRange(f) ? s_Formats[f].channels : 0; }
int cFormat::GetBlockBytes(int f) { return InRange(f) ? s_Formats[f].blockBytes : 0; }
int cFormat::GetMinLevelBytes(int f) { return IsPvr(f) ? 32 : 0; }
cFormat::Type cFormat::GetType(int f) { return InRange(f) ? s_Formats[f].type : TypeNone; }

int cFormat::GetChannelBytes(int f) {
    switch (GetType(f)) {
        case TypeByte: return 1;
        case TypeShort:
        case TypeHalf: return 2;
        case TypeFloat: return 4;
        default: return 0;
    }
}

cFormat::Enum cFormat::Make(Type type, int channels) {
    if (type == TypeNone || channels < 1 || channels > 4) return None;
    return (Enum)(R8 + 4 * (type - TypeByte) + channels - 1);
}

}  // namespace zozud
