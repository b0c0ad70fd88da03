// Test helpers for the image codecs: building file bytes field by field,
// running a codec over bytes, reading pixels, and asking ImageMagick (an
// independent implementation) to write files and to dump what it reads.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

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
    return uint32_t((unsigned char)s[at]) | uint32_t((unsigned char)s[at + 1]) << 8 |
           uint32_t((unsigned char)s[at + 2]) << 16 | uint32_t((unsigned char)s[at + 3]) << 24;
}
inline unsigned U16At(const std::string& s, size_t at) {
    return unsigned((unsigned char)s[at]) | unsigned((unsigned char)s[at + 1]) << 8;
}

inline bool Decode(zozud::cIO::ImageCodec& codec, const std::string& bytes, zozud::cImage* image) {
    zozud::cFile file;
    file.Copy(bytes.data(), (int)bytes.size(), "test");
    return codec.Decode(file, image);
}

// The bytes an encoder writes, or "" when it fails.
inline std::string Encode(zozud::cIO::ImageCodec& codec, const zozud::cImage& image, bool* ok = nullptr) {
    zozud::cFile file;
    bool done = codec.Encode(image, &file);
    if (ok) *ok = done;
    return done ? std::string((const char*)file.GetData(), (size_t)file.GetSize()) : std::string();
}

// Pixel (x, y) of level 0, slice 0; y counts from the bottom row.
inline const unsigned char* Px(const zozud::cImage& image, int x, int y) {
    return image.Pixels + (y * (int64_t)image.Width + x) * zozud::cFormat::GetBytesPerPixel(image.Format);
}

inline std::string PixelString(const zozud::cImage& image, int x, int y) {
    int n = zozud::cFormat::GetBytesPerPixel(image.Format);
    std::string out;
    for (int i = 0; i < n; i++) out += std::to_string(Px(image, x, y)[i]) + (i + 1 < n ? "," : "");
    return out;
}

// Fills the whole buffer with reproducible bytes.
inline void Fill(zozud::cImage* image, unsigned seed) {
    uint32_t v = seed * 2654435761u + 12345;
    for (int64_t i = 0; i < image->GetSize(); i++) {
        v = v * 1664525u + 1013904223u;
        image->Pixels[i] = (unsigned char)(v >> 24);
    }
}

inline std::string Buffer(const zozud::cImage& image) {
    return image.Pixels ? std::string((const char*)image.Pixels, (size_t)image.GetSize()) : std::string();
}

// ---- ImageMagick ----

inline bool HaveMagick() {
    static int have = -1;
    if (have < 0) have = std::system("convert -version >/dev/null 2>&1") == 0 ? 1 : 0;
    return have == 1;
}

#define SKIP_WITHOUT_MAGICK() \
    if (!codectest::HaveMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed"

// Runs convert with the arguments; true when it succeeded.
inline bool Magick(const std::string& args) {
    int status = -1;
    testsupport::Shell("convert " + args + " 2>/dev/null", &status);
    return status == 0;
}

// What ImageMagick reads from a file, as 8-bit RGBA rows from the top row
// down. ImageMagick keeps a TGA file's row order as an orientation tag and
// dumps rows in file order; -auto-orient applies the tag.
inline std::string MagickRgba(const std::string& path) {
    return testsupport::Shell("convert '" + path + "' -auto-orient -depth 8 rgba:- 2>/dev/null");
}

// Our image as 8-bit RGBA rows from the top row down (R8 as grey, alpha 255
// where the format has none), for comparing with MagickRgba.
inline std::string TopDownRgba(const zozud::cImage& image) {
    int n = zozud::cFormat::GetBytesPerPixel(image.Format);
    std::string out;
    for (int y = image.Height - 1; y >= 0; y--)
        for (int x = 0; x < image.Width; x++) {
            const unsigned char* p = Px(image, x, y);
            unsigned char rgba[4] = {p[0], n >= 3 ? p[1] : p[0], n >= 3 ? p[2] : p[0],
                                     n == 4 ? p[3] : (unsigned char)255};
            out.append((const char*)rgba, 4);
        }
    return out;
}

// Equal byte strings, or a short account of the first difference.
inline ::testing::AssertionResult SameBytes(const std::string& a, const std::string& b) {
    if (a == b) return ::testing::AssertionSuccess();
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes differ: " << a.size() << " and " << b.size();
    size_t i = 0;
    while (a[i] == b[i]) i++;
    return ::testing::AssertionFailure() << "first difference at byte " << i << ": "
                                         << (int)(unsigned char)a[i] << " and " << (int)(unsigned char)b[i];
}

// The largest difference of two equally long byte strings, -1 when the lengths differ.
inline int MaxDifference(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return -1;
    int worst = 0;
    for (size_t i = 0; i < a.size(); i++) {
        int d = std::abs((int)(unsigned char)a[i] - (int)(unsigned char)b[i]);
        if (d > worst) worst = d;
    }
    return worst;
}

}  // namespace codectest
