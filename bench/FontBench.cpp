// Text drawing and measuring with the default font "Tahoma 8" (Fonts/):
// - DrawString of 100,000 glyphs a frame (1,000 lines of 100 characters)
//   through a device that only counts what reaches it: glyphs per second;
// - the same lines measured (cells and tight rectangles): glyphs per second;
// - allocations of steady-state drawing and of measuring, counted with
//   malloc, calloc, realloc and operator new hooked ("allocations", must be 0);
// - reference: Dear ImGui's ImDrawList::AddText building the vertices of the
//   same lines with DejaVu Sans at the same size (CPU only, no GL context),
//   one NewFrame/Render per frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/Render.h"

#if ZOZUD_BENCH_HAVE_IMGUI
#include <imgui/imgui.h>
#endif

#include "CountingAllocator.h"

using namespace zozud;

namespace {

const int Lines = 1000, LineLength = 100;

// A device that answers every query and counts glyph quads, without allocating.
class CountingDevice : public cRender::Stub {
public:
    long Quads = 0;
    int  GetType() override { return 1; }
    int  GetTextureID(const char*) override { return 1; }
    int  GetShaderID(const char*, int, const char*) override { return 1; }
    int  GetShaderConstID(int, const char*) override { return 2; }
    int  GetSamplerID(int, const char*) override { return 0; }
    int  GetSamplerStateID(cFilter::Enum, cAddressMode::Enum, cAddressMode::Enum, cAddressMode::Enum) override { return 5; }
    int  GetBlendStateID(cBlendFactor::Enum, cBlendFactor::Enum, cBlendMode::Enum, unsigned) override { return 3; }
    int  AddVertexFormat(const cVertex::Format&) override { return 4; }
    void DrawIndexed(cTopology::Enum, const void*, int n, const void*, int, int) override { Quads += n / 4; }
};

// Lines of printable ASCII, about one blank in eight.
const std::vector<std::string>& Text() {
    static std::vector<std::string> lines;
    if (lines.empty()) {
        unsigned seed = 12345;
        for (int i = 0; i < Lines; i++) {
            std::string line;
            for (int k = 0; k < LineLength; k++) {
                seed = seed * 1103515245u + 12345u;
                unsigned r = seed >> 16;
                line += r % 8 == 0 ? ' ' : (char)('!' + r % 94);
            }
            lines.push_back(line);
        }
    }
    return lines;
}

struct Scope {
    CountingDevice* device = new CountingDevice();
    int font = -1;
    Scope() {
        static CountingDevice* next;
        next = device;
        cRender::SetDeviceFactory([](int) -> cRender::Stub* { return next; });
        cRender::Init(1);
        static bool sourced = false;
        if (!sourced) cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
        sourced = true;
        font = cRender::GetFontID("Tahoma 8");
    }
    ~Scope() {
        cRender::Free();
        cRender::SetDeviceFactory(nullptr);
    }
};

void DrawFrame(int font) {
    const std::vector<std::string>& text = Text();
    cRender::BeginFrame();
    for (int i = 0; i < Lines; i++) cRender::DrawString(font, text[i].c_str(), 0, (float)(i % 80) * 13, cColor::White);
    cRender::EndFrame();  // the text waiting in the batch is drawn here
}

void BM_DrawString100kGlyphs(benchmark::State& state) {
    Scope scope;
    if (scope.font < 0) return state.SkipWithError("Fonts/Tahoma 8.cFont not found");
    DrawFrame(scope.font);  // sizes the reused lists
    long allocations = 0;
    for (auto _ : state) {
        s_Allocations = 0;
        s_Counting = true;
        DrawFrame(scope.font);
        s_Counting = false;
        allocations += s_Allocations;
    }
    state.counters["glyphs/s"] =
        benchmark::Counter((double)Lines * LineLength * (double)state.iterations(), benchmark::Counter::kIsRate);
    state.counters["quads/frame"] = (double)scope.device->Quads / (double)(state.iterations() + 1);
    state.counters["allocations"] = (double)allocations;
}
BENCHMARK(BM_DrawString100kGlyphs)->Unit(benchmark::kMillisecond);

void BM_Measure100kGlyphs(benchmark::State& state) {
    Scope scope;
    if (scope.font < 0) return state.SkipWithError("Fonts/Tahoma 8.cFont not found");
    const std::vector<std::string>& text = Text();
    float sum = 0;
    s_Allocations = 0;
    s_Counting = true;
    for (auto _ : state) {
        for (int i = 0; i < Lines; i += 2) {
            sum += cRender::MeasureStringCells(scope.font, text[i].c_str()).x1;
            sum += cRender::MeasureStringTightRect(scope.font, text[i + 1].c_str()).x1;
        }
    }
    s_Counting = false;
    benchmark::DoNotOptimize(sum);
    state.counters["glyphs/s"] =
        benchmark::Counter((double)Lines * LineLength * (double)state.iterations(), benchmark::Counter::kIsRate);
    state.counters["allocations"] = (double)s_Allocations;
}
BENCHMARK(BM_Measure100kGlyphs)->Unit(benchmark::kMillisecond);

#if ZOZUD_BENCH_HAVE_IMGUI
void BM_ImGuiAddText100kGlyphs(benchmark::State& state) {
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1280, 1024);
    io.DeltaTime = 1.0f / 60;
    io.BackendFlags |= ImGuiBackendFlags_RendererHasVtxOffset;  // more than 65,536 vertices in one list
    ImFont* font = io.Fonts->AddFontFromFileTTF("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 11.0f);
    if (!font) {
        ImGui::DestroyContext();
        return state.SkipWithError("DejaVuSans.ttf not found");
    }
    unsigned char* pixels;
    int w, h;
    io.Fonts->GetTexDataAsAlpha8(&pixels, &w, &h);
    io.Fonts->SetTexID((ImTextureID)(intptr_t)1);
    const std::vector<std::string>& text = Text();
    long vertices = 0;
    for (auto _ : state) {
        ImGui::NewFrame();
        ImDrawList* list = ImGui::GetBackgroundDrawList();
        for (int i = 0; i < Lines; i++) {
            const std::string& line = text[i];
            list->AddText(font, 11.0f, ImVec2(0, (float)(i % 80) * 13), 0xffffffff, line.data(), line.data() + line.size());
        }
        ImGui::Render();
        vertices += ImGui::GetDrawData()->TotalVtxCount;
    }
    state.counters["glyphs/s"] =
        benchmark::Counter((double)Lines * LineLength * (double)state.iterations(), benchmark::Counter::kIsRate);
    state.counters["quads/frame"] = (double)vertices / 4 / (double)state.iterations();
    ImGui::DestroyContext();
}
BENCHMARK(BM_ImGuiAddText100kGlyphs)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
