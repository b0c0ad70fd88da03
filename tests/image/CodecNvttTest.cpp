// The DDS codec against the nvidia texture tools (Debian's libnvtt-bin), both
// ways, at sizes whose levels are no multiple of 4 high.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using namespace codectest;

namespace {

bool HaveNvtt() {
    static const bool have = std::system("command -v nvcompress nvdecompress nvddsinfo >/dev/null 2>&1") == 0;
    return have;
}

// A picture h pixels high reduced to W x H by averaging: red rises from
// the bottom row to the top row, green falls, alpha (unless opaque) rises.
// Level row y averages picture rows y h / H to (y + 1) h / H. A row or a level
// out of place shows as a large difference, while block compression and
// another mip filter stay small on ramps along one axis.
cImage Ramps(int h, int W, int H, bool opaque) {
    cImage image(cFormat::Rgba8, W, H);
    for (int y = 0; y < H; y++) {
        double v = 255.0 * ((y + 0.5) * h / H - 0.5) / std::max(h - 1, 1);
        int r = (int)(std::min(255.0, std::max(0.0, v)) + 0.5);
        for (int x = 0; x < W; x++) {
            unsigned char* p = image.Pixels + ((int64_t)y * W + x) * 4;
            p[0] = (unsigned char)r;
            p[1] = (unsigned char)(255 - r);
            p[2] = 96;
            p[3] = opaque ? 255 : (unsigned char)(64 + 191 * r / 255);
        }
    }
    return image;
}

// The largest difference between the pixels of two Rgba8 buffers over the first `channels` channels.
int Difference(const unsigned char* a, const unsigned char* b, int64_t pixels, int channels) {
    int worst = 0;
    for (int64_t i = 0; i < pixels * 4; i++)
        if (i % 4 < channels) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

std::string Tool(const std::string& command) {
    int status = -1;
    std::string out = testsupport::Shell(command + " 2>&1", &status);
    return status == 0 ? out : "failed: " + out;
}

}  // namespace

TEST(CodecNvtt, WeReadEveryLevelNvcompressWritesTheRightWayUp) {
    if (!HaveNvtt()) GTEST_SKIP() << "the nvidia texture tools (libnvtt-bin) are not installed";
    testsupport::TempDir dir;
    cCodecTga tga;
    cCodecDds dds;
    const struct {
        const char*   option;
        cFormat::Enum format;
        int           channels;  // compared: DXT1 has no alpha here
    } formats[] = {{"-bc1", cFormat::Dxt1, 3}, {"-bc2", cFormat::Dxt3, 4}, {"-bc3", cFormat::Dxt5, 4}};
    for (auto size : {std::make_pair(308, 193), std::make_pair(64, 48), std::make_pair(48, 96)}) {
        for (const auto& f : formats) {
            // nvcompress treats pixels of low alpha as transparent in DXT1.
            const bool opaque = f.format == cFormat::Dxt1;
            cImage source = Ramps(size.second, size.first, size.second, opaque);
            testsupport::WriteFile(dir / "in.tga", Encode(tga, source));
            std::string what = std::string(f.option) + " " + Shape(source);
            ASSERT_EQ(Tool("nvcompress " + std::string(f.option) + " " + dir / "in.tga " + dir / "out.dds")
                          .find("failed"), std::string::npos) << what;
            cImage image;
            ASSERT_TRUE(Decode(dds, testsupport::ReadFile(dir / "out.dds"), &image)) << what;
            ASSERT_EQ(image.Format, f.format) << what;
            ASSERT_EQ(image.MipMapCount, source.GetMipMapCountFromDimensions()) << what;
            ASSERT_TRUE(image.Uncompress() && image.ToFormat(cFormat::Rgba8));
            for (int level = 0; level < image.MipMapCount; level++) {
                int w = image.GetWidth(level), h = image.GetHeight(level);
                // nvcompress fits blocks that are cut by the level's edge loosely, and turning
                // those levels over encodes them again; a row out of place costs 85 and more.
                cImage expect = Ramps(size.second, w, h, opaque);
                EXPECT_LE(Difference(image.GetPixels(level), expect.Pixels, (int64_t)w * h, f.channels), 60)
                    << what << " level " << level << " (" << w << "x" << h << ")";
            }
        }
    }
}

TEST(CodecNvtt, NvidiaToolsReadWhatWeWrite) {
    if (!HaveNvtt()) GTEST_SKIP() << "the nvidia texture tools (libnvtt-bin) are not installed";
    testsupport::TempDir dir;
    cCodecTga tga;
    cCodecDds dds;
    for (auto size : {std::make_pair(308, 193), std::make_pair(21, 6)})
        for (cFormat::Enum plain : {cFormat::Rgb8, cFormat::Rgba8}) {
            cImage source = Ramps(size.second, size.first, size.second, false), image(source);
            ASSERT_TRUE(image.ToFormat(plain) && image.CreateMipMaps() && image.Compress());
            std::string what = std::string(cFormat::ToString(image.Format)) + " " + Shape(source);
            testsupport::WriteFile(dir / "ours.dds", Encode(dds, image));
            EXPECT_NE(Tool("nvddsinfo " + dir / "ours.dds").find("Mipmap count: " + std::to_string(image.MipMapCount)),
                      std::string::npos) << what;
            ASSERT_EQ(Tool("nvdecompress " + dir / "ours.dds").find("failed"), std::string::npos) << what;
            cImage back;
            ASSERT_TRUE(Decode(tga, testsupport::ReadFile(dir / "ours.tga"), &back)) << what;
            ASSERT_TRUE(back.ToFormat(cFormat::Rgba8));
            ASSERT_EQ(Shape(back), Shape(source));
            EXPECT_LE(Difference(back.Pixels, source.Pixels, back.GetPixelCount(), plain == cFormat::Rgb8 ? 3 : 4), 24)
                << what;
        }

    // A cube map shows as one, with all six faces and not as a volume.
    testsupport::WriteFile(dir / "cube.dds", Encode(dds, Filled(cFormat::Rgba8, 8, 8, 0, 4)));
    std::string info = Tool("nvddsinfo " + dir / "cube.dds");
    EXPECT_NE(info.find("DDSCAPS2_CUBEMAP_ALL_FACES"), std::string::npos) << info;
    EXPECT_EQ(info.find("VOLUME"), std::string::npos) << info;
}
