// cImage: the mip chain. Each level is built from the one above by a 2x2x2
// box filter; a source dimension of 1 uses its single sample twice, an odd
// one drops its last row, column or slice. Integer channels take the sum of
// the eight samples shifted right by 3 (truncating), float channels the sum
// times 0.125, half floats the float average rounded back. Cube faces are
// filtered separately.
#include <cstring>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/math/Math.h"

namespace zozud {

namespace {

// Accumulation per channel type: integers sum exactly, halves and floats in float.
struct ByteOps {
    typedef unsigned char T;
    typedef uint32_t      Acc;
    static Acc Load(T v) { return v; }
    static T   Store(Acc s) { return (T)(s >> 3); }
};
struct ShortOps {
    typedef uint16_t T;
    typedef uint32_t Acc;
    static Acc Load(T v) { return v; }
    static T   Store(Acc s) { return (T)(s >> 3); }
};
struct HalfOps {
    typedef uint16_t T;
    typedef float    Acc;
    static Acc Load(T v) { return cMath::Half2Float(v); }
    static T   Store(Acc s) { return cMath::Float2Half(s * 0.125f); }
};
struct FloatOps {
    typedef float T;
    typedef float Acc;
    static Acc Load(T v) { return v; }
    static T   Store(Acc s) { return s * 0.125f; }
};

struct Dims {
    int w, h, d;
};

// The two source indices a destination index i reads along one axis.
inline void Pair(int i, int src, int* a, int* b) {
    if (src == 1) {
        *a = *b = 0;
    } else {
        *a = 2 * i;
        *b = 2 * i + 1;
    }
}

template <class Ops, int C>
void BoxLevel(const typename Ops::T* src, Dims s, typename Ops::T* dst, Dims d) {
    typedef typename Ops::T T;
    typedef typename Ops::Acc Acc;
    for (int z = 0; z < d.d; z++) {
        int z0, z1;
        Pair(z, s.d, &z0, &z1);
        for (int y = 0; y < d.h; y++) {
            int y0, y1;
            Pair(y, s.h, &y0, &y1);
            const T* rows[4] = {src + ((size_t)z0 * s.h + y0) * s.w * C, src + ((size_t)z0 * s.h + y1) * s.w * C,
                                src + ((size_t)z1 * s.h + y0) * s.w * C, src + ((size_t)z1 * s.h + y1) * s.w * C};
            T* out = dst + ((size_t)z * d.h + y) * d.w * C;
            for (int x = 0; x < d.w; x++) {
                int x0, x1;
                Pair(x, s.w, &x0, &x1);
                x0 *= C;
                x1 *= C;
                for (int c = 0; c < C; c++) {
                    Acc sum = 0;
                    for (int r = 0; r < 4; r++) sum += Ops::Load(rows[r][x0 + c]) + Ops::Load(rows[r][x1 + c]);
                    out[x * C + c] = Ops::Store(sum);
                }
            }
        }
    }
}

// The common case, 8- and 16-bit 2D levels at least 2x2: each of the four
// samples counts twice, and (2 * sum) >> 3 equals sum >> 2. Kept out of line:
// inlined into the dispatcher, the loops vectorise worse.
template <class T, int C>
__attribute__((noinline)) void BoxIntegers2D(const T* src, int sw, T* dst, Dims d) {
    for (int y = 0; y < d.h; y++) {
        const T* r0 = src + (size_t)(2 * y) * sw * C;
        const T* r1 = r0 + (size_t)sw * C;
        T* out = dst + (size_t)y * d.w * C;
        for (int x = 0; x < d.w; x++, r0 += 2 * C, r1 += 2 * C, out += C)
            for (int c = 0; c < C; c++) out[c] = (T)((r0[c] + r0[C + c] + r1[c] + r1[C + c]) >> 2);
    }
}

template <class T>
void BoxIntegers2DChannels(const void* src, int sw, void* dst, Dims d, int channels) {
    const T* in = static_cast<const T*>(src);
    T* out = static_cast<T*>(dst);
    switch (channels) {
        case 1: BoxIntegers2D<T, 1>(in, sw, out, d); break;
        case 2: BoxIntegers2D<T, 2>(in, sw, out, d); break;
        case 3: BoxIntegers2D<T, 3>(in, sw, out, d); break;
        default: BoxIntegers2D<T, 4>(in, sw, out, d); break;
    }
}

template <class Ops>
void BoxLevelChannels(const void* src, Dims s, void* dst, Dims d, int channels) {
    typedef typename Ops::T T;
    const T* in = static_cast<const T*>(src);
    T* out = static_cast<T*>(dst);
    switch (channels) {
        case 1: BoxLevel<Ops, 1>(in, s, out, d); break;
        case 2: BoxLevel<Ops, 2>(in, s, out, d); break;
        case 3: BoxLevel<Ops, 3>(in, s, out, d); break;
        default: BoxLevel<Ops, 4>(in, s, out, d); break;
    }
}

void BoxFilter(int format, const unsigned char* src, Dims s, unsigned char* dst, Dims d) {
    int channels = cFormat::GetChannelCount(format);
    cFormat::Type type = cFormat::GetType(format);
    if (s.d == 1 && s.w > 1 && s.h > 1) {
        if (type == cFormat::TypeByte) {
            BoxIntegers2DChannels<unsigned char>(src, s.w, dst, d, channels);
            return;
        }
        if (type == cFormat::TypeShort) {
            BoxIntegers2DChannels<uint16_t>(src, s.w, dst, d, channels);
            return;
        }
    }
    switch (type) {
        case cFormat::TypeByte: BoxLevelChannels<ByteOps>(src, s, dst, d, channels); break;
        case cFormat::TypeShort: BoxLevelChannels<ShortOps>(src, s, dst, d, channels); break;
        case cFormat::TypeHalf: BoxLevelChannels<HalfOps>(src, s, dst, d, channels); break;
        default: BoxLevelChannels<FloatOps>(src, s, dst, d, channels); break;
    }
}

}  // namespace

bool cImage::CreateMipMaps(int count) {
    if (!cFormat::IsColor(Format) || !Pixels) return false;
    int full = GetMipMapCountFromDimensions();
    if (count > full) count = full;
    if (count < 1) count = 1;
    if (count != MipMapCount) {
        cImage chain;
        if (!chain.Create(Format, Width, Height, Depth, count)) return false;
        memcpy(chain.Pixels, Pixels, (size_t)CalcImageSize(Format, Width, Height, Depth, 1));
        Swap(chain);
    }
    for (int level = 1; level < MipMapCount; level++) {
        Dims s = {GetWidth(level - 1), GetHeight(level - 1), Depth == 0 ? 1 : GetDepth(level - 1)};
        Dims d = {GetWidth(level), GetHeight(level), Depth == 0 ? 1 : GetDepth(level)};
        int faces = GetFaceCount();
        for (int f = 0; f < faces; f++) BoxFilter(Format, GetSlice(level - 1, f), s, GetSlice(level, f), d);
    }
    return true;
}

bool cImage::RemoveMipMaps() {
    if (!Pixels) return false;
    if (MipMapCount <= 1) return true;
    cImage base;
    if (!base.Create(Format, Width, Height, Depth, 1)) return false;
    memcpy(base.Pixels, Pixels, (size_t)base.GetSize());
    Swap(base);
    return true;
}

bool cImage::CreateSevenLods(const char* path) {
    static const unsigned char colors[7][3] = {{255, 0, 0},  {255, 127, 0}, {255, 255, 0}, {0, 255, 0},
                                               {0, 0, 255}, {75, 0, 130},  {127, 0, 255}};
    if (!Create(cFormat::Rgb8, 64, 64, 1, 7)) return false;
    for (int level = 0; level < 7; level++) {
        unsigned char* p = GetPixels(level);
        for (int64_t i = 0, n = GetPixelCount(level, 1); i < n; i++) memcpy(p + i * 3, colors[level], 3);
    }
    if (!Compress()) return false;
    return path ? cIO::SaveImage(path, *this) : true;
}

}  // namespace zozud
