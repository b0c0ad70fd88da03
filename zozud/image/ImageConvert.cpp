// cImage: per-pixel operations on the colour formats 1 to 16: conversion
// between formats through float RGBA, channel edits and grey scale.
// Every operation works on the whole chain (all levels, faces and slices are
// one run of pixels) and, where the pixel size changes, allocates the new
// buffer once and swaps it in.
#include <cstring>

#include "zozud/image/Image.h"
#include "zozud/math/Math.h"

namespace zozud {

namespace {

// ---- Pixels as float RGBA ----
// A conversion runs in chunks: the source pixels are expanded to float RGBA
// by a loader made for their channel type and count, and the chunk is
// stored by a storer made for the target's. Both are templates, so the inner
// loops carry no per-channel switches.

const int kChunk = 256;

// Rounds c (0..1) to an unsigned integer 0..max; NaN counts as 0.
inline uint32_t Quantise(float c, float max) {
    if (!(c >= 0.0f)) return 0;
    if (c > 1.0f) return (uint32_t)max;
    return (uint32_t)(c * max + 0.5f);
}

struct ByteChannel {
    static float Load(const unsigned char* p) { return p[0] * (1.0f / 255.0f); }
    static void  Store(unsigned char* p, float c) { p[0] = (unsigned char)Quantise(c, 255.0f); }
    enum { Size = 1 };
};
struct ShortChannel {
    static float Load(const unsigned char* p) {
        uint16_t v;
        memcpy(&v, p, 2);
        return v * (1.0f / 65535.0f);
    }
    static void Store(unsigned char* p, float c) {
        uint16_t v = (uint16_t)Quantise(c, 65535.0f);
        memcpy(p, &v, 2);
    }
    enum { Size = 2 };
};
struct HalfChannel {
    static float Load(const unsigned char* p) {
        uint16_t v;
        memcpy(&v, p, 2);
        return cMath::Half2Float(v);
    }
    static void Store(unsigned char* p, float c) {
        uint16_t v = cMath::Float2Half(c);
        memcpy(p, &v, 2);
    }
    enum { Size = 2 };
};
struct FloatChannel {
    static float Load(const unsigned char* p) {
        float v;
        memcpy(&v, p, 4);
        return v;
    }
    static void Store(unsigned char* p, float c) { memcpy(p, &c, 4); }
    enum { Size = 4 };
};

// n pixels to float RGBA: grey sources fill G and B, a missing B is 0, a
// missing alpha 1.
template <class Ch, int C>
void LoadRun(const unsigned char* src, float* rgba, int n) {
    for (int i = 0; i < n; i++, src += C * Ch::Size, rgba += 4) {
        rgba[0] = Ch::Load(src);
        rgba[1] = C >= 2 ? Ch::Load(src + Ch::Size) : rgba[0];
        rgba[2] = C >= 3 ? Ch::Load(src + 2 * Ch::Size) : (C == 1 ? rgba[0] : 0.0f);
        rgba[3] = C >= 4 ? Ch::Load(src + 3 * Ch::Size) : 1.0f;
    }
}

// n float RGBA pixels to the target; a one-channel target takes luminance.
template <class Ch, int C>
void StoreRun(const float* rgba, unsigned char* dst, int n) {
    for (int i = 0; i < n; i++, dst += C * Ch::Size, rgba += 4) {
        if (C == 1) {
            Ch::Store(dst, 0.2125f * rgba[0] + 0.7154f * rgba[1] + 0.0721f * rgba[2]);
            continue;
        }
        for (int c = 0; c < C; c++) Ch::Store(dst + c * Ch::Size, rgba[c]);
    }
}

typedef void (*RunLoader)(const unsigned char*, float*, int);
typedef void (*RunStorer)(const float*, unsigned char*, int);

template <class Ch>
RunLoader LoaderFor(int channels) {
    const RunLoader loaders[4] = {LoadRun<Ch, 1>, LoadRun<Ch, 2>, LoadRun<Ch, 3>, LoadRun<Ch, 4>};
    return loaders[channels - 1];
}

template <class Ch>
RunStorer StorerFor(int channels) {
    const RunStorer storers[4] = {StoreRun<Ch, 1>, StoreRun<Ch, 2>, StoreRun<Ch, 3>, StoreRun<Ch, 4>};
    return storers[channels - 1];
}

RunLoader Loader(int format) {
    int channels = cFormat::GetChannelCount(format);
    switch (cFormat::GetType(format)) {
        case cFormat::TypeByte: return LoaderFor<ByteChannel>(channels);
        case cFormat::TypeShort: return LoaderFor<ShortChannel>(channels);
        case cFormat::TypeHalf: return LoaderFor<HalfChannel>(channels);
        default: return LoaderFor<FloatChannel>(channels);
    }
}

RunStorer Storer(int format) {
    int channels = cFormat::GetChannelCount(format);
    switch (cFormat::GetType(format)) {
        case cFormat::TypeByte: return StorerFor<ByteChannel>(channels);
        case cFormat::TypeShort: return StorerFor<ShortChannel>(channels);
        case cFormat::TypeHalf: return StorerFor<HalfChannel>(channels);
        default: return StorerFor<FloatChannel>(channels);
    }
}

void ConvertThroughFloat(const unsigned char* src, int from, unsigned char* dst, int to, int64_t count) {
    RunLoader load = Loader(from);
    RunStorer store = Storer(to);
    int sb = cFormat::GetBytesPerPixel(from), db = cFormat::GetBytesPerPixel(to);
    float rgba[kChunk * 4];
    for (int64_t done = 0; done < count;) {
        int n = count - done < kChunk ? (int)(count - done) : kChunk;
        load(src + done * sb, rgba, n);
        store(rgba, dst + done * db, n);
        done += n;
    }
}

template <class F>
void ForEachPixel(unsigned char* pixels, int64_t count, int bpp, F f) {
    for (int64_t i = 0; i < count; i++) f(pixels + i * bpp);
}

// ---- Fast paths between 8-bit formats ----

void Rgb8ToRgba8(const unsigned char* s, unsigned char* d, int64_t n) {
    for (int64_t i = 0; i < n; i++, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 255;
    }
}

void Rgba8ToRgb8(const unsigned char* s, unsigned char* d, int64_t n) {
    for (int64_t i = 0; i < n; i++, s += 4, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

// 8-bit to 8-bit where no channel needs more than a copy (grey, alpha 255, B 0).
bool ConvertBytes(const unsigned char* s, int sc, unsigned char* d, int dc, int64_t n) {
    if (dc == 1) return false;  // luminance: the float path rounds it
    if (sc == 3 && dc == 4) {
        Rgb8ToRgba8(s, d, n);
        return true;
    }
    if (sc == 4 && dc == 3) {
        Rgba8ToRgb8(s, d, n);
        return true;
    }
    for (int64_t i = 0; i < n; i++, s += sc, d += dc) {
        unsigned char px[4] = {s[0], sc == 1 ? s[0] : s[1], sc == 1 ? s[0] : (sc == 2 ? (unsigned char)0 : s[2]),
                               sc == 4 ? s[3] : (unsigned char)255};
        for (int c = 0; c < dc; c++) d[c] = px[c];
    }
    return true;
}

}  // namespace

bool cImage::ToFormat(cFormat::Enum format) {
    if (format == Format) return true;
    if (!cFormat::IsColor(Format) || !cFormat::IsColor(format) || !Pixels) return false;
    int64_t count = GetPixelCount(0, MipMapCount);
    unsigned char* out = AllocPixels(CalcImageSize(format, Width, Height, Depth, MipMapCount));
    if (!out) return false;
    cFormat::Type st = cFormat::GetType(Format), dt = cFormat::GetType(format);
    int sc = cFormat::GetChannelCount(Format), dc = cFormat::GetChannelCount(format);
    if (st != cFormat::TypeByte || dt != cFormat::TypeByte || !ConvertBytes(Pixels, sc, out, dc, count))
        ConvertThroughFloat(Pixels, Format, out, format, count);
    FreePixels(Pixels);
    Pixels = out;
    Format = format;
    return true;
}

bool cImage::SwapChannels(int a, int b) {
    int channels = cFormat::GetChannelCount(Format);
    if (!cFormat::IsColor(Format) || !Pixels || a < 0 || b < 0 || a >= channels || b >= channels) return false;
    if (a == b) return true;
    int cb = cFormat::GetChannelBytes(Format);
    ForEachPixel(Pixels, GetPixelCount(0, MipMapCount), cFormat::GetBytesPerPixel(Format), [=](unsigned char* p) {
        unsigned char tmp[4];
        memcpy(tmp, p + a * cb, cb);
        memcpy(p + a * cb, p + b * cb, cb);
        memcpy(p + b * cb, tmp, cb);
    });
    return true;
}

bool cImage::InvertChannel(int channel) {
    if (!cFormat::IsColor(Format) || !Pixels || channel < 0 || channel >= cFormat::GetChannelCount(Format))
        return false;
    cFormat::Type type = cFormat::GetType(Format);
    int cb = cFormat::GetChannelBytes(Format);
    ForEachPixel(Pixels, GetPixelCount(0, MipMapCount), cFormat::GetBytesPerPixel(Format), [=](unsigned char* px) {
        unsigned char* p = px + channel * cb;
        if (type == cFormat::TypeByte || type == cFormat::TypeShort) {
            for (int i = 0; i < cb; i++) p[i] = (unsigned char)~p[i];
        } else if (type == cFormat::TypeHalf) {
            uint16_t v;
            memcpy(&v, p, 2);
            v = cMath::Float2Half(1.0f - cMath::Half2Float(v));
            memcpy(p, &v, 2);
        } else {
            float v;
            memcpy(&v, p, 4);
            v = 1.0f - v;
            memcpy(p, &v, 4);
        }
    });
    return true;
}

bool cImage::CopyChannel(int from, int to) {
    int channels = cFormat::GetChannelCount(Format);
    if (!cFormat::IsColor(Format) || !Pixels || from < 0 || to < 0 || from >= channels || to >= channels)
        return false;
    int cb = cFormat::GetChannelBytes(Format);
    ForEachPixel(Pixels, GetPixelCount(0, MipMapCount), cFormat::GetBytesPerPixel(Format),
                 [=](unsigned char* p) { memmove(p + to * cb, p + from * cb, cb); });
    return true;
}

bool cImage::RemoveChannels(bool r, bool g, bool b, bool a) {
    if (!cFormat::IsColor(Format) || !Pixels) return false;
    int channels = cFormat::GetChannelCount(Format), cb = cFormat::GetChannelBytes(Format);
    bool keep[4] = {r, g, b, a};
    int kept[4], count = 0;
    for (int c = 0; c < channels; c++)
        if (keep[c]) kept[count++] = c;
    if (count == 0) return false;
    if (count == channels) return true;
    cFormat::Enum format = cFormat::Make(cFormat::GetType(Format), count);
    unsigned char* out = AllocPixels(CalcImageSize(format, Width, Height, Depth, MipMapCount));
    if (!out) return false;
    int64_t n = GetPixelCount(0, MipMapCount);
    const unsigned char* s = Pixels;
    unsigned char* d = out;
    for (int64_t i = 0; i < n; i++, s += channels * cb)
        for (int k = 0; k < count; k++, d += cb) memcpy(d, s + kept[k] * cb, cb);
    FreePixels(Pixels);
    Pixels = out;
    Format = format;
    return true;
}

bool cImage::ToGrayScale() {
    cFormat::Type type = cFormat::GetType(Format);
    int channels = cFormat::GetChannelCount(Format);
    if (!Pixels || (type != cFormat::TypeByte && type != cFormat::TypeShort) || channels < 3) return false;
    cFormat::Enum format = type == cFormat::TypeByte ? cFormat::R8 : cFormat::R16;
    unsigned char* out = AllocPixels(CalcImageSize(format, Width, Height, Depth, MipMapCount));
    if (!out) return false;
    int64_t n = GetPixelCount(0, MipMapCount);
    if (type == cFormat::TypeByte) {
        const unsigned char* s = Pixels;
        for (int64_t i = 0; i < n; i++, s += channels) out[i] = (unsigned char)((77 * s[0] + 151 * s[1] + 28 * s[2] + 128) >> 8);
    } else {
        const unsigned char* s = Pixels;
        for (int64_t i = 0; i < n; i++, s += channels * 2) {
            uint16_t v[3];
            memcpy(v, s, 6);
            uint16_t y = (uint16_t)((77u * v[0] + 151u * v[1] + 28u * v[2] + 128u) >> 8);
            memcpy(out + i * 2, &y, 2);
        }
    }
    FreePixels(Pixels);
    Pixels = out;
    Format = format;
    return true;
}

bool cImage::MergeRgb8(const cImage& source, int x, int y) {
    if (Format != cFormat::Rgb8 || source.Format != cFormat::Rgb8 || !Pixels || !source.Pixels) return false;
    int64_t x0 = x < 0 ? 0 : x, y0 = y < 0 ? 0 : y;
    int64_t x1 = (int64_t)x + source.Width, y1 = (int64_t)y + source.Height;
    if (x1 > Width) x1 = Width;
    if (y1 > Height) y1 = Height;
    for (int64_t row = y0; row < y1; row++) {
        const unsigned char* s = source.Pixels + ((row - y) * source.Width + (x0 - x)) * 3;
        if (x1 > x0) memcpy(Pixels + (row * Width + x0) * 3, s, (size_t)(x1 - x0) * 3);
    }
    return true;
}

}  // namespace zozud
