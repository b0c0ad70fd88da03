// What reaches the device from the state functions: real changes only.
#include <gtest/gtest.h>

#include "render/RecordingDevice.h"
#include "zozud/render/Viewer.h"

using namespace zozud;
using namespace zozud_test;
using Calls = std::vector<std::string>;

TEST(RenderLife, InitResetsRegistersAndFreeEmptiesTheStacks) {
    {
        RecordingScope device;
        EXPECT_FALSE(cRender::Init(1));  // one device at a time
        cRender::SetDepthState(4);
        cRender::PushDepthState();
        cRender::PushClipRect();
        cRender::PushWorldMatrix();
    }
    EXPECT_EQ(nullptr, cRender::GetInstance());
    EXPECT_EQ(-1, cRender::GetTextureID("a.bmp", 0));  // nothing behind the front end
    EXPECT_FALSE(cRender::GetFlipRenderTarget());
    EXPECT_EQ(0, cRender::GetType());

    // Without a factory the front end runs over the plain stub: it accepts
    // everything, draws nothing and answers -1 / false.
    ASSERT_TRUE(cRender::Init(0));
    EXPECT_EQ(0, cRender::GetType());
    EXPECT_EQ(-1, cRender::GetShaderID("SolidUI", cVertex::PositionColored::FormatID));
    EXPECT_EQ(-1, cVertex::Bump::FormatID);
    EXPECT_FALSE(cRender::SupportsNonPowerOfTwo());
    const cRect r(0, 0, 4, 4);
    cRender::FillRectanglesSolid(&r, 1, cColor(1, 1, 1));
    cRender::DrawGrid(cRender::GridArgs());
    cRender::Free();

    cRender::SetDeviceFactory([](int) -> cRender::Stub* { return nullptr; });
    EXPECT_FALSE(cRender::Init(1));

    RecordingScope device(2);
    EXPECT_TRUE(cRender::GetFlipRenderTarget());
    // The pushes made before Free are gone.
    cRender::PopDepthState();
    cRender::PopClipRect();
    cRender::PopWorldMatrix();
    EXPECT_EQ(Calls(), device->Calls);
}

TEST(RenderLife, InitSendsTheResetInOrderThenTheLayouts) {
    auto* d = new RecordingDevice();
    static RecordingDevice* next;
    next = d;
    cRender::SetDeviceFactory([](int) -> cRender::Stub* { return next; });
    ASSERT_TRUE(cRender::Init(1));
    Calls expected = {"Init(1)", "SetDepthState(-1)", "SetBlendState(-1)", "SetCullMode(0)", "SetWireframe(0)",
                      "SetClipRect(empty)"};
    for (int size : {16, 24, 32, 44, 24, 28, 32, 12, 16, 20, 56, 88, 132})
        expected.push_back("AddVertexFormat(" + std::to_string(size) + " bytes)");
    EXPECT_EQ(expected, d->Calls);
    EXPECT_GE(cVertex::Bump::FormatID, 0);
    cRender::Free();
    cRender::SetDeviceFactory(nullptr);

    // A device that cannot start leaves no device behind.
    RecordingDevice* failing = new RecordingDevice();
    failing->InitResult = false;
    next = failing;
    cRender::SetDeviceFactory([](int) -> cRender::Stub* { return next; });
    EXPECT_FALSE(cRender::Init(1));
    EXPECT_EQ(nullptr, cRender::GetInstance());
    cRender::SetDeviceFactory(nullptr);
}

TEST(RenderState, OnlyRealChangesReachTheDevice) {
    RecordingScope device;
    cRender::SetDepthState(-1);
    cRender::SetBlendState(-1);
    cRender::SetCullMode(cCullMode::None);
    cRender::SetWireframe(false);
    EXPECT_EQ(Calls(), device->Calls);

    // Push, pop without a change in between: nothing.
    cRender::PushDepthState(), cRender::PopDepthState();
    cRender::PushBlendState(), cRender::PopBlendState();
    cRender::PushCullMode(), cRender::PopCullMode();
    cRender::PopCullMode();  // empty stack
    EXPECT_EQ(Calls(), device->Calls);

    // Changed in between: the pop restores, once.
    cRender::PushDepthState();
    cRender::SetDepthState(3);
    cRender::SetDepthState(3);
    cRender::PopDepthState();
    cRender::PushCullMode();
    cRender::SetCullMode(cCullMode::Back);
    cRender::PopCullMode();
    cRender::SetWireframe(true);
    cRender::SetWireframe(true);
    // Frames open and close once.
    cRender::EndFrame();
    cRender::BeginFrame();
    cRender::BeginFrame();
    cRender::EndFrame();
    cRender::EndFrame();
    EXPECT_EQ((Calls{"SetDepthState(3)", "SetDepthState(-1)", "SetCullMode(1)", "SetCullMode(0)", "SetWireframe(1)",
                     "BeginFrame()", "EndFrame()"}),
              device->Calls);
    EXPECT_EQ(-1, cRender::GetDepthState());
    EXPECT_TRUE(cRender::GetWireframe());

    // ResetStates sends everything, changed or not.
    device->Clear();
    cRender::ResetStates();
    EXPECT_EQ((Calls{"SetDepthState(-1)", "SetBlendState(-1)", "SetCullMode(0)", "SetWireframe(0)",
                     "SetClipRect(empty)"}),
              device->Calls);
}

TEST(RenderState, ClipRectanglesWithinAThousandthAreEqual) {
    RecordingScope device;
    cRender::SetClipRect(cRect(10, 20, 110, 220));
    device->Clear();
    cRender::SetClipRect(cRect(10.0005f, 19.9995f, 110.0005f, 220.0005f));
    cRender::SetClipRect(cRect(5, 5, 1, 1));  // empty: differs from a real rectangle
    cRender::SetClipRect(cRect::Empty);       // another empty one: no change
    cRender::SetClipRect(cRect(10, 20, 110, 220));
    cRender::SetClipRect(cRect(10, 20, 110.002f, 220));
    EXPECT_EQ((Calls{"SetClipRect(empty)", "SetClipRect(10 20 110 220)", "SetClipRect(10 20 110.002 220)"}),
              device->Calls);

    device->Clear();
    cRender::PushClipRect();
    cRender::SetClipRect(cRect(10, 20, 110.0025f, 220));  // within tolerance: shadow keeps 110.002
    cRender::PopClipRect();
    cRender::PushClipRect();
    cRender::SetClipRect(cRect(0, 0, 4, 4));
    cRender::PopClipRect();
    cRender::PopClipRect();  // empty stack
    EXPECT_EQ((Calls{"SetClipRect(0 0 4 4)", "SetClipRect(10 20 110.002 220)"}), device->Calls);
}

TEST(RenderState, WorldAndTextureMatrices) {
    RecordingScope device;
    cRender::SetWorldMatrix(cMat4::Scaling(2, 0, 1));  // singular
    EXPECT_EQ(cMat4::Identity, cRender::GetWorldMatrixInverse());
    cRender::SetWorldMatrix(cMat4::Translation(1, 2, 3) * cMat4::Scaling(2));
    EXPECT_TRUE(cMat4::Equals(cMat4::Scaling(0.5f) * cMat4::Translation(-1, -2, -3), cRender::GetWorldMatrixInverse(), 1e-6f));
    EXPECT_TRUE(cMat3::Equals(cMat3::Scaling(0.5f), cRender::GetNormalMatrix(), 1e-6f));

    cRender::PushWorldMatrix();
    cRender::SetWorldMatrix(cMat4::Identity);
    EXPECT_EQ(cMat3::Identity, cRender::GetNormalMatrix());
    device->Clear();
    cRender::PopWorldMatrix();
    cRender::PopWorldMatrix();  // empty stack
    EXPECT_EQ(Calls{"UpdateMatrices()"}, device->Calls);
    EXPECT_TRUE(cMat3::Equals(cMat3::Scaling(0.5f), cRender::GetNormalMatrix(), 1e-6f));  // caches rebuilt

    device->Clear();
    cMat4 m = cMat4::Translation(5, 6, 7);
    cRender::SetTextureMatrix(m, 4);
    cRender::SetTextureMatrix(m, -1);
    EXPECT_EQ(Calls(), device->Calls);
    EXPECT_EQ(cMat4::Identity, cRender::GetTextureMatrix(3));
    cRender::SetTextureMatrix(m, 0);
    EXPECT_EQ(m, cRender::GetTextureMatrix(7));
    EXPECT_EQ(Calls{"UpdateMatrices()"}, device->Calls);
}

TEST(RenderTargets, PushAndPopRedirectTheViewerAndRestoreIt) {
    RecordingScope device;
    device->TextureSizes[20] = {256, 128};
    device->TextureSizes[30] = {64, 32};
    cViewer viewer;
    viewer.Viewport = cRect(0, 0, 800, 600);
    viewer.Aspect = 2;
    viewer.WorkAspect = 1.5f;
    cRender::SetViewer(&viewer);
    cRender::SetClipRect(cRect(1, 1, 50, 50));
    device->Clear();

    int faces[] = {3};
    cRender::PushRenderTarget(nullptr, 0, -1, nullptr, false);  // odd but harmless
    cRender::PopRenderTarget();
    device->Clear();
    int first = 20, second = 30;
    cRender::PushRenderTarget(&first, 1, 21, faces, true);
    EXPECT_EQ(2.0f, viewer.WorkAspect);
    EXPECT_EQ(cRect(0, 0, 256, 128), viewer.Viewport);
    cRender::PushRenderTarget(second);
    EXPECT_EQ(2, cRender::GetRenderTargetMaxDepth());
    EXPECT_EQ((Calls{"SetRenderTargets([20], 1, 21, faces)", "SetViewport(0 0 256 128)", "UpdateMatrices()",
                     "SetClipRect(empty)", "SetRenderTargets([30], 1, -1, null)", "SetViewport(0 0 64 32)",
                     "UpdateMatrices()"}),
              device->Calls);

    device->Clear();
    cRender::PopRenderTarget();
    cRender::PopRenderTarget();
    cRender::PopRenderTarget();  // empty stack
    EXPECT_EQ((Calls{"SetRenderTargets([20], 1, 21, faces)", "SetViewport(0 0 256 128)", "UpdateMatrices()",
                     "SetRenderTargets([], 0, -1, null)", "SetViewport(0 0 800 600)", "UpdateMatrices()",
                     "SetClipRect(1 1 50 50)"}),
              device->Calls);
    EXPECT_EQ(1.5f, viewer.WorkAspect);
    EXPECT_EQ(cRect(1, 1, 50, 50), cRender::GetClipRect());
    cRender::SetViewer(nullptr);
}
