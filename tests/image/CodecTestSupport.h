// Test helpers for the image codecs: file bytes built field by field, codecs run over bytes, ImageMagick.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "support/Process.h"
#include "zozud/image/Image.h"
#include "zozud/io/Codec.h"

namespace codectest {

// Little-endian bytes appended field by field.
struct Bytes {
    std::string s;
    Bytes& U8(unsigned v) { s += char(v & 0xFF); return *this; }
    Bytes& U16(unsigned v) { return U8(v).U8(v >> 8); }
    Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& Raw(const std::string& r) { s += r; return *this; }
    Bytes& Zeros(size_t n) { s.append(n, '\0'); return *this; }
};

inline uint32_t U32At(const std::string& s, size_t at) {
    return (unsigned char)s[at] | (unsigned char)s[at + 1] << 8 | (unsigned char)s[at + 2] << 16 |
           uint32_t((unsigned char)s[at + 3]) << 24;
}

// A file a decoder must refuse, or one it reads to a known image.
struct BadFile {
    const char* what;
    std::string bytes;
};
struct KnownFile {
    const char* what;
    std::string bytes, shape, pixels = "";  // Shape() and PixelText() of the image read
};

inline bool Decode(zozud::cIO::ImageCodec& codec, const std::string& bytes, zozud::cImage* image) {
    zozud::cFile file;
    file.Copy(bytes.data(), (int)bytes.size(), "test");
    return codec.Decode(file, image);
}

// The bytes an encoder writes, or "" when it fails.
inline std::string Encode(zozud::cIO::ImageCodec& codec, const zozud::cImage& image) {
    zozud::cFile file;
    if (!codec.Encode(image, &file)) return "";
    return std::string((const char*)file.GetData(), (size_t)file.GetSize());
}

// An image whose whole buffer holds reproducible bytes.
inline zozud::cImage Filled(zozud::cFormat::Enum format, int w, int h, int d = 1, int levels = 1, unsigned seed = 1) {
    zozud::cImage image(format, w, h, d, levels);
    uint32_t v = seed * 2654435761u + 12345;
    for (int64_t i = 0; image.Pixels && i < image.GetSize(); i++) {
        v = v * 1664525u + 1013904223u;
        image.Pixels[i] = (unsigned char)(v >> 24);
    }
    return image;
}

inline std::string Buffer(const zozud::cImage& image) {
    return image.Pixels ? std::string((const char*)image.Pixels, (size_t)image.GetSize()) : std::string();
}

// "WxHxD Format levels N", the format by number when it has no name.
inline std::string Shape(const zozud::cImage& image) {
    const char* name = zozud::cFormat::ToString(image.Format);
    return std::to_string(image.Width) + "x" + std::to_string(image.Height) + "x" + std::to_string(image.Depth) + " " +
           (name ? name : std::to_string(image.Format)) + " levels " + std::to_string(image.MipMapCount);
}

// The 8-bit pixels of level 0 from row 0 (the bottom row) on, as "r,g,b r,g,b ...".
inline std::string PixelText(const zozud::cImage& image) {
    int n = zozud::cFormat::GetBytesPerPixel(image.Format);
    std::string out;
    for (int64_t i = 0; image.Pixels && n > 0 && i < image.GetPixelCount(0, 1) * n; i++)
        out += (i == 0 ? "" : i % n ? "," : " ") + std::to_string(image.Pixels[i]);
    return out;
}

// Reads every known file to its shape and pixels.
template <size_t N>
void ExpectReads(zozud::cIO::ImageCodec& codec, const KnownFile (&cases)[N]) {
    for (const auto& c : cases) {
        zozud::cImage image(zozud::cFormat::Rgb8, 2, 2);
        ASSERT_TRUE(Decode(codec, c.bytes, &image)) << c.what;
        EXPECT_EQ(Shape(image), c.shape) << c.what;
        EXPECT_EQ(PixelText(image), c.pixels) << c.what;
    }
}

// The largest resident size the process has reached so far, in KiB.
inline long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---- ImageMagick ----

inline bool HaveMagick() {
    static const bool have = std::system("convert -version >/dev/null 2>&1") == 0;
    return have;
}

// What ImageMagick reads from a file, as 8-bit RGBA rows from the top row
// down (-auto-orient applies the row order a TGA file declares).
inline std::string MagickRgba(const std::string& path) {
    return testsupport::Shell("convert '" + path + "' -auto-orient -depth 8 rgba:- 2>/dev/null");
}

// Our image in the same form: R8 as grey, alpha 255 where the format has none.
inline std::string TopDownRgba(const zozud::cImage& image) {
    zozud::cImage rgba(image);
    return rgba.ToFormat(zozud::cFormat::Rgba8) && rgba.Flip() ? Buffer(rgba) : "";
}

// The largest difference of two equally long byte strings, -1 when the lengths differ.
inline int MaxDifference(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return -1;
    int worst = 0;
    for (size_t i = 0; i < a.size(); i++) worst = std::max(worst, std::abs((unsigned char)a[i] - (unsigned char)b[i]));
    return worst;
}

}  // namespace codectest
