// cImage: resampling. Rescale maps the corners of the source onto the corners
// of the target: with linear sampling output index i reads the source at
// i * (src - 1) / max(dst - 1, 1) and blends the two neighbours on each axis
// (trilinear through slices), truncating to the channel type; without it,
// output index i takes source index i * (src - 1) / dst (integer division).
#include "zozud/image/Image.h"

#include <cstddef>
#include <memory>
#include <new>

namespace zozud {

namespace {

struct Tap {
    int   i0, i1;
    float f;
};

// Tap tables come from non-throwing allocations: null when memory runs out.
std::unique_ptr<Tap[]> LinearTaps(int src, int dst) {
    std::unique_ptr<Tap[]> taps(new (std::nothrow) Tap[(size_t)dst]);
    if (!taps) return taps;
    float scale = (float)(src - 1) / (float)(dst - 1 > 1 ? dst - 1 : 1);
    for (int i = 0; i < dst; i++) {
        float s = (float)i * scale;
        int i0 = (int)s;
        if (i0 > src - 1) i0 = src - 1;
        taps[i] = {i0, i0 + 1 < src - 1 ? i0 + 1 : src - 1, s - (float)i0};
    }
    return taps;
}

std::unique_ptr<int[]> NearestTaps(int src, int dst) {
    std::unique_ptr<int[]> taps(new (std::nothrow) int[(size_t)dst]);
    if (!taps) return taps;
    for (int i = 0; i < dst; i++) taps[i] = (int)((int64_t)i * (src - 1) / dst);
    return taps;
}

template <class T>
inline T Truncate(float v) {
    return (T)v;
}
template <>
inline unsigned char Truncate<unsigned char>(float v) {
    return !(v > 0.0f) ? 0 : (v >= 255.0f ? 255 : (unsigned char)v);
}
template <>
inline unsigned short Truncate<unsigned short>(float v) {
    return !(v > 0.0f) ? 0 : (v >= 65535.0f ? 65535 : (unsigned short)v);
}

inline float Lerp(float a, float b, float f) { return a + (b - a) * f; }

template <class T>
bool RescaleLinear(const T* src, T* dst, int sw, int sh, int sd, int dw, int dh, int dd, int ch) {
    std::unique_ptr<Tap[]> tx = LinearTaps(sw, dw), ty = LinearTaps(sh, dh), tz = LinearTaps(sd, dd);
    if (!tx || !ty || !tz) return false;
    size_t rowSize = (size_t)sw * ch, sliceSize = rowSize * sh;
    for (int z = 0; z < dd; z++) {
        const T* z0 = src + tz[z].i0 * sliceSize;
        const T* z1 = src + tz[z].i1 * sliceSize;
        for (int y = 0; y < dh; y++) {
            const T* rows[4] = {z0 + ty[y].i0 * rowSize, z0 + ty[y].i1 * rowSize, z1 + ty[y].i0 * rowSize,
                                z1 + ty[y].i1 * rowSize};
            for (int x = 0; x < dw; x++) {
                size_t a = (size_t)tx[x].i0 * ch, b = (size_t)tx[x].i1 * ch;
                for (int c = 0; c < ch; c++) {
                    float r[4];
                    for (int k = 0; k < 4; k++) r[k] = Lerp((float)rows[k][a + c], (float)rows[k][b + c], tx[x].f);
                    float v = Lerp(Lerp(r[0], r[1], ty[y].f), Lerp(r[2], r[3], ty[y].f), tz[z].f);
                    *dst++ = Truncate<T>(v);
                }
            }
        }
    }
    return true;
}

template <class T>
bool RescaleNearest(const T* src, T* dst, int sw, int sh, int sd, int dw, int dh, int dd, int ch) {
    std::unique_ptr<int[]> tx = NearestTaps(sw, dw), ty = NearestTaps(sh, dh), tz = NearestTaps(sd, dd);
    if (!tx || !ty || !tz) return false;
    for (int z = 0; z < dd; z++)
        for (int y = 0; y < dh; y++) {
            const T* row = src + ((size_t)tz[z] * sh + ty[y]) * sw * ch;
            for (int x = 0; x < dw; x++)
                for (int c = 0; c < ch; c++) *dst++ = row[(size_t)tx[x] * ch + c];
        }
    return true;
}

// The next power of two at or above n (n >= 1, at most 2^30).
int NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

template <class T>
bool cImage::Rescale(const T* src, T* dst, int srcW, int srcH, int srcD, int dstW, int dstH, int dstD,
                     int channels, bool linear) {
    if (!src || !dst || srcW < 1 || srcH < 1 || srcD < 1 || dstW < 1 || dstH < 1 || dstD < 1 || channels < 1)
        return false;
    if (linear) return RescaleLinear(src, dst, srcW, srcH, srcD, dstW, dstH, dstD, channels);
    return RescaleNearest(src, dst, srcW, srcH, srcD, dstW, dstH, dstD, channels);
}

template bool cImage::Rescale<unsigned char>(const unsigned char*, unsigned char*, int, int, int, int, int, int,
                                             int, bool);
template bool cImage::Rescale<unsigned short>(const unsigned short*, unsigned short*, int, int, int, int, int,
                                              int, int, bool);
template bool cImage::Rescale<float>(const float*, float*, int, int, int, int, int, int, int, bool);

bool cImage::Resize(int width, int height) {
    if (width < 1 || height < 1 || !Pixels || IsCube()) return false;
    const cImage* src = this;
    cImage plain;
    if (cFormat::IsDxt(Format)) {
        if (!plain.Copy(*this) || !plain.RemoveMipMaps() || !plain.Uncompress()) return false;
        src = &plain;
    }
    if (!cFormat::IsColor(src->Format)) return false;
    cImage out;
    if (!out.Create(src->Format, width, height, src->Depth, 1)) return false;
    const int channels = cFormat::GetChannelCount(src->Format), depth = src->GetDepth(0);
    const int sw = src->Width, sh = src->Height;
    const void* in = src->Pixels;
    bool done;
    switch (cFormat::GetType(src->Format)) {
        case cFormat::TypeByte:
            done = Rescale((const unsigned char*)in, out.Pixels, sw, sh, depth, width, height, depth, channels, true);
            break;
        case cFormat::TypeFloat:
            done = Rescale((const float*)in, (float*)out.Pixels, sw, sh, depth, width, height, depth, channels, true);
            break;
        default:  // 16-bit integers blend, half floats take the nearest sample
            done = Rescale((const unsigned short*)in, (unsigned short*)out.Pixels, sw, sh, depth, width, height, depth,
                           channels, cFormat::GetType(src->Format) == cFormat::TypeShort);
            break;
    }
    if (!done) return false;
    Swap(out);
    return true;
}

bool cImage::MakePowerOfTwo() {
    if (!Pixels) return false;
    if (IsPowerOfTwo(Width) && IsPowerOfTwo(Height)) return true;
    int size[2] = {Width, Height};
    for (int& n : size) {
        int p = NextPowerOfTwo(n);
        if ((int64_t)3 * p > (int64_t)4 * n) p /= 2;
        n = p;
    }
    return Resize(size[0], size[1]);
}

}  // namespace zozud
