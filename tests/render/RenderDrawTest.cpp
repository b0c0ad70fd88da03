// The immediate helpers as the device sees them: one draw call per batch,
// the vertices and indices they build, and the pipeline they force.
#include <gtest/gtest.h>

#include "render/RecordingDevice.h"

using namespace zozud;
using namespace zozud_test;
using Calls = std::vector<std::string>;

namespace {

// The x, y of every vertex of the last draw.
void ExpectPositions(const std::vector<std::pair<float, float>>& expected, const RecordingDevice& d) {
    ASSERT_EQ((int)expected.size(), d.VertexCount());
    for (int i = 0; i < d.VertexCount(); i++)
        EXPECT_EQ(expected[i], std::make_pair(d.VertexFloat(i, 0), d.VertexFloat(i, 4))) << "vertex " << i;
}

}  // namespace

TEST(RenderDraw, SolidRectanglesAreOneIndexedDraw) {
    RecordingScope device;
    cRender::SetDepthState(3);
    cRender::SetCullMode(cCullMode::Back);
    device->Clear();

    const cRect none[] = {cRect(5, 5, 4, 9), cRect::Empty};
    cRender::FillRectanglesSolid(none, 2, cColor(1, 1, 1));
    EXPECT_EQ(Calls(), device->Calls);  // nothing drawn, states untouched

    const cRect rects[] = {cRect(0, 0, 10, 20), cRect(3, 3, 2, 2), cRect(30, 40, 35, 41)};
    cRender::FillRectanglesSolid(rects, 3, cColor(1, 0, 0, 1));
    // The empty rectangle is skipped; the pixel tests check what the others cover.
    EXPECT_EQ((Calls{"SetDepthState(-1)", "SetCullMode(0)", "SetShader(SolidUI)", "DrawIndexed(3, 8, 12, 4)"}),
              device->Calls);

    // Neutral already: only the shader and the draw; a caller's shader wins.
    device->Clear();
    int custom = cRender::GetShaderID("Custom", cVertex::PositionColored::FormatID);
    const cRect one(1, 2, 4, 6);
    cRender::FillRectanglesSolid(&one, 1, cColor(0, 0, 0, 0), custom);
    EXPECT_EQ((Calls{"SetShader(Custom)", "DrawIndexed(3, 4, 6, 4)"}), device->Calls);
}

TEST(RenderDraw, RectangleOutlineEdgesDependOnTheDevice) {
    // Type 0: the right edge runs to the bottom; type 1 stops one pixel short.
    for (int type : {0, 1}) {
        RecordingScope device(type);
        cRender::DrawRectangle(0, 0, 10, 10, cColor(1, 1, 1));
        float e = type == 1 ? 9 : 10;
        EXPECT_EQ((Calls{"SetShader(LinesPointsUI)", "DrawIndexed(1, 8, 8, 4)"}), device->Calls);
        ExpectPositions({{0, 0}, {0, 9}, {1, 0}, {9, 0}, {9, 0}, {9, e}, {0, 9}, {10, 9}}, *device);
    }
}

TEST(RenderDraw, DitherSetsItsBlendAndConstants) {
    RecordingScope device;
    cRender::FillRectangleDither(cRect(4, 4, 2, 8), cVec2(0, 0), cColor(0, 0, 0), cColor(1, 1, 1));  // empty
    cRender::FillRectangleDither(cRect(0, 0, 8, 6), cVec2(2.5f, -1.5f), cColor(1, 0, 0, 1), cColor(0, 0, 1, 0.5f));
    EXPECT_EQ((Calls{"SetBlendState(blend 405015)", "SetShader(DitherUI)", "SetShaderConst(c_Orig, 3 -1)",
                     "SetShaderConst(c_Color0, 1 0 0 1)", "SetShaderConst(c_Color1, 0 0 1 0.5)",
                     "DrawIndexed(3, 4, 6, 4)"}),
              device->Calls);
    EXPECT_EQ(12, device->Stride);  // positions only
}

TEST(RenderDraw, RadialGradientsTexturesAndIconsPickTheirShaderVariants) {
    RecordingScope device;
    cRender::FillRectangleRadialGradient(cRect(0, 0, 10, 4), true, cColor(1, 1, 1), cColor(0, 0, 0));
    EXPECT_EQ(1, device->Count("SetShader(RadialGradientUI [#define HORIZONTAL])"));
    EXPECT_EQ(1, device->Count("SetShaderConst(c_GradRadius, 2)"));

    device->Clear();
    device->TextureDepths[9] = 0;  // a cube map
    cRender::FillRectangleTexturedArgs args;
    args.OverrideAlpha = true;
    args.AlphaChannelAsColor = true;
    args.FaceIndex = 4;
    cRender::FillRectangleTextured(cRect(0, 0, 8, 8), 9, args);
    EXPECT_EQ(1, device->Count("SetShader(TexturedUI [#define SRC_CUBE\n#define OVERRIDE_ALPHA\n#define ALPHA_CHANNEL_AS_COLOR])"));
    EXPECT_EQ(1, device->Count("SetTexture(s_Src, 9)"));
    EXPECT_EQ(1, device->Count("SetShaderConst(c_FaceIndex, 4)"));
    EXPECT_EQ(1, device->Count("DrawIndexed(3, 4, 6, 4)"));

    device->Clear();
    device->TextureSizes[5] = {64, 16};
    cRender::DrawIcon(cRect(0, 0, 16, 16), 5, 2, cRender::IconState::Hot, 0.5f, 1, 4);
    EXPECT_EQ(1, device->Count("SetShader(IconUI)"));
    EXPECT_EQ(1, device->Count("SetShaderConst(c_Hot, 1)"));
    EXPECT_EQ(0.25f, device->VertexFloat(1, 16));  // icon 1 of 4 starts at u 0.25
    EXPECT_EQ(0.5f, device->VertexFloat(2, 16));
}

TEST(RenderDraw, ThreeDimensionalHelpersBatchIntoOneDraw) {
    RecordingScope device;
    cRender::DrawCubeWire(cVec3(0, 0, 0), 2, cColor(1, 1, 1));
    EXPECT_EQ((Calls{"SetShader(Colored)", "DrawArrays(1, 24)"}), device->Calls);
    device->Clear();
    cVec3 centers[3] = {cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(2, 0, 0)};
    cRender::DrawBillboardQuadsSolid(centers, 3, 1, cColor(1, 1, 1));
    EXPECT_EQ((Calls{"SetShader(Colored)", "DrawIndexed(3, 12, 18, 4)"}), device->Calls);
    device->Clear();
    cRender::DrawFrustumWire(cMat4::Zero, cColor(1, 1, 1));  // singular: nothing
    cRender::GridArgs grid;
    grid.Size = 10;
    grid.Step = 5;
    cRender::DrawGrid(grid);
    // Lines at -10, -5, 5, 10 both ways plus the two axes.
    EXPECT_EQ((Calls{"SetShader(Grid)", "SetShaderConst(c_WorldViewProjectionMatrix, mat4 0)", "DrawArrays(1, 20)"}),
              device->Calls);
}

// Sizes from outside stay bounded: no endless loop, no runaway memory.
TEST(RenderDraw, HugeAndNotANumberSizesStayBounded) {
    RecordingScope device;
    cRender::DrawRectangleDot(cRect(0, 0, 1e30f, 1e30f), cColor(1, 1, 1));
    EXPECT_EQ(1, device->Count("DrawIndexed(1, 131072, 131072, 4)"));  // 4 edges x 16384 dashes x 2
    device->Clear();
    cRender::DrawRectangleDot(cRect(0, 0, 5, NAN), cColor(1, 1, 1));
    cRender::GridArgs grid;
    grid.Size = INFINITY;
    grid.Step = 0.001f;
    cRender::DrawGrid(grid);
    EXPECT_EQ(1, device->Count("DrawArrays(1, 16388)"));  // 2 x 2048 lines each side, both ways
    cRender::FillCircleSolid(cVec2(0, 0), 5, cColor(1, 1, 1), 1 << 30);
    EXPECT_EQ(1, device->Count("DrawIndexed(3, 1025, 3072, 4)"));
}
