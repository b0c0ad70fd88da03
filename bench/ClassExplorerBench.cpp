// The class explorer over an object of 500 members against Dear ImGui drawing
// a panel of the same 500 rows (a label and a control each), in one GL
// context (the OpenGL device's hidden window under the virtual display,
// Mesa's software rasteriser):
// - Open: the explorer window made, its 500 rows generated and laid out
//   (ToggleClassExplorer); closing is not timed;
// - Frame: one frame of the open window in either theme: clear, draw
//   every widget, wait for the GL; ImGui's frame is NewFrame, one window of
//   the same rectangle with the 500 rows, Render and its OpenGL 3 backend.
//   Both frames end with the device presenting the frame buffer to its window.
// The members cycle through float, int, bool, text and three-float vector,
// shown by ImGui as DragFloat, DragInt, Checkbox, InputText and DragFloat3.
// Both sides skip rows scrolled out of the window. Run under xvfb-run.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <string>

#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/Render.h"
#include "zozud/render/Theme.h"
#include "zozud/view/ClassExplorerStub.h"

#if ZOZUD_BENCH_HAVE_IMGUI
#include <imgui.h>
#include <backends/imgui_impl_opengl3.h>
#endif

using namespace zozud;

namespace {

const int Members = 500, PerKind = Members / 5;
const char* const DejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class cWide : public cClass {
public:
    ZOZUD_CLASS(cWide)
    cWide() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        for (int i = 0; i < PerKind; i++) {
            cClass_RegMember(this, "_cFloat", &F[i], cStr::Format("Float%d", i));
            cClass_RegMember(this, "_cInt", &I[i], cStr::Format("Int%d", i));
            cClass_RegMember(this, "_cBool", &B[i], cStr::Format("Bool%d", i));
            cClass_RegMember(this, "_cStr", &S[i], cStr::Format("Text%d", i));
            cClass_RegMember(this, "_cFloat3", V[i], cStr::Format("Vector%d", i));
        }
        return EndRegisterMembers();
    }
    float F[PerKind];
    int I[PerKind];
    bool B[PerKind];
    cStr S[PerKind];
    float V[PerKind][3];
};

struct Scene {
    bool ok = false;
    cRenderDeviceGL* device = nullptr;
    int width = 0, height = 0;
    cWide object;
};

Scene& GetScene() {
    static Scene* s = new Scene;  // lives until exit: the registry holds its object
    static bool made = false;
    if (made) return *s;
    made = true;
    cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
    if (!cRender::Init(2)) return *s;
    cTheme::Init();
    cClassExplorer::Init();
    s->device = static_cast<cRenderDeviceGL*>(cRender::GetInstance());
    s->width = s->device->GetScreenWidth(), s->height = s->device->GetScreenHeight();
    cClassExplorer::s_ViewArea = cRect(0, 0, (float)s->width, (float)s->height);
    cClassExplorer::s_Theme = cTheme::Ziduruz;
    for (int i = 0; i < PerKind; i++) {
        s->object.F[i] = i * 0.5f, s->object.I[i] = i, s->object.B[i] = i % 2 == 0;
        s->object.S[i] = cStr::Format("text %d", i);
        s->object.V[i][0] = (float)i, s->object.V[i][1] = 1, s->object.V[i][2] = -1;
    }
    cClassExplorer::AddObject("Wide", &s->object, nullptr);
    s->ok = true;
    return *s;
}

const cColor Background(0.1f, 0.1f, 0.1f, 1);

void Rate(benchmark::State& state) {
    state.counters["fps"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}

void BM_Ours_ExplorerOpen(benchmark::State& state) {
    Scene& s = GetScene();
    if (!s.ok) return state.SkipWithError("no OpenGL device");
    int rows = 0;
    for (auto _ : state) {
        cClassExplorer::ToggleClassExplorer();
        state.PauseTiming();
        rows = cClassExplorer::GetClassExplorer()->GetRows().Count();
        cClassExplorer::ToggleClassExplorer();
        cWidgets::FreeDead();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_Ours_ExplorerOpen)->Unit(benchmark::kMillisecond);

void BM_Ours_ExplorerFrame(benchmark::State& state) {
    Scene& s = GetScene();
    if (!s.ok) return state.SkipWithError("no OpenGL device");
    cClassExplorer::s_Theme = state.range(0) == 0 ? cTheme::Ziduruz : cTheme::WindowsStandard;
    cClassExplorer::ToggleClassExplorer();
    int draws = 0;
    for (auto _ : state) {
        cRender::BeginFrame();
        cRender::ResetStates();
        cRender::Clear(true, true, Background);
        cWidgets::Render();
        cRender::GetInstance();  // draws what waits in a batch, so the count includes it
        draws = s.device->GetDrawCallCount();
        cRender::EndFrame();
        cRender::Finish();
    }
    Rate(state);
    state.counters["draws"] = draws;
    cClassExplorer::ToggleClassExplorer();
    cWidgets::FreeDead();
    cClassExplorer::s_Theme = cTheme::Ziduruz;
}
BENCHMARK(BM_Ours_ExplorerFrame)->ArgName("windowsStandard")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

#if ZOZUD_BENCH_HAVE_IMGUI

bool ImGuiReady(Scene& s) {
    static bool ready = false;
    if (!ready && s.ok) {
        IMGUI_CHECKVERSION();
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.DisplaySize = ImVec2((float)s.width, (float)s.height);
        io.IniFilename = nullptr;
        io.Fonts->AddFontFromFileTTF(DejaVuSans, 11.0f);
        ready = ImGui_ImplOpenGL3_Init("#version 330");
    }
    return ready;
}

// The 500 rows, each a label and a control, in a window where ours stands.
void ImGuiPanel(Scene& s, char (*texts)[32]) {
    cWide& o = s.object;
    // Ours: 544..16 units from the right edge, 16 from top and bottom; ImGui's y points down.
    ImGui::SetNextWindowPos(ImVec2((float)s.width - 544, 16));
    ImGui::SetNextWindowSize(ImVec2(528, (float)s.height - 32));
    ImGui::Begin("Class Explorer", nullptr, ImGuiWindowFlags_NoSavedSettings);
    for (int i = 0; i < PerKind; i++) {
        ImGui::PushID(i);
        ImGui::DragFloat("Float", &o.F[i]);
        ImGui::DragInt("Int", &o.I[i]);
        ImGui::Checkbox("Bool", &o.B[i]);
        ImGui::InputText("Text", texts[i], sizeof texts[i]);
        ImGui::DragFloat3("Vector", o.V[i]);
        ImGui::PopID();
    }
    ImGui::End();
}

void BM_ImGui_PanelFrame(benchmark::State& state) {
    Scene& s = GetScene();
    if (!ImGuiReady(s)) return state.SkipWithError("no OpenGL device");
    static char texts[PerKind][32];
    for (int i = 0; i < PerKind; i++) snprintf(texts[i], sizeof texts[i], "text %d", i);
    int draws = 0;
    for (auto _ : state) {
        cRender::BeginFrame();
        cRender::Clear(true, true, Background);
        ImGui::GetIO().DeltaTime = 1.0f / 60.0f;
        ImGui_ImplOpenGL3_NewFrame();
        ImGui::NewFrame();
        ImGuiPanel(s, texts);
        ImGui::Render();
        ImDrawData* data = ImGui::GetDrawData();
        ImGui_ImplOpenGL3_RenderDrawData(data);
        cRender::EndFrame();  // the device presents the frame buffer both sides drew into
        glFinish();
        draws = 0;
        for (int i = 0; i < data->CmdListsCount; i++) draws += data->CmdLists[i]->CmdBuffer.Size;
    }
    Rate(state);
    state.counters["draws"] = draws;
}
BENCHMARK(BM_ImGui_PanelFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

#endif

}  // namespace
