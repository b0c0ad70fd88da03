// cImage: construction, ownership of the one pixel buffer, and the size and
// offset rules every other image operation and codec relies on.
#include "zozud/image/Image.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "zozud/math/Rect.h"

namespace zozud {

namespace {

// Sizes saturate here, far above MaxBytes, so that no product can overflow.
const int64_t kSizeCap = int64_t(1) << 62;

int64_t MulSat(int64_t a, int64_t b) {
    if (a <= 0 || b <= 0) return 0;
    return a > kSizeCap / b ? kSizeCap : a * b;
}

int64_t AddSat(int64_t a, int64_t b) { return a > kSizeCap - b ? kSizeCap : a + b; }

int LevelDim(int n, int level) {
    if (n < 1) return 1;
    if (level < 0) level = 0;
    if (level > 31) return 1;
    int v = n >> level;
    return v < 1 ? 1 : v;
}

// Bytes of one slice of w x h pixels; the PVR formats count at least 32.
int64_t SliceBytes(int format, int w, int h) {
    int bpp = cFormat::GetBytesPerPixel(format);
    if (bpp > 0) return MulSat(MulSat(w, h), bpp);
    int block = cFormat::GetBlockBytes(format);
    if (block <= 0) return 0;
    int64_t bytes = MulSat(MulSat(((int64_t)w + 3) / 4, ((int64_t)h + 3) / 4), block);
    int floor = cFormat::GetMinLevelBytes(format);
    return bytes < floor ? floor : bytes;
}

// Levels of a chain until (and including) the first 1x1x1 level, at most `levels`.
int EffectiveLevels(int width, int height, int depth, int levels) {
    int d = depth < 1 ? 1 : depth;
    for (int n = 0; n < levels; n++)
        if (LevelDim(width, n) == 1 && LevelDim(height, n) == 1 && LevelDim(d, n) == 1) return n + 1;
    return levels;
}

}  // namespace

// ---- Construction and storage ----

cImage::cImage(cFormat::Enum format, int width, int height, int depth, int levels) {
    Create(format, width, height, depth, levels);
}

cImage::cImage(const cImage& other) { Copy(other); }

cImage::cImage(cImage&& other) noexcept { Swap(other); }

cImage::cImage(ECopyCtor, const void* data, cFormat::Enum format, int width, int height, int depth, int levels) {
    Copy(data, format, width, height, depth, levels);
}

cImage::cImage(ESetCtor, void* data, cFormat::Enum format, int width, int height, int depth, int levels) {
    Set(data, format, width, height, depth, levels);
}

cImage::cImage(const cImage& source, const cRect& rect) { Copy(source, rect); }

cImage::~cImage() { FreePixels(Pixels); }

cImage& cImage::operator=(const cImage& other) {
    Copy(other);
    return *this;
}

cImage& cImage::operator=(cImage&& other) noexcept {
    if (this != &other) {
        Free();
        Swap(other);
    }
    return *this;
}

unsigned char* cImage::AllocPixels(int64_t bytes) {
    if (bytes <= 0 || bytes > MaxBytes) return nullptr;
    return static_cast<unsigned char*>(malloc((size_t)bytes));
}

void cImage::FreePixels(void* pixels) { free(pixels); }

bool cImage::Create(cFormat::Enum format, int width, int height, int depth, int levels) {
    Free();
    if (!cFormat::IsValid(format)) return false;
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    if (depth < 0) depth = 1;
    if (levels < 1) levels = 1;
    levels = EffectiveLevels(width, height, depth, levels);
    int64_t bytes = CalcImageSize(format, width, height, depth, levels);
    if (bytes > MaxBytes) return false;
    unsigned char* pixels = nullptr;
    if (bytes > 0 && !(pixels = AllocPixels(bytes))) return false;
    Width = width;
    Height = height;
    Depth = depth;
    Format = format;
    MipMapCount = levels;
    Pixels = pixels;
    return true;
}

bool cImage::Copy(const cImage& other) {
    if (this == &other) return true;
    cImage copy;
    if (other.Pixels) {
        if (!copy.Create(other.Format, other.Width, other.Height, other.Depth, other.MipMapCount)) return false;
        memcpy(copy.Pixels, other.Pixels, (size_t)copy.GetSize());
    } else {
        copy.Width = other.Width;
        copy.Height = other.Height;
        copy.Depth = other.Depth;
        copy.Format = other.Format;
        copy.MipMapCount = other.MipMapCount;
    }
    Swap(copy);
    return true;
}

bool cImage::Copy(const void* data, cFormat::Enum format, int width, int height, int depth, int levels) {
    if (!data) {
        Free();
        return false;
    }
    if (!Create(format, width, height, depth, levels)) return false;
    if (Pixels) memcpy(Pixels, data, (size_t)GetSize());
    return true;
}

bool cImage::Copy(const cImage& source, const cRect& rect) {
    if (this == &source) {
        cImage copy(source);
        return Copy(copy, rect);
    }
    Free();
    if (!cFormat::IsColor(source.Format) || !source.Pixels) return false;
    // Checked as floats first: converting NaN or a huge value to int is undefined.
    if (!(rect.x0 >= 0 && rect.y0 >= 0 && rect.x1 <= (float)source.Width && rect.y1 <= (float)source.Height))
        return false;
    int x0 = (int)rect.x0, y0 = (int)rect.y0, x1 = (int)rect.x1, y1 = (int)rect.y1;
    if (x1 > source.Width || y1 > source.Height || x1 <= x0 || y1 <= y0) return false;
    if (!Create(source.Format, x1 - x0, y1 - y0, 1, 1)) return false;
    int bpp = cFormat::GetBytesPerPixel(Format);
    size_t srcRow = (size_t)source.Width * bpp, dstRow = (size_t)Width * bpp;
    for (int y = 0; y < Height; y++)
        memcpy(Pixels + y * dstRow, source.Pixels + (size_t)(y0 + y) * srcRow + (size_t)x0 * bpp, dstRow);
    return true;
}

void cImage::Set(void* data, cFormat::Enum format, int width, int height, int depth, int levels) {
    if (data != Pixels) FreePixels(Pixels);
    Pixels = static_cast<unsigned char*>(data);
    Width = width < 1 ? 1 : width;
    Height = height < 1 ? 1 : height;
    Depth = depth < 0 ? 1 : depth;
    Format = format;
    MipMapCount = EffectiveLevels(Width, Height, Depth, levels < 1 ? 1 : levels);
}

void cImage::Free() {
    FreePixels(Pixels);
    Pixels = nullptr;
    Width = Height = Depth = MipMapCount = 0;
    Format = cFormat::None;
}

void cImage::Swap(cImage& other) {
    std::swap(Width, other.Width);
    std::swap(Height, other.Height);
    std::swap(Depth, other.Depth);
    std::swap(Format, other.Format);
    std::swap(MipMapCount, other.MipMapCount);
    std::swap(Pixels, other.Pixels);
}

// ---- Sizes and access ----

int cImage::GetWidth(int level) const { return LevelDim(Width, level); }
int cImage::GetHeight(int level) const { return LevelDim(Height, level); }
int cImage::GetDepth(int level) const { return Depth < 1 ? 1 : LevelDim(Depth, level); }
int cImage::GetSliceCount(int level) const { return Depth == 0 ? 6 : GetDepth(level); }

int64_t cImage::CalcImageSize(int format, int width, int height, int depth, int levels) {
    if (levels < 1) return 0;
    int slices = depth < 1 ? 1 : depth;
    int64_t total = 0;
    for (int n = 0; n < levels; n++) {
        int w = LevelDim(width, n), h = LevelDim(height, n), d = LevelDim(slices, n);
        total = AddSat(total, MulSat(SliceBytes(format, w, h), d));
        if (w == 1 && h == 1 && d == 1) break;
    }
    return depth == 0 ? MulSat(total, 6) : total;
}

int cImage::CalcMipMapCount(int width, int height) {
    int n = width > height ? width : height;
    if (n < 1) return 0;
    int count = 0;
    while (n) {
        count++;
        n >>= 1;
    }
    return count;
}

int cImage::GetMipMapCountFromDimensions() const { return CalcMipMapCount(Width, Height); }

int64_t cImage::GetSliceSize(int level, int format) const {
    return SliceBytes(format ? format : Format, GetWidth(level), GetHeight(level));
}

int64_t cImage::GetRowSize(int level, int format) const {
    int f = format ? format : Format;
    if (cFormat::GetBlockBytes(f) > 0) {
        int64_t bytes = MulSat((GetWidth(level) + 3) / 4, cFormat::GetBlockBytes(f));
        int floor = cFormat::GetMinLevelBytes(f);
        return bytes < floor ? floor : bytes;
    }
    return SliceBytes(f, GetWidth(level), 1);
}

int64_t cImage::GetMipMappedSize(int level, int levels, int format) const {
    if (level < 0) return 0;
    int depth = Depth == 0 ? 0 : GetDepth(level);
    return CalcImageSize(format ? format : Format, GetWidth(level), GetHeight(level), depth, levels);
}

int64_t cImage::GetPixelCount(int level, int levels) const {
    if (level < 0) return 0;
    int64_t total = 0;
    for (int n = level; (int64_t)n < (int64_t)level + levels && n <= 32; n++) {
        int w = GetWidth(n), h = GetHeight(n), d = GetDepth(n);
        total = AddSat(total, MulSat(MulSat(w, h), d));
        if (w == 1 && h == 1 && d == 1) break;
    }
    return Depth == 0 ? MulSat(total, 6) : total;
}

unsigned char* cImage::GetPixels(int level) {
    if (!Pixels || level < 0 || level >= MipMapCount) return nullptr;
    return Pixels + CalcImageSize(Format, Width, Height, Depth, level);
}

const unsigned char* cImage::GetPixels(int level) const { return const_cast<cImage*>(this)->GetPixels(level); }

unsigned char* cImage::GetSlice(int level, int slice) {
    unsigned char* base = GetPixels(level);
    if (!base || slice < 0 || slice >= GetSliceCount(level)) return nullptr;
    return base + slice * GetSliceSize(level);
}

const unsigned char* cImage::GetSlice(int level, int slice) const {
    return const_cast<cImage*>(this)->GetSlice(level, slice);
}

}  // namespace zozud
