// The material import worker on small real image files, the image dialog
// answered by a stand-in.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "io/TempTree.h"
#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/model/Material.h"
#include "zozud/model/MaterialImport.h"

using namespace zozud;

namespace {

// The stand-in image dialog: answers from a queue ("" cancels) and records
// what it was opened with.
std::vector<std::string> s_Answers, s_Preselected, s_Titles;
int                      s_ExtensionCount = 0;

bool FakeDialog(const char* title, const cList<cStr>& extensions, cStr* file) {
    s_Preselected.push_back(file->ToChar());
    s_Titles.push_back(title);
    s_ExtensionCount = extensions.Count();
    if (s_Answers.empty() || s_Answers.front().empty()) return false;
    *file = s_Answers.front().c_str();
    s_Answers.erase(s_Answers.begin());
    return true;
}

// A program folder of its own (textures are written below it), a folder of
// source images and the stand-in dialog, for one test.
class Import : public ::testing::Test {
protected:
    void SetUp() override {
        tree.Folder("prog");
        tree.Folder("src");
        cIO::ShellHooks hooks;
        hooks.loadFileDialog = FakeDialog;
        cIO::SetShellHooks(hooks);
        s_Preselected.clear();
        s_Titles.clear();
    }
    void TearDown() override {
        cIO::SetShellHooks(cIO::ShellHooks());
        cMaterial::ImportPath.Clear();
    }

    // Saves an image under src/ and returns its absolute path.
    std::string Source(const char* name, const cImage& image) {
        std::string path = tree.Path(std::string("src/") + name);
        EXPECT_TRUE(cIO::SaveImage(path.c_str(), image)) << path;
        return path;
    }
    // Reads back a texture written by the worker (relative to the program folder).
    cImage Texture(const cStr& relative) {
        cImage image;
        EXPECT_TRUE(cIO::LoadImage(tree.Path(std::string("prog/") + relative.ToChar()).c_str(), &image)) << relative.ToChar();
        return image;
    }
    cMaterial_ImportResult::Enum Run(cMaterial_ImportOptions options, cStr* texture, std::vector<std::string> answers) {
        s_Answers = answers;
        cMaterial_ImportArgs args;
        args.Options = options;
        args.Texture = texture;
        args.TextureID = &textureID;
        args.Name = "mat";
        args.Member = "Map";
        return cMaterial_Import(args);
    }

    iotest::TempTree          tree;
    iotest::ProgramFolderScope scope{tree.Path("prog"), ""};
    int                       textureID = 7;
};

// An image whose pixel (x, y) has the channels f(x, y, channel).
template <class F>
cImage Make(cFormat::Enum format, int w, int h, F f) {
    cImage image(format, w, h, 1, 1);
    int channels = cFormat::GetChannelCount(format);
    unsigned char* p = image.GetPixels(0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            for (int c = 0; c < channels; c++) *p++ = (unsigned char)f(x, y, c);
    return image;
}

int Channel(const cImage& image, int x, int y, int c) {
    int channels = cFormat::GetChannelCount(image.Format);
    return image.GetPixels(0)[(y * image.Width + x) * channels + c];
}

void ExpectSolid(const cImage& image, int r, int g, int b, int tolerance) {
    for (int i = 0; i < image.Width * image.Height; i++)
        for (int c = 0; c < 3; c++)
            ASSERT_NEAR(Channel(image, i % image.Width, i / image.Width, c), c == 0 ? r : c == 1 ? g : b, tolerance);
}

int ColourOf(int x, int y, int c) { return c == 3 ? 40 + x * 50 + y : x * 60 + c * 20 + y * 3; }

}  // namespace

TEST_F(Import, DiffuseAndNormalMapsKeepOrDropAlphaAndInvertGreen) {
    std::string file = Source("rgba.tga", Make(cFormat::Rgba8, 4, 2, ColourOf));
    using K = cMaterial_ImportKind;
    const struct Case {
        K::Enum       kind;
        bool          keepAlpha, invertGreen;
        cFormat::Enum format;
    } cases[] = {
        {K::Diffuse, false, false, cFormat::Rgb8}, {K::Diffuse, true, false, cFormat::Rgba8},
        {K::Normal, false, false, cFormat::Rgb8},  {K::Normal, false, true, cFormat::Rgb8},
        {K::Normal, true, true, cFormat::Rgba8},   {K::Decal, false, false, cFormat::Rgba8},  // decals keep alpha
        {K::Interface, false, false, cFormat::Rgba8},
    };
    for (const Case& c : cases) {
        cMaterial_ImportOptions o;
        o.Kind = c.kind;
        o.KeepAlpha = c.keepAlpha;
        o.InvertGreen = c.invertGreen;
        cStr texture = "old.tga";
        ASSERT_EQ(Run(o, &texture, {file}), cMaterial_ImportResult::Imported);
        EXPECT_STREQ(texture, "Textures/mat_Map.tga");
        EXPECT_EQ(textureID, -1);  // no renderer in these tests
        cImage out = Texture(texture);
        ASSERT_TRUE(out.Format == c.format && out.Width == 4 && out.Height == 2 && out.MipMapCount == 1) << c.kind;
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < 4; x++)
                for (int ch = 0; ch < cFormat::GetChannelCount(c.format); ch++) {
                    int want = ColourOf(x, y, ch);
                    if (ch == 1 && c.invertGreen) want = 255 - want;
                    ASSERT_EQ(Channel(out, x, y, ch), want) << "kind " << c.kind << " pixel " << x << "," << y;
                }
    }
}

TEST_F(Import, SizesBecomePowersOfTwo) {
    struct Case {
        int w, h, outW, outH;
    } cases[] = {{4, 4, 4, 4}, {3, 5, 4, 4}, {6, 3, 8, 4}, {1, 1, 1, 1}, {5, 16, 4, 16}, {12, 7, 16, 8}};
    for (const Case& c : cases) {
        // A solid colour stays solid whatever the resampling.
        std::string file = Source("solid.tga", Make(cFormat::Rgb8, c.w, c.h, [](int, int, int ch) { return 10 + ch * 95; }));
        cStr texture;
        ASSERT_EQ(Run(cMaterial_ImportOptions(), &texture, {file}), cMaterial_ImportResult::Imported);
        cImage out = Texture(texture);
        EXPECT_TRUE(out.Width == c.outW && out.Height == c.outH) << c.w << "x" << c.h;
        ExpectSolid(out, 10, 105, 200, 1);
    }
}

// A compressed file with a mip chain comes out as one uncompressed level.
TEST_F(Import, CompressedSourcesAreDecodedAndLoseTheirMips) {
    cImage dxt = Make(cFormat::Rgb8, 8, 8, [](int, int, int ch) { return ch == 0 ? 248 : ch == 1 ? 252 : 8; });
    ASSERT_TRUE(dxt.CreateMipMaps() && dxt.Compress() && dxt.Format == cFormat::Dxt1 && dxt.MipMapCount == 4);
    std::string file = Source("solid.dds", dxt);
    cStr texture;
    ASSERT_EQ(Run(cMaterial_ImportOptions(), &texture, {file}), cMaterial_ImportResult::Imported);
    cImage out = Texture(texture);
    ASSERT_TRUE(out.Format == cFormat::Rgb8 && out.Width == 8 && out.MipMapCount == 1);
    ExpectSolid(out, 248, 252, 8, 0);  // an exact 5-6-5 colour decodes to itself
}

// Heights rising 32 per pixel to the right: away from the wrapped edges the
// slope is 32/255 per pixel, so the normal is (-scale * 32/255, 0, 1) normalised.
TEST_F(Import, HeightMapsBecomeNormalsScaledByTheOption) {
    std::string file = Source("ramp.tga", Make(cFormat::R8, 8, 4, [](int x, int, int) { return 32 * x; }));
    for (float scale : {1.0f, 4.0f, 0.0f, -2.0f})
        for (bool heightInAlpha : {true, false}) {
            cMaterial_ImportOptions o;
            o.Kind = cMaterial_ImportKind::Height;
            o.ScaleZ = scale;
            o.HeightInAlpha = heightInAlpha;
            cStr texture;
            ASSERT_EQ(Run(o, &texture, {file}), cMaterial_ImportResult::Imported);
            cImage out = Texture(texture);
            ASSERT_EQ(out.Format, heightInAlpha ? cFormat::Rgba8 : cFormat::Rgb8);
            double nx = -scale * 32.0 / 255.0, len = std::sqrt(nx * nx + 1);
            int wantR = (int)((nx / len * 0.5 + 0.5) * 255 + 0.5), wantB = (int)((1 / len * 0.5 + 0.5) * 255 + 0.5);
            for (int y = 0; y < 4; y++)
                for (int x = 1; x < 7; x++) {
                    const int want[4] = {wantR, 128, wantB, 32 * x};
                    for (int c = 0; c < (heightInAlpha ? 4 : 3); c++)
                        EXPECT_NEAR(Channel(out, x, y, c), want[c], 1) << "scale " << scale << " at " << x << "," << y;
                }
        }
}

TEST_F(Import, NormalMapPlusHeightMapPutsHeightsInAlpha) {
    std::string normals = Source("n.tga", Make(cFormat::Rgba8, 4, 4, ColourOf));
    std::string heights = Source("h.tga", Make(cFormat::R8, 2, 2, [](int x, int y, int) { return 100 + 50 * x + 20 * y; }));
    cMaterial_Bump bump;
    bump.MaterialName = "wall";
    bump.ImportNormalMapInvertGreen = true;
    s_Answers = {normals, heights};
    bump.ImportNormalMapPlusHeightMap();
    ASSERT_STREQ(bump.NormalMap, "Textures/wall_NormalMap.tga");
    ASSERT_EQ(s_Titles.size(), 2u);
    EXPECT_NE(s_Titles[0], s_Titles[1]);  // the user is told which one is asked for
    cImage out = Texture(bump.NormalMap);
    ASSERT_TRUE(out.Format == cFormat::Rgba8 && out.Width == 4);
    // The 2x2 heights stretched over 4x4: the corners keep their values.
    const int corners[4][3] = {{0, 0, 100}, {3, 0, 150}, {0, 3, 120}, {3, 3, 170}};
    for (const auto& c : corners) EXPECT_NEAR(Channel(out, c[0], c[1], 3), c[2], 1) << c[0] << "," << c[1];
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(Channel(out, i % 4, i / 4, 0), ColourOf(i % 4, i / 4, 0));
        EXPECT_EQ(Channel(out, i % 4, i / 4, 1), 255 - ColourOf(i % 4, i / 4, 1));
    }
    s_Answers = {normals, ""};  // the second question cancelled: nothing changes
    bump.NormalMap = "kept.tga";
    bump.ImportNormalMapPlusHeightMap();
    EXPECT_STREQ(bump.NormalMap, "kept.tga");
}

TEST_F(Import, ButtonsNameTheirTexturesAndRememberTheFolder) {
    std::string file = Source("fire.tga", Make(cFormat::Rgba8, 2, 2, ColourOf));
    cMaterial_Decal decal;
    decal.MaterialName = "fire";
    decal.DecalMap = "Textures/Particles/old_fire.tga";
    s_Answers = {file};
    decal.ImportDecalMap();
    EXPECT_STREQ(decal.DecalMap, "Textures/Particles/fire_DecalMap.tga");
    EXPECT_GT(s_ExtensionCount, 0);  // the image codecs' extensions
    ASSERT_EQ(s_Preselected.size(), 1u);
    EXPECT_EQ(s_Preselected[0], "Textures/Particles/old_fire.tga");  // the decal folder, the current file
    EXPECT_STREQ(cMaterial::ImportPath, (tree.Path("src") + "/").c_str());
    EXPECT_EQ(Texture(decal.DecalMap).Format, cFormat::Rgba8);

    // The next import opens where the last one chose; an unnamed material takes the image's name.
    cMaterial_Interface face;
    s_Answers = {file};
    face.ImportInterfaceMap();
    EXPECT_STREQ(face.InterfaceMap, "Textures/fire_InterfaceMap.tga");
    EXPECT_EQ(s_Preselected[1], tree.Path("src") + "/");

    cMaterial_Bump bump;
    bump.MaterialName = "a/b";  // separators do not make folders
    s_Answers = {file, file};
    bump.ImportDiffuseMap();
    bump.ImportHeightMap();
    EXPECT_STREQ(bump.DiffuseMap, "Textures/a_b_DiffuseMap.tga");
    EXPECT_STREQ(bump.NormalMap, "Textures/a_b_NormalMap.tga");
}

TEST_F(Import, FailuresLeaveTheTextureAlone) {
    std::string good = Source("ok.tga", Make(cFormat::Rgb8, 2, 2, ColourOf));
    std::string junk = tree.File("src/junk.tga", "this is no image");
    cImage volume(cFormat::Rgb8, 2, 2, 2, 1);
    memset(volume.GetPixels(0), 9, (size_t)volume.GetSize());
    std::string deep = Source("volume.dds", volume);
    struct Case {
        std::vector<std::string>     answers;
        cMaterial_ImportResult::Enum result;
    } cases[] = {
        {{""}, cMaterial_ImportResult::Cancelled},
        {{}, cMaterial_ImportResult::Cancelled},
        {{junk}, cMaterial_ImportResult::CantLoad},
        {{tree.Path("src/missing.tga")}, cMaterial_ImportResult::CantLoad},
        {{deep}, cMaterial_ImportResult::CantConvert},
    };
    for (const Case& c : cases) {
        cStr texture = "Textures/before.tga";
        textureID = 7;
        EXPECT_EQ(Run(cMaterial_ImportOptions(), &texture, c.answers), c.result);
        EXPECT_STREQ(texture, "Textures/before.tga");
        EXPECT_EQ(textureID, 7);
    }
    // A file where the texture folder should be: nothing can be written.
    tree.File("prog/Textures", "in the way");
    cStr texture = "Textures/before.tga";
    EXPECT_EQ(Run(cMaterial_ImportOptions(), &texture, {good}), cMaterial_ImportResult::CantSave);
    EXPECT_STREQ(texture, "Textures/before.tga");
    // Without a shell there is no dialog.
    cIO::SetShellHooks(cIO::ShellHooks());
    EXPECT_EQ(Run(cMaterial_ImportOptions(), &texture, {good}), cMaterial_ImportResult::Cancelled);
}
