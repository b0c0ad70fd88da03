// zozud-image run as a real process in a temporary working folder: the info
// lines, convert with its options applied in order, every failure with its
// one line on stderr and exit status 1, and --help.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using codectest::Bytes;

namespace {

std::string Tool() { return std::string(ZOZUD_BINARY_DIR) + "/zozud-image"; }

struct ToolRun {
    int         status = -1;
    std::string out, err;
};

// Runs the tool with the arguments (shell words) in the folder.
ToolRun RunTool(const testsupport::TempDir& dir, const std::string& args) {
    ToolRun r;
    std::string errPath = dir / ".stderr";
    r.out =
        testsupport::Shell("cd '" + dir.Path() + "' && '" + Tool() + "' " + args + " 2>'" + errPath + "'", &r.status);
    r.err = testsupport::ReadFile(errPath);
    return r;
}

void Save(cIO::ImageCodec& codec, const cImage& image, const std::string& path) {
    testsupport::WriteFile(path, codectest::Encode(codec, image));
}

// A 6x4 Rgba8 image whose pixel (x, y) is (10x, 10y, 7, 200).
cImage Gradient() {
    cImage image(cFormat::Rgba8, 6, 4);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++) {
            unsigned char* p = image.Pixels + (y * 6 + x) * 4;
            p[0] = (unsigned char)(10 * x);
            p[1] = (unsigned char)(10 * y);
            p[2] = 7;
            p[3] = 200;
        }
    return image;
}

cImage Load(cIO::ImageCodec& codec, const std::string& path) {
    cImage image;
    EXPECT_TRUE(codectest::Decode(codec, testsupport::ReadFile(path), &image)) << path;
    return image;
}

class ImageTool : public ::testing::Test {
protected:
    void SetUp() override {
        struct stat st;
        if (stat(Tool().c_str(), &st) != 0) GTEST_SKIP() << "zozud-image is not built";
    }
    testsupport::TempDir dir;
    cCodecBmp bmp;
    cCodecTga tga;
    cCodecDds dds;
};

}  // namespace

TEST_F(ImageTool, InfoPrintsOneLinePerFile) {
    Save(bmp, cImage(cFormat::Rgb8, 5, 3), dir / "a.bmp");
    mkdir((dir / "sub").c_str(), 0755);
    cImage cube(cFormat::Rgb8, 8, 8, 0, 4);
    codectest::Fill(&cube, 1);
    ASSERT_TRUE(cube.Compress());
    Save(dds, cube, dir / "sub/b.DDS");
    testsupport::WriteFile(dir / "c.cPvr", Bytes().Raw("PVR ").U32(8).U32(8).U32(4).U8(1).Zeros(128).s);
    testsupport::WriteFile(dir / "d.tga", Bytes().Zeros(12).U16(7).U16(2).U8(15).U8(0).s);

    ToolRun r = RunTool(dir, "info a.bmp sub/b.DDS c.cPvr " + dir / "d.tga");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "a.bmp: 5x3 depth 1 levels 1 Rgb8\n"
              "sub/b.DDS: 8x8 depth 0 levels 4 Dxt1\n"
              "c.cPvr: 8x8 depth 1 levels 4 24\n" +
                  dir / "d.tga" + ": 7x2 depth 1 levels 1 None\n");
}

TEST_F(ImageTool, InfoReportsEachFileThatFailsAndGoesOn) {
    Save(tga, Gradient(), dir / "good.tga");
    testsupport::WriteFile(dir / "bad.tga", "no image here");
    testsupport::WriteFile(dir / "x.png", "whatever");
    ToolRun r = RunTool(dir, "info missing.bmp bad.tga good.tga x.png");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "good.tga: 6x4 depth 1 levels 1 Rgba8\n");
    EXPECT_EQ(r.err,
              "zozud-image: missing.bmp: cannot load the file\n"
              "zozud-image: bad.tga: cannot decode the image\n"
              "zozud-image: x.png: no image codec for the extension \"png\"\n");
}

TEST_F(ImageTool, ConvertAppliesTheOptionsInOrder) {
    Save(tga, Gradient(), dir / "in.tga");

    // Format, flip and a full mip chain into DDS.
    ToolRun r = RunTool(dir, "convert in.tga out.dds --format Rgba16 --flip --mipmaps");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    cImage image = Load(dds, dir / "out.dds");
    EXPECT_EQ(image.Format, cFormat::Rgba16);
    EXPECT_EQ(image.MipMapCount, 3);
    const unsigned short* p = reinterpret_cast<const unsigned short*>(image.Pixels);
    EXPECT_EQ(p[0], 0);         // red of (0, 0): x = 0
    EXPECT_EQ(p[1], 30 * 257);  // green of (0, 0): the old top row, y = 3

    // Resize, two levels and compression; the size given as --resize=WxH.
    r = RunTool(dir, "convert in.tga small.DDS --resize=8x8 --mipmaps=2 --compress");
    ASSERT_EQ(r.status, 0) << r.err;
    image = Load(dds, dir / "small.DDS");
    EXPECT_EQ(image.Format, cFormat::Dxt5);
    EXPECT_EQ(image.Width, 8);
    EXPECT_EQ(image.MipMapCount, 2);

    // Back out of DXT, to grey, into an 8-bit BMP.
    r = RunTool(dir, "convert small.DDS grey.bmp --uncompress --gray");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(testsupport::ReadFile(dir / "grey.bmp").size(), 1078u + 8 * 8);

    // Powers of two: 6x4 becomes 8x4; absolute paths work as well.
    r = RunTool(dir, "convert " + dir / "in.tga" + " " + dir / "pot.bmp" + " --pot");
    ASSERT_EQ(r.status, 0) << r.err;
    image = Load(bmp, dir / "pot.bmp");
    EXPECT_EQ(image.Width, 8);
    EXPECT_EQ(image.Height, 4);

    // Without options the pixels go through unchanged.
    r = RunTool(dir, "convert in.tga same.bmp");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(codectest::Buffer(Load(bmp, dir / "same.bmp")), codectest::Buffer(Gradient()));
}

TEST_F(ImageTool, EveryFailureGivesOneLineAndStatusOne) {
    Save(tga, Gradient(), dir / "in.tga");
    cImage dxt(cFormat::Rgb8, 4, 4);
    codectest::Fill(&dxt, 2);
    ASSERT_TRUE(dxt.Compress());
    Save(dds, dxt, dir / "in.dds");
    testsupport::WriteFile(dir / "broken.bmp", "BM but nothing more");
    struct Case {
        const char* args;
        const char* err;
    } cases[] = {
        {"convert in.tga out.png", "zozud-image: out.png: no image codec for the extension \"png\"\n"},
        {"convert in.gif out.bmp", "zozud-image: in.gif: no image codec for the extension \"gif\"\n"},
        {"convert nothing.tga out.bmp", "zozud-image: nothing.tga: cannot load the file\n"},
        {"convert broken.bmp out.bmp", "zozud-image: broken.bmp: cannot decode the image\n"},
        {"convert in.dds out.bmp --gray", "zozud-image: in.dds: operation --gray refused for a Dxt1 image\n"},
        {"convert in.tga out.dds --compress --format Rgb8",
         "zozud-image: in.tga: operation --format refused for a Dxt5 image\n"},
        {"convert in.tga out.dds --format R16 --compress",
         "zozud-image: in.tga: operation --compress refused for a R16 image\n"},
        {"convert in.tga out.bmp --format Rgba16",
         "zozud-image: out.bmp: cannot encode a Rgba16 image in this format\n"},
        {"convert in.tga out.cPvr", "zozud-image: out.cPvr: cannot encode a Rgba8 image in this format\n"},
        {"convert in.tga nofolder/out.bmp", "zozud-image: nofolder/out.bmp: cannot save the file\n"},
        {"convert in.tga out.bmp --sharpen", "zozud-image: unknown option \"--sharpen\" (see zozud-image --help)\n"},
        {"convert in.tga out.bmp --format Bogus", "zozud-image: unknown format \"Bogus\" (see zozud-image --help)\n"},
        {"convert in.tga out.bmp --format", "zozud-image: --format needs a value (see zozud-image --help)\n"},
        {"convert in.tga out.bmp --resize 0x5",
         "zozud-image: --resize needs WIDTHxHEIGHT, not \"0x5\" (see zozud-image --help)\n"},
        {"convert in.tga out.bmp --mipmaps=none",
         "zozud-image: --mipmaps=N needs a count of 1 or more (see zozud-image --help)\n"},
        {"convert in.tga out.bmp --flip=yes", "zozud-image: --flip takes no value (see zozud-image --help)\n"},
        {"convert in.tga", "zozud-image: convert needs an input and an output file (see zozud-image --help)\n"},
        {"info", "zozud-image: info needs at least one file (see zozud-image --help)\n"},
        {"resize in.tga", "zozud-image: unknown command \"resize\" (see zozud-image --help)\n"},
        {"", "zozud-image: no command (see zozud-image --help)\n"},
    };
    for (const Case& c : cases) {
        ToolRun r = RunTool(dir, c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
    for (const char* name : {"out.png", "out.bmp", "out.dds", "out.cPvr"})
        EXPECT_FALSE(testsupport::FileExists(dir / name)) << name;
}

TEST_F(ImageTool, HelpDescribesCommandsOptionsAndFailures) {
    ToolRun r = RunTool(dir, "--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* word :
         {"info FILE...", "convert INPUT OUTPUT", "--format NAME", "--gray", "--flip", "--resize WxH", "--pot",
          "--mipmaps[=N]", "--compress", "--uncompress", "depth 0 is a cube map", "working folder", "cannot encode"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}
