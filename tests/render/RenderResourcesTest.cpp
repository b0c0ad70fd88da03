// Resources, shader files and the named tables of the front end.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "render/RecordingDevice.h"

using namespace zozud;
using namespace zozud_test;
using Calls = std::vector<std::string>;

TEST(RenderResources, SamplersAreBoundWithTexturesAndTargetsAndConstantsGoOutAsFloats) {
    RecordingScope device;
    EXPECT_EQ(7, cRender::GetTextureID("Textures/a.bmp", 3));
    EXPECT_EQ(20, cRender::AddRenderTarget(64, 32, cFormat::Rgba8, 5, true, 2));
    EXPECT_EQ(21, cRender::AddRenderDepth(20));
    cRender::SetTexture(1, 7, 4);

    cImage image(cFormat::Rgba8, 16, 8);
    cList<cRect> dirty;
    dirty.Add(cRect(0, 0, 4, 2));
    dirty.Add(cRect(8, 4, 16, 8));
    cRender::UpdateTexture(9, image, dirty);
    // Colours and rectangles go out as four floats.
    cColor colors[2] = {cColor(1, 0, 0, 0.25f), cColor(0, 1, 0, 0.75f)};
    cRender::SetShaderConst(5, cColor(0.5f, 0.25f, 1, 0));
    cRender::SetShaderConst(5, cRect(1, 2, 3, 4));
    cRender::SetShaderConst(5, colors, 2);
    EXPECT_EQ((Calls{"GetTextureID(Textures/a.bmp)", "SetSamplerState(7, 3)", "AddRenderTarget(64, 32, 4, 1, 2)",
                     "SetSamplerState(20, 5)", "AddRenderDepth(20, 19)", "SetSamplerState(7, 4)",
                     "SetTexture(1, 7)", "UpdateTexture(9, 4x2 8x4, 2 rects)", "SetShaderConst(5, 0.5 0.25 1 0)",
                     "SetShaderConst(5, 1 2 3 4)", "SetShaderConst(5, vec4[2] 0.75)"}),
              device->Calls);
}

TEST(RenderShaders, SectionsSplitAtTheMarkers) {
    struct Case { const char* text; const char* vertex; const char* pixel; int found; } cases[] = {
        {"// Vertex shader\nA\n// Fragment shader\nB\n", "// Vertex shader\nA\n", "// Fragment shader\nB\n", 3},
        {"head\n// PIXEL SHADER\nB\n// vertex Shader\nA", "// vertex Shader\nA", "// PIXEL SHADER\nB\n", 3},
        {"// Vertex shader\nonly", "// Vertex shader\nonly", "", 1},
        {"x // Pixel shader y", "", "// Pixel shader y", 2},
        {"// Vertex shade", "", "", 0},
        {"", "", "", 0},
    };
    for (const Case& c : cases) {
        cStr vs("old"), ps("old");
        int vp = 99, pp = 99;
        int found = cRender::Stub::SplitShaderSource(c.text, (int)strlen(c.text), &vs, &ps, &vp, &pp);
        EXPECT_EQ(c.found, found) << c.text;
        EXPECT_STREQ(c.vertex, vs) << c.text;
        EXPECT_STREQ(c.pixel, ps) << c.text;
        EXPECT_EQ(found & 1 ? (int)(strstr(c.text, c.vertex) - c.text) : -1, vp) << c.text;
        EXPECT_EQ(found & 2 ? (int)(strstr(c.text, c.pixel) - c.text) : -1, pp) << c.text;
    }
}

TEST(RenderShaders, LoadShaderAppliesTheReplacementsToBothSections) {
    std::string path = std::string(ZOZUD_BINARY_DIR) + "/render_test_shader.txt";
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fputs("// Vertex shader\nfloat v = LOAD_K;\n// Fragment shader\nfloat p = LOAD_K * LOAD_K2;LOAD_NONE\n", f);
    fclose(f);
    cRender::ReplaceInShaders("LOAD_K", "9.0");
    cRender::ReplaceInShaders("LOAD_K", "2.0");  // replaces the earlier text
    cRender::ReplaceInShaders("LOAD_K2", "3.0");  // sorted after LOAD_K, so never reached
    cRender::ReplaceInShaders("LOAD_NONE", nullptr);  // removed
    cRender::Stub stub;
    cStr vs, ps;
    int vp, pp;
    ASSERT_TRUE(stub.LoadShader(path.c_str(), &vs, &ps, &vp, &pp));
    EXPECT_STREQ("// Vertex shader\nfloat v = 2.0;\n", vs);
    EXPECT_STREQ("// Fragment shader\nfloat p = 2.0 * 2.02;\n", ps);
    EXPECT_EQ(0, vp);
    EXPECT_FALSE(stub.LoadShader((path + ".missing").c_str(), &vs, &ps, &vp, &pp));
    EXPECT_FALSE(stub.LoadShaderFromCache("x", 0, nullptr));
    remove(path.c_str());
}

TEST(RenderNames, LookupsAndValidation) {
    EXPECT_EQ(15, cRender::AutoConst::FromString("g_TimeSec"));
    EXPECT_EQ(-1, cRender::AutoConst::FromString("g_timesec"));
    EXPECT_TRUE(cRender::AutoConst::FromString(nullptr) == -1 && cRender::AutoConst::ToString(-1) == nullptr);
    EXPECT_EQ(nullptr, cRender::AutoConst::ToString(cRender::AutoConst::Count));
    for (int i = 0; i < cRender::AutoConst::Count; i++)
        EXPECT_EQ(i, cRender::AutoConst::FromString(cRender::AutoConst::ToString(i)));

    struct Case { float a, b, c; int n; float ea, eb, ec; int en; } cases[] = {
        {0.5f, 0.0005f, 0.0f, 0, 20, 20, 5, 1},
        {1.0f, 0.001f, 0.001f, -3, 1, 0.001f, 0.001f, 1},
        {50, 7, 2, 4, 50, 7, 2, 4},
        {NAN, NAN, NAN, 2, 20, 20, 5, 2},
    };
    for (const Case& c : cases) {
        cRender::GridArgs g;
        g.Size = c.a, g.FadeDistance = c.b, g.Step = c.c, g.MajorEvery = c.n;
        g.Validate();
        EXPECT_TRUE(c.ea == g.Size && c.eb == g.FadeDistance && c.ec == g.Step && c.en == g.MajorEvery) << c.a;
    }
}

TEST(RenderNames, PackedColourRoundsAndClamps) {
    EXPECT_EQ(0x80ff00ffu, cRender::PackColor(cColor(1, 0, 1, 0.5f)));
    EXPECT_EQ(0x000000ffu, cRender::PackColor(cColor(2, -1, NAN, 0)));
    EXPECT_EQ(0x01000080u, cRender::PackColor(cColor(0.5f, 0.0019f, 0, 0.002f)));  // 0.4845 -> 0, 0.51 -> 1
}
