// cFormat: the 25 pixel formats of cImage, their names and per-pixel sizes.
// Values 1 to 16 are plain colour formats (8-bit, 16-bit unsigned, half float,
// float; 1 to 4 channels R, G, B, A); 17 to 19 exist only for render targets
// and have no pixel size; 20 to 24 are 4x4 block formats (DXT, PVRTC).
#pragma once

namespace zozud {

class cFormat {
public:
    enum Enum {
        None = 0,
        R8, Rg8, Rgb8, Rgba8,
        R16, Rg16, Rgb16, Rgba16,
        R16f, Rg16f, Rgb16f, Rgba16f,
        R32f, Rg32f, Rgb32f, Rgba32f,
        Depth16, Depth24, Depth24Stencil8,
        Dxt1, Dxt3, Dxt5,
        Pvrtc4Rgb, Pvrtc4Rgba,
        Count  // number of values (25)
    };

    // How the channels of a colour format are stored.
    enum Type { TypeNone = 0, TypeByte, TypeShort, TypeHalf, TypeFloat };

    // ---- Names ----
    static const char* ToString(int value);  // null for a value without a name (23, 24, out of range)
    static Enum        ToFormat(const char* text);  // case-insensitive; None for an unknown or null text

    // ---- Classes of formats ----
    static bool IsValid(int f)      { return f > None && f < Count; }
    static bool IsColor(int f)      { return f >= R8 && f <= Rgba32f; }   // plain pixels, 1 to 16
    static bool IsDepth(int f)      { return f >= Depth16 && f <= Depth24Stencil8; }
    static bool IsDxt(int f)        { return f >= Dxt1 && f <= Dxt5; }
    static bool IsPvr(int f)        { return f == Pvrtc4Rgb || f == Pvrtc4Rgba; }
    static bool IsCompressed(int f) { return f >= Dxt1 && f <= Pvrtc4Rgba; }  // any block format

    // ---- Sizes ----
    static int  GetBytesPerPixel(int f);  // 0 for None, block formats and out of range; -1 for depth formats
    static int  GetChannelCount(int f);   // 0 for None and out of range
    static int  GetBlockBytes(int f);     // 8 or 16 per 4x4 block for block formats, else 0
    static int  GetMinLevelBytes(int f);  // 32 for the PVR formats, else 0
    static Type GetType(int f);           // TypeNone outside 1 to 16
    static int  GetChannelBytes(int f);   // 1, 2 or 4 for colour formats, else 0

    // The colour format with the given channel type and count (1 to 4), None if none.
    static Enum Make(Type type, int channels);
};

}  // namespace zozud
