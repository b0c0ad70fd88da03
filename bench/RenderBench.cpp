// The immediate helpers of the render front end. Two questions:
// - steady-state drawing allocates nothing: after a first frame that sizes
//   the helpers' reused lists, 1,000 frames of every helper run with malloc,
//   calloc, realloc and operator new counted (reported as "allocations",
//   which must be 0);
// - how fast FillRectanglesSolid builds vertices: 10,000 rectangles per call
//   through the test suite's recording device (which copies every draw) and
//   through a device that only counts, against a reference that
//   writes the same quads into a std::vector with push_back.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "render/RecordingDevice.cpp"
#include "zozud/math/Bounds.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"

#include "CountingAllocator.h"

using namespace zozud;

namespace {

// A device that answers every query and draws nothing, without allocating.
class QuietDevice : public cRender::Stub {
public:
    long Vertices = 0;
    int  GetType() override { return 1; }
    int  GetShaderID(const char*, int, const char*) override { return 1; }
    int  GetShaderConstID(int, const char*) override { return 2; }
    int  GetSamplerID(int, const char*) override { return 0; }
    int  GetBlendStateID(cBlendFactor::Enum, cBlendFactor::Enum, cBlendMode::Enum, unsigned) override { return 3; }
    int  AddVertexFormat(const cVertex::Format&) override { return 4; }
    int  GetTextureWidth(int) override { return 256; }
    int  GetTextureHeight(int) override { return 256; }
    int  GetTextureDepth(int) override { return 1; }
    void DrawArrays(cTopology::Enum, const void*, int n) override { Vertices += n; }
    void DrawIndexed(cTopology::Enum, const void*, int n, const void*, int, int) override { Vertices += n; }
};

QuietDevice* s_Quiet;

void Frame(cViewer& viewer) {
    static cRect rects[100];
    for (int i = 0; i < 100; i++) rects[i] = cRect((float)i, (float)i, (float)i + 20, (float)i + 10);
    cColor c(0.2f, 0.4f, 0.6f, 1);
    cRender::BeginFrame();
    cRender::SetViewer(&viewer);
    cRender::PushClipRect();
    cRender::SetClipRect(cRect(0, 0, 640, 480));
    cRender::FillRectanglesSolid(rects, 100, c);
    cRender::FillRectanglesLinearGradient(rects, 100, c, cColor(1, 1, 1), cRender::LinearGradient::Vertical);
    cRender::DrawRectangle(1, 2, 30, 40, c);
    cRender::DrawLine(0, 0, 10, 10, c);
    cRender::DrawRectanglesDot(rects, 10, c);
    cRender::DrawNoPreview(cRect(0, 0, 64, 64), c);
    cRender::FillRectangleDither(cRect(0, 0, 64, 64), cVec2(0.5f, 0.5f), c, cColor(0, 0, 0, 0));
    cRender::FillCircleSolid(cVec2(50, 50), 20, c);
    cRender::FillCircleRadialGradient(cVec2(50, 50), 20, c, cColor(0, 0, 0, 0));
    cRender::FillRectangleRadialGradient(cRect(0, 0, 90, 20), true, c, cColor(0, 0, 0, 0));
    cRender::DrawIcon(cRect(0, 0, 16, 16), 1, -1, cRender::IconState::Hot, 1, 2, 8);
    cRender::FillRectangleTextured(cRect(0, 0, 128, 128), 1, cRender::FillRectangleTexturedArgs());
    cRender::PushRenderTarget(5);
    cRender::Clear(true, true, c);
    cRender::PopRenderTarget();
    cRender::PushDepthState();
    cRender::SetDepthState(2);
    cRender::PopDepthState();
    cRender::PushWorldMatrix();
    cRender::SetWorldMatrix(cMat4::Translation(1, 2, 3));
    cRender::DrawCubeWire(cVec3(0, 0, 0), 1, c);
    cRender::DrawCubeSolid(cVec3(0, 0, 0), 1, c);
    cRender::DrawSphereWire(cVec3(0, 0, 0), 1, c);
    cRender::DrawConeSolid(cVec3(0, 1, 0), cVec3(0, 0, 0), 0.5f, c);
    cRender::DrawSector(cVec3(0, 0, 0), cVec3(0, 1, 0), cVec3(1, 0, 0), 90, 1, c);
    cRender::DrawBounds(cBounds(cVec3(-1, -1, -1), cVec3(1, 1, 1)), c);
    cRender::DrawFrustumWire(cMat4::Perspective(60, 1.5f, 0.1f, 100), c);
    cRender::DrawGrid(cRender::GridArgs());
    cRender::PopWorldMatrix();
    cRender::PopClipRect();
    cRender::EndFrame();
}

void BM_ImmediateFramesAllocations(benchmark::State& state) {
    s_Quiet = new QuietDevice();
    cRender::SetDeviceFactory([](int) -> cRender::Stub* { return s_Quiet; });
    cRender::Init(1);
    cViewer viewer;
    viewer.Viewport = cRect(0, 0, 640, 480);
    s_Allocations = 0;
    s_Counting = true;
    Frame(viewer);  // sizes the reused lists: the hook must see these
    s_Counting = false;
    long firstFrame = s_Allocations;
    long allocations = 0;
    for (auto _ : state) {
        s_Allocations = 0;
        s_Counting = true;
        for (int i = 0; i < 1000; i++) Frame(viewer);
        s_Counting = false;
        allocations += s_Allocations;
    }
    state.counters["first frame allocations"] = (double)firstFrame;
    state.counters["allocations"] = (double)allocations;
    state.counters["vertices/frame"] = (double)s_Quiet->Vertices / (double)(1 + 1000 * state.iterations());
    cRender::SetViewer(nullptr);
    cRender::Free();
    cRender::SetDeviceFactory(nullptr);
}
BENCHMARK(BM_ImmediateFramesAllocations)->Iterations(3)->Unit(benchmark::kMillisecond);

std::vector<cRect> Rects() {
    std::vector<cRect> rects;
    for (int i = 0; i < 10000; i++) {
        float x = (float)(i % 100) * 10, y = (float)(i / 100) * 10;
        rects.push_back(cRect(x, y, x + 8, y + 8));
    }
    return rects;
}

void BM_FillRectanglesSolid10k(benchmark::State& state) {
    zozud_test::RecordingScope device;
    std::vector<cRect> rects = Rects();
    for (auto _ : state) {
        cRender::FillRectanglesSolid(rects.data(), (int)rects.size(), cColor(1, 0, 0, 1));
        device->Clear();
    }
    state.counters["vertices/s"] = benchmark::Counter(40000.0 * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FillRectanglesSolid10k)->Unit(benchmark::kMicrosecond);

// The same call through a device that only counts: the vertex building alone.
void BM_FillRectanglesSolid10kQuietDevice(benchmark::State& state) {
    s_Quiet = new QuietDevice();
    cRender::SetDeviceFactory([](int) -> cRender::Stub* { return s_Quiet; });
    cRender::Init(1);
    std::vector<cRect> rects = Rects();
    for (auto _ : state) cRender::FillRectanglesSolid(rects.data(), (int)rects.size(), cColor(1, 0, 0, 1));
    state.counters["vertices/s"] = benchmark::Counter(40000.0 * (double)state.iterations(), benchmark::Counter::kIsRate);
    cRender::Free();
    cRender::SetDeviceFactory(nullptr);
}
BENCHMARK(BM_FillRectanglesSolid10kQuietDevice)->Unit(benchmark::kMicrosecond);

// Reference: the same quads into a std::vector with push_back, kept between calls.
void BM_StdVectorQuads10k(benchmark::State& state) {
    std::vector<cRect> rects = Rects();
    std::vector<cVertex::PositionColored> verts;
    std::vector<int> indices;
    unsigned color = cRender::PackColor(cColor(1, 0, 0, 1));
    for (auto _ : state) {
        verts.clear();
        indices.clear();
        for (const cRect& r : rects) {
            int base = (int)verts.size();
            verts.push_back({cVec3(r.x0, r.y1, 0), color});
            verts.push_back({cVec3(r.x0, r.y0, 0), color});
            verts.push_back({cVec3(r.x1, r.y0, 0), color});
            verts.push_back({cVec3(r.x1, r.y1, 0), color});
            for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(base + k);
        }
        benchmark::DoNotOptimize(verts.data());
        benchmark::DoNotOptimize(indices.data());
    }
    state.counters["vertices/s"] = benchmark::Counter(40000.0 * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StdVectorQuads10k)->Unit(benchmark::kMicrosecond);

}  // namespace
