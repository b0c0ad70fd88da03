// Fonts and text: the ".cFont" layout with its corruptions, measuring and
// placement against rectangles worked out by hand on a small font made here,
// DrawString as the device sees it, EnsurePrintable, loading by name, and the
// font maker run as a real process.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/RecordingDevice.h"
#include "support/Process.h"
#include "zozud/image/Image.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/Font.h"
#include "zozud/render/Viewer.h"

using namespace zozud;
using namespace zozud_test;
using Calls = std::vector<std::string>;

namespace {

// Codes 32..126 without 'x' (so index 31 is '?'): quads 6 x 8 hanging 2
// below the pen, 1 to its right, advance 7; 'g' 6 x 9 hanging 4. Texture
// rectangles 8 texels apart per code. Line height 12, base line 9, inset 1.
cFont MiniFont() {
    cFont f;
    f.BaselineShift = 9;
    f.Reserved = 5;
    f.LineHeight = 12;
    f.TightInset = 1;
    for (int c = 32; c < 127; c++) {
        if (c == 'x') continue;
        bool g = c == 'g';
        cFont::Glyph glyph = {(unsigned short)c, {c * 8, 0, c * 8 + 6, g ? 9 : 8}, 1, g ? 4 : 2, 6, g ? 9 : 8, 7, 0};
        f.Glyphs.Add(glyph);
    }
    return f;
}

int MiniID() {
    static int id = cRender::AddFont("Mini", MiniFont(), 7);
    return id;
}

std::string Bytes(const cFont& f) {
    cFile file;
    f.Write(&file);
    return std::string((const char*)file.GetData(), file.GetSize());
}

bool ReadBytes(const std::string& bytes, cFont* f) {
    cFile file;
    file.Copy(bytes.data(), (int)bytes.size(), "test.cFont");
    return f->Read(file);
}

}  // namespace

TEST(Font, FileRoundTripsAndEveryCorruptionIsRefused) {
    cFont mini = MiniFont(), back;
    const std::string good = Bytes(mini);
    ASSERT_EQ(2u + 1 + 12 + 4 + 94 * 42 + 4, good.size());
    EXPECT_EQ("cf", good.substr(0, 2));
    ASSERT_TRUE(ReadBytes(good, &back));
    EXPECT_EQ(good, Bytes(back));
    EXPECT_EQ(31, back.IndexOf('?'));
    EXPECT_EQ(-1, back.IndexOf('x'));

    auto patched = [&](size_t at, std::string with) { return good.substr(0, at) + with + good.substr(at + with.size()); };
    struct Case { const char* what; std::string bytes; } cases[] = {
        {"empty", ""},
        {"bad magic", patched(0, "fc")},
        {"version 1", patched(2, "\x01")},
        {"count above 65536", patched(15, std::string("\x01\x00\x01\x00", 4))},
        {"count of more glyphs than held", patched(15, std::string("\x5f\x00\x00\x00", 4))},
        {"count near 2^32", patched(15, "\xff\xff\xff\xff")},
        {"no trailing value", good.substr(0, good.size() - 1)},
        {"header cut", good.substr(0, 18)},
    };
    for (const Case& c : cases) {
        cFont f = MiniFont();
        EXPECT_FALSE(ReadBytes(c.bytes, &f)) << c.what;
        EXPECT_EQ(good, Bytes(f)) << c.what << ": a refused file changes nothing";
    }
    // Glyphs stored out of order are sorted, so lookups still work.
    cFont shuffled = MiniFont();
    std::swap(shuffled.Glyphs[0], shuffled.Glyphs[50]);
    ASSERT_TRUE(ReadBytes(Bytes(shuffled), &back));
    EXPECT_EQ(good, Bytes(back));
}

TEST(Font, MeasuringPlacementFlagsAndWorldPoints) {
    const int id = MiniID();
    // Pen at (10, 51). 'A' quad (11, 41)-(17, 49), 'g' (18, 38)-(24, 47); pen ends at 24.
    // Cell (10, 39, 24, 51); ink, one texel in from each quad: (12, 39, 23, 48).
    struct Case { int flags; cRect want; } cases[] = {
        {0, cRect(10, 39, 24, 51)},     {32, cRect(10, 39, 24, 51)},  {1, cRect(3, 39, 17, 51)},
        {2, cRect(-4, 39, 10, 51)},     {4, cRect(10, 45, 24, 57)},   {8, cRect(10, 48, 24, 60)},
        {16, cRect(10, 51, 24, 63)},    {64, cRect(10, 42, 21, 51)},  {96, cRect(10, 42, 21, 51)},
        {64 | 1, cRect(5, 42, 16, 51)}, {64 | 2, cRect(-1, 42, 10, 51)}, {64 | 16, cRect(10, 51, 21, 60)},
        {1 | 2 | 4 | 8, cRect(3, 45, 17, 57)},  // the first flag of each group wins
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.want, cRender::DrawString(id, "Ag", 10.4f, 50.6f, c.flags | 32, nullptr)) << c.flags;

    // The blank advances without ink; a missing character advances like '?';
    // a two-byte UTF-8 character is one glyph; unknown fonts and empty text give Zero.
    EXPECT_EQ(cRect(0, -12, 21, 0), cRender::MeasureStringCells(id, "A A"));
    EXPECT_EQ(cRect(0, -6, 18, 0), cRender::DrawString(id, "A A", 0, 0, 96, nullptr));
    EXPECT_EQ(cRect(0, -12, 14, 0), cRender::MeasureStringCells(id, "x\xc3\xa9"));
    EXPECT_EQ(cRect(0, 0, 0, 0), cRender::MeasureStringTightRect(id, "   "));
    EXPECT_EQ(cRect::Zero, cRender::MeasureStringCells(id, ""));
    EXPECT_EQ(cRect::Zero, cRender::MeasureStringCells(-1, "A"));
    EXPECT_EQ(cRect::Zero, cRender::MeasureStringCells(id + 1, "A"));

    // World points go through the viewer (none: nothing); with identity
    // matrices the clip-space point (0.5, -0.5) lies at (250, 75).
    EXPECT_EQ(cRect::Zero, cRender::DrawString(id, "A", cVec3(0, 0, 0), 32));
    cViewer viewer;
    viewer.Viewport = cRect(100, 50, 300, 150);
    cRender::SetViewer(&viewer);
    EXPECT_EQ(cRect(250, 63, 257, 75), cRender::DrawString(id, "A", cVec3(0.5f, -0.5f, 0), 32));
    cRender::SetViewer(nullptr);
}

TEST(Font, ConsecutiveDrawStringsAreOneIndexedDrawOfGlyphQuads) {
    const int id = MiniID();
    RecordingScope device;
    device->Clear();
    cRect r = cRender::DrawString(id, "Ax", 10.4f, 50.6f, 8, cColor(1, 0, 0, 1));
    EXPECT_EQ(cRect(10, 48, 24, 60), r);
    cRender::DrawString(id, "B", 0, 0, cColor(0, 1, 0, 1));  // joins the waiting text
    cRender::Finish();  // anything that reaches the device draws it first
    const std::string sampler = std::to_string(cRender::GetSamplerStateID(
        cFilter::Linear, cAddressMode::Clamp, cAddressMode::Clamp, cAddressMode::Clamp));
    EXPECT_EQ((Calls{"SetBlendState(" + RecordingDevice::Name(cRender::GetBlendStateID(
                         cBlendFactor::SrcAlpha, cBlendFactor::InvSrcAlpha, cBlendMode::Add, 15)) + ")",
                     "SetShader(Font)", "SetSamplerState(7, " + sampler + ")", "SetTexture(s_Glyphs, 7)",
                     "DrawIndexed(3, 12, 18, 4)", "Finish()"}),
              device->Calls);
    // Quads moved up 9 by the base-line flag; 'x' draws '?' (texels from 504).
    const float want[8][4] = {{11, 50, 520, 0}, {11, 58, 520, 8}, {17, 58, 526, 8}, {17, 50, 526, 0},
                              {18, 50, 504, 0}, {18, 58, 504, 8}, {24, 58, 510, 8}, {24, 50, 510, 0}};
    ASSERT_EQ(12, device->VertexCount());
    for (int i = 0; i < 8; i++)
        for (int k = 0; k < 4; k++) EXPECT_EQ(want[i][k], device->VertexFloat(i, k < 2 ? k * 4 : 8 + k * 4)) << i;
    EXPECT_EQ(0xff0000ffu, device->VertexWord(7, 12));
    EXPECT_EQ(0xff00ff00u, device->VertexWord(8, 12));
    EXPECT_EQ(1.0f, device->VertexFloat(8, 0)) << "the second text at its own place";
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 8, 9, 10, 8, 10, 11}), device->Indices);

    // A change reaching the device between two texts, or another glyph
    // texture, draws the waiting text first: order and state are kept.
    const int other = cRender::AddFont("Mini elsewhere", MiniFont(), 8);
    device->Clear();
    cRender::DrawString(id, "A", 0, 0);
    cRender::SetClipRect(cRect(0, 0, 5, 5));
    cRender::DrawString(id, "A", 0, 0);
    cRender::DrawString(other, "AA", 0, 0);
    cRender::SetClipRect(cRect::Empty);
    const Calls got = device->Calls;
    auto at = [&](const std::string& call, size_t from) { return std::find(got.begin() + from, got.end(), call) - got.begin(); };
    // The first text lies inside both clip rectangles, so the clip change
    // lets it wait; the two are then drawn apart, the first unclipped, the
    // second under its rectangle.
    size_t first = at("DrawIndexed(3, 4, 6, 4)", 0), open = at("SetClipRect(empty)", 0);
    size_t clip = at("SetClipRect(0 0 5 5)", first);
    size_t second = at("DrawIndexed(3, 4, 6, 4)", first + 1), bind = at("SetTexture(s_Glyphs, 8)", 0);
    size_t third = at("DrawIndexed(3, 8, 12, 4)", 0), unclip = got.size() - 1;
    EXPECT_TRUE(open < first && first < clip && clip < second && second < bind && bind < third && third < unclip)
        << ::testing::PrintToString(got);
    auto draws = [&] {
        return std::count_if(device->Calls.begin(), device->Calls.end(),
                             [](const std::string& c) { return c.rfind("DrawIndexed", 0) == 0; });
    };
    EXPECT_EQ(3, draws());

    // A batch holds at most 16,384 quads, however long nothing else happens.
    device->Clear();
    for (int i = 0; i < 20000; i++) cRender::DrawString(id, "A", 0, 0);
    cRender::Finish();
    EXPECT_EQ(2, draws());

    // Wire frame is off for the text and back on afterwards; measuring and
    // blanks draw nothing.
    cRender::SetWireframe(true);
    device->Clear();
    cRender::DrawString(id, "A", 0, 0);
    EXPECT_EQ("SetWireframe(0)", device->Calls.front());
    EXPECT_EQ("SetWireframe(1)", device->Calls.back());
    EXPECT_EQ(0xff000000u, device->VertexWord(0, 12));  // black without a colour
    device->Clear();
    cRender::DrawString(id, "  ", 0, 0);
    cRender::MeasureStringTightRect(id, "AAA");
    EXPECT_EQ(Calls(), device->Calls);
}

TEST(Font, EnsurePrintableDropsExactlyTheMissingCharacters) {
    const int id = MiniID();
    struct Case { const char* in; const char* out; } cases[] = {
        {"AxB", "AB"}, {"x", ""}, {"\xc3\xa9t\xc3\xa9", "t"}, {"\xf0\x9f\x98\x80!", "!"}, {"plain", "plain"}};
    for (const Case& c : cases) {
        cStr text(c.in), same(c.in);
        cRender::EnsurePrintable(id, &text);
        cRender::EnsurePrintable(-1, &same);
        EXPECT_STREQ(c.out, text.ToChar()) << c.in;
        EXPECT_STREQ(c.in, same.ToChar()) << "an unknown font changes nothing";
    }
}

TEST(Font, FontsLoadByNameOnceInAnyCase) {
    testsupport::TempDir dir;
    mkdir((dir / "Fonts").c_str(), 0755);
    testsupport::WriteFile(dir / "Fonts/Small Test.cFont", Bytes(MiniFont()));
    testsupport::WriteFile(dir / "Fonts/Broken.cFont", Bytes(MiniFont()).substr(0, 100));
    cIO::GetSourcesMutable().Add(new SourceFolder(dir.Path().c_str(), ""));
    RecordingScope device;
    const int id = cRender::GetFontID("Small Test");
    ASSERT_GE(id, 0);
    EXPECT_EQ(id, cRender::GetFontID("SMALL test"));
    EXPECT_TRUE(cRender::GetFontTextureID(id) == 7 && cRender::GetFont(id)->LineHeight == 12);
    EXPECT_EQ(-1, cRender::GetFontID("Broken"));
    EXPECT_EQ(-1, cRender::GetFontID("Missing"));
    EXPECT_EQ(1, device->Count("GetTextureID(Fonts/Small Test.bmp)"));  // loaded once
    EXPECT_TRUE(cRender::GetFont(-1) == nullptr && cRender::GetFontTextureID(1000) == -1);
    // The default fonts ship with the sources.
    cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
    for (const char* name : {"Tahoma 8", "Tahoma B8", "Calibri 11"})
        EXPECT_GT(cRender::GetFont(cRender::GetFontID(name)) ? cRender::GetFont(cRender::GetFontID(name))->Glyphs.Count() : 0, 150) << name;
    cList<cIO::Source*>& sources = cIO::GetSourcesMutable();
    for (int i = 0; i < 2; i++) {
        delete sources.GetLast();
        sources.RemoveAt(sources.Count() - 1);
    }
}

// ---- The font maker ----

namespace {

const std::string FontTool = std::string(ZOZUD_BINARY_DIR) + "/zozud-font";
const std::string DejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Runs the tool in dir: its exit status, and what it wrote on stderr.
int RunFontTool(const testsupport::TempDir& dir, const std::string& args, std::string* err) {
    int status = -1;
    testsupport::Shell("cd '" + dir.Path() + "' && '" + FontTool + "' " + args + " >/dev/null 2>.err", &status);
    *err = testsupport::ReadFile(dir / ".err");
    return status;
}

}  // namespace

TEST(FontTool, DejaVuBecomesAFontThatReadsBack) {
    if (!testsupport::FileExists(DejaVu)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
    testsupport::TempDir dir;
    std::string err;
    ASSERT_EQ(0, RunFontTool(dir, "'Test Sans' --from " + DejaVu + " --size 11 --out out", &err)) << err;
    cFont font;
    ASSERT_TRUE(ReadBytes(testsupport::ReadFile(dir / "out/Fonts/Test Sans.cFont"), &font));
    cImage texture;
    ASSERT_TRUE(cIO::LoadImage((dir / "out/Fonts/Test Sans.bmp").c_str(), &texture));
    EXPECT_EQ(95, font.Glyphs.Count());
    EXPECT_EQ(31, font.IndexOf('?'));
    EXPECT_EQ(0, (texture.Width & (texture.Width - 1)) | (texture.Height & (texture.Height - 1)));
    EXPECT_TRUE(font.LineHeight >= 11 && font.TightInset == 0);
    for (const cFont::Glyph& g : font.Glyphs) {
        EXPECT_TRUE(g.TexRect[0] >= 0 && g.TexRect[1] >= 0 && g.TexRect[2] <= texture.Width &&
                    g.TexRect[3] <= texture.Height)
            << g.Code;
        EXPECT_EQ(g.Width, g.TexRect[2] - g.TexRect[0]) << g.Code;
        EXPECT_EQ(g.Height, g.TexRect[3] - g.TexRect[1]) << g.Code;
    }

    // Quads that cover the ink alone (the GL pixel test checks it drawn); with
    // the base-line flag the foot of "H" sits on y, the tail of "g" below it.
    const int id = cRender::AddFont("Test Sans", font, 7);
    EXPECT_EQ(16, cRender::DrawString(id, "H", 20, 16, 8 | 64 | 32, nullptr).y0);
    EXPECT_GT(16, cRender::DrawString(id, "g", 20, 16, 8 | 64 | 32, nullptr).y0);
}

TEST(FontTool, BadInputExitsWithOneLine) {
    testsupport::TempDir dir;
    testsupport::WriteFile(dir / "junk.ttf", "not a font at all");
    const std::string dejavu = " --from " + DejaVu;
    const char* const cases[] = {
        "Name --from missing.ttf --size 11", "Name --from junk.ttf --size 11", "Name",
        "--size 11",                           "Name --size 0",                  "Name --size 100000",
        "Name --size 11px",                    "Name --size 11 --chars 126-32",  "Name --size 11 --chars 0x10000",
        "Name --size 11 --bogus",              "a/b --size 11",
    };
    for (const char* c : cases) {
        std::string args = c;
        if (args.find("--from") == std::string::npos) args += dejavu;
        std::string err;
        EXPECT_EQ(1, RunFontTool(dir, args, &err)) << args;
        EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << args << ": " << err;
        EXPECT_EQ(0u, err.find("zozud-font: ")) << err;
    }
    EXPECT_FALSE(testsupport::FileExists(dir / "Fonts"));
}
