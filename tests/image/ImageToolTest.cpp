// zozud-image run as a real process in a temporary working folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using namespace codectest;

namespace {

class ImageTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::FileExists(tool)) GTEST_SKIP() << "zozud-image is not built";
        Save(tga, input, "in.tga");
    }
    // Runs the tool with the arguments (shell words) in the folder: "STATUS " + stdout + stderr.
    std::string Run(const std::string& args) {
        int status = -1;
        std::string out = testsupport::Shell("cd '" + dir.Path() + "' && '" + tool + "' " + args + " 2>.err", &status);
        return std::to_string(status) + " " + out + testsupport::ReadFile(dir / ".err");
    }
    void Save(cIO::ImageCodec& codec, const cImage& image, const std::string& name) {
        testsupport::WriteFile(dir / name, Encode(codec, image));
    }
    cImage Load(cIO::ImageCodec& codec, const std::string& name) {
        cImage image;
        EXPECT_TRUE(Decode(codec, testsupport::ReadFile(dir / name), &image)) << name;
        return image;
    }
    std::string tool = std::string(ZOZUD_BINARY_DIR) + "/zozud-image";
    testsupport::TempDir dir;
    cImage input = Filled(cFormat::Rgba8, 6, 4);
    cCodecBmp bmp;
    cCodecTga tga;
    cCodecDds dds;
};

}  // namespace

TEST_F(ImageTool, InfoPrintsOneLinePerFileAndReportsEachFailure) {
    mkdir((dir / "sub").c_str(), 0755);
    cImage cube = Filled(cFormat::Rgb8, 8, 8, 0, 4);
    ASSERT_TRUE(cube.Compress());
    Save(dds, cube, "sub/b.DDS");
    testsupport::WriteFile(dir / "c.cPvr", Bytes().Raw("PVR ").U32(8).U32(8).U32(4).U8(1).Zeros(128).s);
    testsupport::WriteFile(dir / "d.tga", Bytes().Zeros(12).U16(7).U16(2).U8(15).U8(0).Zeros(28).s);
    testsupport::WriteFile(dir / "bad.tga", "no image here");
    testsupport::WriteFile(dir / "no-bits.tga", Bytes().Zeros(12).U16(65535).U16(65535).U8(0).U8(0).s);
    EXPECT_EQ(Run("info in.tga sub/b.DDS c.cPvr " + dir / "d.tga"),
              "0 in.tga: 6x4 depth 1 levels 1 Rgba8\nsub/b.DDS: 8x8 depth 0 levels 4 Dxt1\n"
              "c.cPvr: 8x8 depth 1 levels 4 24\n" + dir / "d.tga" + ": 7x2 depth 1 levels 1 Rgb8\n");
    EXPECT_EQ(Run("info missing.bmp bad.tga no-bits.tga in.tga x.png"),
              "1 in.tga: 6x4 depth 1 levels 1 Rgba8\n"
              "zozud-image: missing.bmp: cannot load the file\n"
              "zozud-image: bad.tga: cannot decode the image\n"
              "zozud-image: no-bits.tga: cannot decode the image\n"
              "zozud-image: x.png: no image codec for the extension \"png\"\n");
}

TEST_F(ImageTool, ConvertAppliesTheOptionsInOrder) {
    ASSERT_EQ(Run("convert in.tga out.dds --format Rgba16 --flip --mipmaps"), "0 ");
    cImage image = Load(dds, "out.dds");
    EXPECT_EQ(Shape(image), "6x4x1 Rgba16 levels 3");
    const unsigned short* p = reinterpret_cast<const unsigned short*>(image.Pixels);
    EXPECT_EQ(p[1], input.Pixels[3 * 6 * 4 + 1] * 257);  // green of (0, 0) comes from (0, 3), the old top row

    ASSERT_EQ(Run("convert in.tga small.DDS --resize=8x8 --mipmaps=2 --compress"), "0 ");
    EXPECT_EQ(Shape(Load(dds, "small.DDS")), "8x8x1 Dxt5 levels 2");
    ASSERT_EQ(Run("convert small.DDS grey.bmp --uncompress --gray"), "0 ");
    EXPECT_EQ(testsupport::ReadFile(dir / "grey.bmp").size(), 1078u + 8 * 8);  // an 8-bit BMP
    ASSERT_EQ(Run("convert " + dir / "in.tga" + " " + dir / "pot.bmp" + " --pot"), "0 ");  // absolute paths
    EXPECT_EQ(Shape(Load(bmp, "pot.bmp")), "8x4x1 Rgba8 levels 1");
    ASSERT_EQ(Run("convert in.tga quality.dds --compress=quality"), "0 ");
    cImage quality(input), fast(input);
    ASSERT_TRUE(quality.Compress(cDxtQuality::Quality) && fast.Compress());
    EXPECT_TRUE(Buffer(Load(dds, "quality.dds")) == Buffer(quality));
    EXPECT_FALSE(Buffer(quality) == Buffer(fast));
    ASSERT_EQ(Run("convert in.tga same.bmp"), "0 ");
    EXPECT_TRUE(Buffer(Load(bmp, "same.bmp")) == Buffer(input));
}

TEST_F(ImageTool, EveryFailureGivesOneLineAndStatusOne) {
    cImage dxt = Filled(cFormat::Rgb8, 4, 4);
    ASSERT_TRUE(dxt.Compress());
    Save(dds, dxt, "in.dds");
    testsupport::WriteFile(dir / "broken.bmp", "BM but nothing more");
    const struct {
        const char* args;
        const char* err;
    } cases[] = {
        {"convert in.tga out.png", "out.png: no image codec for the extension \"png\""},
        {"convert in.gif out.bmp", "in.gif: no image codec for the extension \"gif\""},
        {"convert nothing.tga out.bmp", "nothing.tga: cannot load the file"},
        {"convert broken.bmp out.bmp", "broken.bmp: cannot decode the image"},
        {"convert in.dds out.bmp --gray", "in.dds: operation --gray refused for a Dxt1 image"},
        {"convert in.tga out.dds --compress --format Rgb8", "in.tga: operation --format refused for a Dxt5 image"},
        {"convert in.tga out.dds --format R16 --compress", "in.tga: operation --compress refused for a R16 image"},
        {"convert in.tga out.bmp --format Rgba16", "out.bmp: cannot encode a Rgba16 image in this format"},
        {"convert in.tga out.cPvr", "out.cPvr: cannot encode a Rgba8 image in this format"},
        {"convert in.tga nofolder/out.bmp", "nofolder/out.bmp: cannot save the file"},
        {"convert in.tga out.bmp --sharpen", "unknown option \"--sharpen\" (see zozud-image --help)"},
        {"convert in.tga out.bmp --format Bogus", "unknown format \"Bogus\" (see zozud-image --help)"},
        {"convert in.tga out.bmp --format", "--format needs a value (see zozud-image --help)"},
        {"convert in.tga out.bmp --resize 0x5", "--resize needs WIDTHxHEIGHT, not \"0x5\" (see zozud-image --help)"},
        {"convert in.tga out.bmp --mipmaps=none", "--mipmaps=N needs a count of 1 or more (see zozud-image --help)"},
        {"convert in.tga out.bmp --flip=yes", "--flip takes no value (see zozud-image --help)"},
        {"convert in.tga out.dds --compress=best", "--compress takes no value or =quality (see zozud-image --help)"},
        {"convert in.tga", "convert needs an input and an output file (see zozud-image --help)"},
        {"info", "info needs at least one file (see zozud-image --help)"},
        {"resize in.tga", "unknown command \"resize\" (see zozud-image --help)"},
        {"", "no command (see zozud-image --help)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Run(c.args), std::string("1 zozud-image: ") + c.err + "\n") << c.args;
    for (const char* name : {"out.png", "out.bmp", "out.dds", "out.cPvr"})
        EXPECT_FALSE(testsupport::FileExists(dir / name)) << name;

    std::string help = Run("--help");
    for (const char* word : {"0 Usage:", "info FILE...", "convert INPUT OUTPUT", "--mipmaps[=N]", "depth 0 is a cube"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}
