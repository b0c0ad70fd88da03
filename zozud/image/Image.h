// cImage: the framework's one in-memory image: a 2D image, a volume or a cube
// map, with an optional mip chain, in one owned allocation.
// Row 0 is the BOTTOM row of the picture (texture convention). The buffer holds
// level 0, then level 1, ...; within a level the cube faces or volume slices
// follow one another. Depth 0 marks a cube map (six faces one slice deep).
// Operations that cannot handle a format return false and leave the image as
// it was; sizes are 64-bit and images above MaxBytes are refused.
#pragma once

#include <cstdint>

#include "zozud/image/Format.h"

namespace zozud {

class cRect;

// How Compress encodes DXT colour and alpha blocks. Fast is the default: one
// fit per cell, endpoints truncated to 5-6-5. Quality rounds the endpoints,
// picks indices against the palette as a GPU decodes it and refits the
// endpoints by least squares, matches one-colour cells as closely as the
// format allows, and gives alpha blocks the better of the 8- and 6-value
// modes: a third of the error on smooth gradients, a quarter less on
// photographs, in two to three times the time.
enum class cDxtQuality { Fast, Quality };

class cImage {
public:
    enum ECopyCtor { CopyCtor };  // constructor tag: copy the given pixels
    enum ESetCtor { SetCtor };    // constructor tag: adopt the given buffer

    static constexpr int64_t MaxBytes = int64_t(1) << 31;  // largest buffer an image allocates (2 GiB)

    // Fields, public for codecs and the renderer. Change the sizes only
    // together with the buffer (Create, Set, Free keep them consistent).
    int            Width       = 0;  // pixels of level 0
    int            Height      = 0;
    int            Depth       = 0;  // slices of level 0; 1 for 2D; 0 for a cube map
    cFormat::Enum  Format      = cFormat::None;
    int            MipMapCount = 0;  // levels stored (1 = level 0 only)
    unsigned char* Pixels      = nullptr;  // all levels of all faces; from AllocPixels

    // ---- Construction and storage ----
    cImage() = default;
    cImage(cFormat::Enum format, int width, int height, int depth = 1, int levels = 1);
    cImage(const cImage& other);
    cImage(cImage&& other) noexcept;
    cImage(ECopyCtor, const void* data, cFormat::Enum format, int width, int height, int depth = 1, int levels = 1);
    cImage(ESetCtor, void* data, cFormat::Enum format, int width, int height, int depth = 1, int levels = 1);
    cImage(const cImage& source, const cRect& rect);
    ~cImage();
    cImage& operator=(const cImage& other);
    cImage& operator=(cImage&& other) noexcept;

    // Frees the old buffer, stores the fields and allocates the whole chain
    // (contents undefined). Width and height are raised to 1, a negative depth
    // counts as 1. False (image empty) for a format outside 1..24 or a size
    // above MaxBytes.
    bool Create(cFormat::Enum format, int width, int height, int depth = 1, int levels = 1);
    bool Copy(const cImage& other);  // deep copy
    bool Copy(const void* data, cFormat::Enum format, int width, int height, int depth = 1, int levels = 1);
    bool Copy(const cImage& source, const cRect& rect);  // level 0 rectangle of an uncompressed source, as 2D
    // Adopts data (allocated with AllocPixels) without copying; the image frees it.
    void Set(void* data, cFormat::Enum format, int width, int height, int depth = 1, int levels = 1);
    void Free();  // releases the buffer and zeroes the size fields
    void Swap(cImage& other);

    static unsigned char* AllocPixels(int64_t bytes);  // null for bytes < 0 or > MaxBytes
    static void           FreePixels(void* pixels);

    // ---- Sizes and access ----
    bool IsEmpty() const  { return Pixels == nullptr; }
    bool IsCube() const   { return Depth == 0; }
    bool IsVolume() const { return Depth > 1; }
    int  GetFaceCount() const { return Depth == 0 ? 6 : 1; }
    int  GetWidth(int level = 0) const;   // max(1, Width >> level)
    int  GetHeight(int level = 0) const;
    int  GetDepth(int level = 0) const;   // slices of the level; 1 for a cube face
    int  GetSliceCount(int level = 0) const;  // slices, or 6 faces for a cube map

    // Bytes of the first `levels` levels; stops after a 1x1x1 level; 0 for
    // levels < 1; depth 0 counts one slice times 6; saturates far above MaxBytes.
    static int64_t CalcImageSize(int format, int width, int height, int depth, int levels);
    static int     CalcMipMapCount(int width, int height);  // floor(log2(max(w, h))) + 1, 0 when both < 1
    int64_t GetSize() const { return CalcImageSize(Format, Width, Height, Depth, MipMapCount); }
    // A format argument of 0 means the image's own format.
    int64_t GetSliceSize(int level = 0, int format = 0) const;  // one slice or face of the level
    int64_t GetRowSize(int level = 0, int format = 0) const;    // a row of pixels, or of blocks
    int64_t GetMipMappedSize(int level, int levels, int format = 0) const;
    int64_t GetPixelCount(int level = 0, int levels = 1) const;  // pixels, times 6 for a cube map
    int     GetMipMapCountFromDimensions() const;

    unsigned char*       GetPixels(int level = 0);  // null when level is not below MipMapCount
    const unsigned char* GetPixels(int level = 0) const;
    unsigned char*       GetSlice(int level, int slice);  // slice of a volume or face of a cube; null outside
    const unsigned char* GetSlice(int level, int slice) const;

    // ---- Per-pixel operations (colour formats 1 to 16) ----
    bool ToFormat(cFormat::Enum format);         // through float RGBA; formats 1..16 only
    bool SwapChannels(int a, int b);
    bool InvertChannel(int channel);
    bool CopyChannel(int from, int to);
    bool RemoveChannels(bool r, bool g, bool b, bool a);  // keeps flagged channels in order
    bool ToGrayScale();                          // 8/16-bit, 3+ channels -> R8 / R16
    bool MergeRgb8(const cImage& source, int x, int y);  // Rgb8 into Rgb8 at (x, y), clipped

    // ---- Levels ----
    bool CreateMipMaps(int count = 1000);  // 2x2x2 box filter; count clamped to the full chain
    bool RemoveMipMaps();

    // ---- Block compression ----
    // Rgba8 -> Dxt5, R8 and Rgb8 -> Dxt1 (R8 cells take the grey encoder in
    // either mode); true for block data; false for other formats.
    bool Compress(cDxtQuality quality = cDxtQuality::Fast);
    bool Uncompress();  // Dxt1 -> Rgb8, Dxt3 and Dxt5 -> Rgba8; true for colour formats; false for PVR

    // Block encoders over a cell of width x height (1..4) pixels; pixelStride
    // and rowStride in bytes. The 64-bit blocks are little-endian in memory.
    static uint64_t EncodeDXTColorBlock(int width, int height, int pixelStride, int rowStride, const unsigned char* pixels);
    static uint64_t EncodeDXT5AlphaBlock(int width, int height, int pixelStride, int rowStride, const unsigned char* alpha);
    static uint64_t EncodeGrayDXTColorBlock(int width, int height, int pixelStride, int rowStride, const unsigned char* grey);
    // The quality-mode colour and alpha encoders (see cDxtQuality).
    static uint64_t EncodeDXTColorBlockQuality(int width, int height, int pixelStride, int rowStride,
                                               const unsigned char* pixels);
    static uint64_t EncodeDXT5AlphaBlockQuality(int width, int height, int pixelStride, int rowStride,
                                                const unsigned char* alpha);
    // Block decoders to 16 pixels, row 0 first. The colour decoder writes RGBA
    // (4 bytes a pixel): four colours when colour0 > colour1 or when
    // alwaysFourColors (DXT3 and DXT5 blocks), else three and transparent black.
    static void DecodeDXTColorBlock(uint64_t block, bool alwaysFourColors, unsigned char* rgba);
    static void DecodeDXT3AlphaBlock(uint64_t block, unsigned char* alpha);
    static void DecodeDXT5AlphaBlock(uint64_t block, unsigned char* alpha);

    // ---- Geometry ----
    // Every level, face and slice upside down, at any size. DXT levels whose
    // height is neither a multiple of 4 nor below 4 are decoded, turned over
    // and encoded again (lossy); all others lose nothing. False for formats
    // other than colour and DXT, and when scratch memory cannot be had.
    bool Flip();
    // Bilinear (trilinear through slices; nearest for half floats); depth
    // kept, one level left; DXT data comes back uncompressed; cube maps fail.
    bool Resize(int width, int height);
    // Instantiated for unsigned char, unsigned short and float. False for
    // sizes below 1 or when its tables cannot be allocated.
    template <class T>
    static bool Rescale(const T* src, T* dst, int srcW, int srcH, int srcD, int dstW, int dstH, int dstD,
                        int channels, bool linear);
    bool MakePowerOfTwo();
    // Lays the slices of a volume out as one 2D image (level 0, uncompressed
    // formats): slice 0 at the top of the picture, the next ones below it, or
    // in a square grid read like text when square is set (the slice count must
    // be a perfect square). slicesPerImage, when given, receives the number of
    // slices side by side in one row of the result.
    bool Make2D(bool square, int* slicesPerImage = nullptr);
    // A 64x64 Rgb8 texture of 7 solid-coloured levels, compressed to Dxt1;
    // saved through the image codecs when a path is given.
    bool CreateSevenLods(const char* path = nullptr);
    // A tangent-space normal map of the heights (luminance) of level 0 into
    // format (2 to 4 channels); wrap samples across the edges for tiling.
    bool ToNormalMap(cFormat::Enum format, float scale, bool wrap = false);
};

}  // namespace zozud
