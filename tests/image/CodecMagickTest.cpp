// The BMP, TGA and DDS codecs against ImageMagick, an independent implementation, both ways.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using namespace codectest;

namespace {

cCodecBmp s_Bmp;
cCodecTga s_Tga;
cCodecDds s_Dds;

cIO::ImageCodec& CodecOf(const std::string& path) {
    if (path.find(".bmp") != std::string::npos) return s_Bmp;
    return path.find(".tga") != std::string::npos ? static_cast<cIO::ImageCodec&>(s_Tga) : s_Dds;
}

}  // namespace

TEST(CodecMagick, WeReadWhatImageMagickWrites) {
    if (!HaveMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    testsupport::TempDir dir;
    const std::string plasma = "-seed 7 -size 13x7 plasma:fractal ", alpha = "-alpha set -channel A -fx '(i+j)/20' ";
    const std::string bmp = "-compress none BMP3:", raw = "-define dds:compression=none -define dds:mipmaps=0 ";
    const struct {
        const char*   file;
        std::string   options;
        cFormat::Enum format;
        int           bmpBits, levels, tolerance;  // DXT endpoints: we shift 5-6-5, ImageMagick scales
    } cases[] = {
        {"24.bmp", plasma + bmp, cFormat::Rgb8, 24, 1, 0},
        {"32.bmp", plasma + alpha + "+channel -define bmp3:alpha=true " + bmp, cFormat::Rgba8, 32, 1, 0},
        {"8.bmp", plasma + "-colors 100 -type palette " + bmp, cFormat::Rgb8, 8, 1, 0},
        {"4.bmp", plasma + "-colors 9 -type palette " + bmp, cFormat::Rgb8, 4, 1, 0},
        {"1.bmp", plasma + "-colors 2 -type palette " + bmp, cFormat::Rgb8, 1, 1, 0},
        // ImageMagick's own default: 124-byte info headers, pixels at the data offset.
        {"v5-32.bmp", plasma + alpha + "+channel -compress none ", cFormat::Rgba8, 32, 1, 0},
        {"v5-8.bmp", plasma + "-colors 100 -type palette -compress none ", cFormat::Rgb8, 8, 1, 0},
        {"rgb.tga", plasma, cFormat::Rgb8, 0, 1, 0},
        {"rgb-rle.tga", plasma + "-compress RLE ", cFormat::Rgb8, 0, 1, 0},
        {"rgba.tga", plasma + alpha + "+channel ", cFormat::Rgba8, 0, 1, 0},
        {"rgba-rle.tga", plasma + alpha + "+channel -compress RLE ", cFormat::Rgba8, 0, 1, 0},
        {"grey.tga", plasma + "-colorspace gray ", cFormat::R8, 0, 1, 0},
        {"mapped.tga", plasma + "-colors 50 -type palette ", cFormat::Rgb8, 0, 1, 0},
        {"mapped-rle.tga", plasma + "-colors 50 -type palette -compress RLE ", cFormat::Rgb8, 0, 1, 0},
        {"grey-rle.tga", "-size 64x9 xc:gray40 -fill white -draw 'point 3,3' -type grayscale -compress RLE ",
         cFormat::R8, 0, 1, 0},
        {"rgb.dds", plasma + raw, cFormat::Rgb8, 0, 1, 0},
        {"rgba.dds", plasma + alpha + "+channel " + raw, cFormat::Rgba8, 0, 1, 0},
        {"dxt1.dds", "-seed 7 -size 16x8 plasma:fractal -define dds:compression=dxt1 ", cFormat::Dxt1, 0, 5, 8},
        {"dxt5.dds", "-seed 7 -size 16x12 plasma:fractal " + alpha + "+channel -define dds:compression=dxt5 " +
                         "-define dds:mipmaps=0 ", cFormat::Dxt5, 0, 1, 8},
    };
    for (const auto& c : cases) {
        std::string path = dir / c.file;
        int status = -1;
        testsupport::Shell("convert " + c.options + path + " 2>/dev/null", &status);
        ASSERT_EQ(status, 0) << c.file;
        std::string bytes = testsupport::ReadFile(path);
        ASSERT_TRUE(!c.bmpBits || (U32At(bytes, 28) & 0xFFFF) == (unsigned)c.bmpBits) << c.file << ": another depth";
        cImage image;
        ASSERT_TRUE(Decode(CodecOf(path), bytes, &image)) << c.file;
        EXPECT_EQ(image.Format, c.format) << c.file;
        EXPECT_EQ(image.MipMapCount, c.levels) << c.file;
        ASSERT_TRUE(image.Uncompress() && image.RemoveMipMaps());
        int difference = MaxDifference(TopDownRgba(image), MagickRgba(path));
        EXPECT_TRUE(difference >= 0 && difference <= c.tolerance) << c.file << ": " << difference;
    }
}

TEST(CodecMagick, ImageMagickReadsWhatWeWrite) {
    if (!HaveMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    testsupport::TempDir dir;
    const struct {
        const char*   ext;
        cFormat::Enum format;
    } cases[] = {
        {"bmp", cFormat::R8},   {"bmp", cFormat::Rgb8},  {"bmp", cFormat::Rgba8}, {"tga", cFormat::R8},
        {"tga", cFormat::Rgb8}, {"tga", cFormat::Rgba8}, {"dds", cFormat::Rgb8},  {"dds", cFormat::Rgba8},
        {"dds", cFormat::Dxt1}, {"dds", cFormat::Dxt5},
    };
    for (const auto& c : cases) {
        // Blocks come from Rgb8 and Rgba8 pictures; DDS turns them over, which keeps blocks of
        // noise exact only when the height is whole blocks.
        bool dxt = cFormat::IsDxt(c.format);
        cFormat::Enum plain = c.format == cFormat::Dxt1 ? cFormat::Rgb8 : dxt ? cFormat::Rgba8 : c.format;
        cImage image = Filled(plain, dxt ? 12 : 11, 8, 1, 1, c.format);
        ASSERT_TRUE(!dxt || image.Compress());
        std::string path = dir / (std::string(cFormat::ToString(c.format)) + "." + c.ext);
        testsupport::WriteFile(path, Encode(CodecOf(path), image));
        ASSERT_TRUE(image.Uncompress());  // what our own decoder makes of the blocks
        int difference = MaxDifference(MagickRgba(path), TopDownRgba(image));
        EXPECT_TRUE(difference >= 0 && difference <= (dxt ? 8 : 0)) << path << ": " << difference;
    }
}
