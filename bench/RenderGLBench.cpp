// The OpenGL device against Dear ImGui's OpenGL 3 backend, in one GL context
// (the device's own hidden window under the virtual display, Mesa's software
// rasteriser). Each frame clears, draws the scene into the device's screen
// buffer and waits for the GL to finish:
// - Solid: 10,000 solid rectangles and 2,000 one-pixel lines;
// - Textured: a 32x32 texture on a quad over each of the 10,000 rectangles;
// - Text: 1,000 lines of 100 characters (100,000 glyphs), ours with the
//   committed font "Tahoma 8" (DejaVu Sans at 11 pixels), one DrawString a
//   line; ImGui with AddText and DejaVu Sans at 11 pixels from its own atlas.
// Ours draws through the front end's immediate helpers; "batched" variants
// hand all quads or lines to one front-end draw, the per-call variants use one
// helper call per line or quad. Counters: frames per second (fps) and GL draw
// calls per frame (draws), by wall-clock time since the rasteriser runs on
// threads of its own. Run under xvfb-run; BM_Ours_Solid also saves the
// scene as <build>/RenderGLScene.bmp.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/math/Rect.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/Render.h"

#if ZOZUD_BENCH_HAVE_IMGUI
#include <imgui.h>
#include <backends/imgui_impl_opengl3.h>
#endif

using namespace zozud;

namespace {

const int Rects = 10000, Lines = 2000, TexSize = 32;
const int TextLines = 1000, TextLength = 100;
const char* const DejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Lines of printable ASCII, about one blank in eight.
const std::vector<std::string>& TextLinesOf() {
    static std::vector<std::string> lines;
    unsigned seed = 777;
    while (lines.size() < (size_t)TextLines) {
        std::string line;
        for (int k = 0; k < TextLength; k++) {
            seed = seed * 1103515245u + 12345u;
            unsigned r = seed >> 16;
            line += r % 8 == 0 ? ' ' : (char)('!' + r % 94);
        }
        lines.push_back(line);
    }
    return lines;
}

struct Scene {
    bool ok = false;
    cRenderDeviceGL* device = nullptr;
    int width = 0, height = 0;
    std::vector<cRect> rects;
    std::vector<cVertex::PositionColored> lines;  // two vertices a line
    int texture = -1;                              // ours
    GLuint imguiTexture = 0;                       // the same texels for ImGui
};

// Deterministic positions: a small linear congruential generator.
unsigned Next(unsigned* seed) { return *seed = *seed * 1664525u + 1013904223u, *seed >> 8; }

cImage Checker() {
    cImage image(cFormat::Rgba8, TexSize, TexSize);
    for (int i = 0; i < TexSize * TexSize; i++) {
        bool on = ((i % TexSize) / 4 + (i / TexSize) / 4) % 2 == 0;
        unsigned char* p = image.Pixels + i * 4;
        p[0] = on ? 240 : 40, p[1] = on ? 200 : 60, p[2] = 90, p[3] = 255;
    }
    return image;
}

Scene& GetScene() {
    static Scene s;
    static bool made = false;
    if (made) return s;
    made = true;
    cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
    if (!cRender::Init(2)) return s;
    s.device = static_cast<cRenderDeviceGL*>(cRender::GetInstance());
    s.width = s.device->GetScreenWidth(), s.height = s.device->GetScreenHeight();
    unsigned seed = 12345;
    for (int i = 0; i < Rects; i++) {
        float x = (float)(Next(&seed) % (unsigned)(s.width - 40)), y = (float)(Next(&seed) % (unsigned)(s.height - 40));
        float w = (float)(4 + Next(&seed) % 36), h = (float)(4 + Next(&seed) % 36);
        s.rects.push_back(cRect(x, y, x + w, y + h));
    }
    for (int i = 0; i < Lines; i++) {
        unsigned c = 0xff000000u | (Next(&seed) & 0xffffffu);
        for (int k = 0; k < 2; k++) {
            float x = (float)(Next(&seed) % (unsigned)s.width), y = (float)(Next(&seed) % (unsigned)s.height);
            s.lines.push_back(cVertex::PositionColored{cVec3(x, y, 0), c});
        }
    }
    cImage checker = Checker();
    s.texture = cRender::AddTexture(checker, -1);
    glGenTextures(1, &s.imguiTexture);
    glBindTexture(GL_TEXTURE_2D, s.imguiTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, TexSize, TexSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, checker.Pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    s.ok = true;
    return s;
}

const cColor RectColor(0.2f, 0.5f, 0.8f, 1), Background(0.1f, 0.1f, 0.1f, 1);

void OursBegin() {
    cRender::BeginFrame();
    cRender::ResetStates();
    cRender::Clear(true, true, Background);
}

void OursEnd(benchmark::State& state, Scene& s) {
    cRender::EndFrame();  // waiting text reaches the device here
    int draws = s.device->GetDrawCallCount();
    cRender::Finish();
    state.counters["draws"] = draws;
}

// CPU time of the whole process, the rasteriser's threads included: on a
// shared machine a steadier measure of the work than the wall clock.
double ProcessCpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void ProcessCpuPerFrame(benchmark::State& state, double startMs) {
    state.counters["cpuAll_ms"] = (ProcessCpuMs() - startMs) / (double)state.iterations();
}

void Rate(benchmark::State& state) {
    state.counters["fps"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}

void BM_Ours_Solid(benchmark::State& state) {
    Scene& s = GetScene();
    if (!s.ok) return state.SkipWithError("no OpenGL device");
    bool perLine = state.range(0) != 0;
    int lineShader = cRender::GetShaderID("LinesPointsUI", cVertex::PositionColored::FormatID);
    for (auto _ : state) {
        OursBegin();
        cRender::FillRectanglesSolid(s.rects.data(), Rects, RectColor);
        if (perLine) {
            for (int i = 0; i < Lines; i++)
                cRender::DrawLine(cVec2(s.lines[2 * i].Pos.x, s.lines[2 * i].Pos.y),
                                  cVec2(s.lines[2 * i + 1].Pos.x, s.lines[2 * i + 1].Pos.y), cColor(1, 1, 0, 1));
        } else {
            cRender::SetShader(lineShader);
            cRender::DrawArrays(cTopology::Lines, s.lines.data(), Lines * 2);
        }
        OursEnd(state, s);
    }
    Rate(state);
    if (!perLine) {
        cImage shot;
        if (cRender::ScreenShot(&shot)) cIO::SaveImage(ZOZUD_BINARY_DIR "/RenderGLScene.bmp", shot);
    }
}
BENCHMARK(BM_Ours_Solid)->ArgName("perLine")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Ours_Textured(benchmark::State& state) {
    Scene& s = GetScene();
    if (!s.ok) return state.SkipWithError("no OpenGL device");
    bool perQuad = state.range(0) != 0;
    using PCT = cVertex::PositionColoredTextured;
    std::vector<PCT> verts;
    std::vector<int> indices;
    for (const cRect& r : s.rects) {
        int base = (int)verts.size();
        verts.push_back(PCT{cVec3(r.x0, r.y1, 0), 0xffffffffu, cVec2(0, 1)});
        verts.push_back(PCT{cVec3(r.x0, r.y0, 0), 0xffffffffu, cVec2(0, 0)});
        verts.push_back(PCT{cVec3(r.x1, r.y0, 0), 0xffffffffu, cVec2(1, 0)});
        verts.push_back(PCT{cVec3(r.x1, r.y1, 0), 0xffffffffu, cVec2(1, 1)});
        for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(base + k);
    }
    int shader = cRender::GetShaderID("TexturedUI", PCT::FormatID, "#define SRC_2D");
    int sampler = cRender::GetSamplerID(shader, "s_Src"), alpha = cRender::GetShaderConstID(shader, "c_Alpha");
    cRender::FillRectangleTexturedArgs args;
    for (auto _ : state) {
        OursBegin();
        if (perQuad) {
            for (const cRect& r : s.rects) cRender::FillRectangleTextured(r, s.texture, args);
        } else {
            cRender::SetShader(shader);
            cRender::SetShaderConst(alpha, 1.0f);
            cRender::SetTexture(sampler, s.texture, -1);
            cRender::DrawIndexed(cTopology::Triangles, verts.data(), (int)verts.size(), indices.data(),
                                 (int)indices.size(), 4);
        }
        OursEnd(state, s);
    }
    Rate(state);
}
BENCHMARK(BM_Ours_Textured)->ArgName("perQuad")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Ours_Text(benchmark::State& state) {
    Scene& s = GetScene();
    if (!s.ok) return state.SkipWithError("no OpenGL device");
    const int font = cRender::GetFontID("Tahoma 8");
    if (font < 0) return state.SkipWithError("Fonts/Tahoma 8.cFont not found");
    const std::vector<std::string>& text = TextLinesOf();
    const double cpu = ProcessCpuMs();
    for (auto _ : state) {
        OursBegin();
        for (int i = 0; i < TextLines; i++)
            cRender::DrawString(font, text[i].c_str(), 4, (float)(s.height - 4 - (i % 45) * 13), cColor(1, 1, 1, 1));
        OursEnd(state, s);
    }
    ProcessCpuPerFrame(state, cpu);
    Rate(state);
    state.counters["glyphs/s"] =
        benchmark::Counter((double)TextLines * TextLength * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Ours_Text)->Unit(benchmark::kMillisecond)->UseRealTime();

#if ZOZUD_BENCH_HAVE_IMGUI

ImFont* s_ImGuiFont = nullptr;

bool ImGuiReady(Scene& s) {
    static bool ready = false;
    if (!ready && s.ok) {
        IMGUI_CHECKVERSION();
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.DisplaySize = ImVec2((float)s.width, (float)s.height);
        io.IniFilename = nullptr;
        s_ImGuiFont = io.Fonts->AddFontFromFileTTF(DejaVuSans, 11.0f);  // before the backend makes the atlas texture
        ready = ImGui_ImplOpenGL3_Init("#version 330");
    }
    return ready;
}

// One ImGui frame into the bound frame buffer (the device's screen buffer).
template <class Draw>
void ImGuiFrame(benchmark::State& state, Scene& s, Draw draw) {
    cRender::Clear(true, true, Background);
    ImGui::GetIO().DeltaTime = 1.0f / 60.0f;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui::NewFrame();
    draw(ImGui::GetBackgroundDrawList());
    ImGui::Render();
    ImDrawData* data = ImGui::GetDrawData();
    ImGui_ImplOpenGL3_RenderDrawData(data);
    glFinish();
    int draws = 0;
    for (int i = 0; i < data->CmdListsCount; i++) draws += data->CmdLists[i]->CmdBuffer.Size;
    state.counters["draws"] = draws;
    (void)s;
}

// ImGui's y axis points down: the scene comes out mirrored, the work is the same.
void BM_ImGui_Solid(benchmark::State& state) {
    Scene& s = GetScene();
    if (!ImGuiReady(s)) return state.SkipWithError("no OpenGL device");
    ImU32 rect = ImGui::ColorConvertFloat4ToU32(ImVec4(0.2f, 0.5f, 0.8f, 1)), line = IM_COL32(255, 255, 0, 255);
    for (auto _ : state) {
        ImGuiFrame(state, s, [&](ImDrawList* list) {
            for (const cRect& r : s.rects) list->AddRectFilled(ImVec2(r.x0, r.y0), ImVec2(r.x1, r.y1), rect);
            for (int i = 0; i < Lines; i++)
                list->AddLine(ImVec2(s.lines[2 * i].Pos.x, s.lines[2 * i].Pos.y),
                              ImVec2(s.lines[2 * i + 1].Pos.x, s.lines[2 * i + 1].Pos.y), line);
        });
    }
    Rate(state);
}
BENCHMARK(BM_ImGui_Solid)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImGui_Textured(benchmark::State& state) {
    Scene& s = GetScene();
    if (!ImGuiReady(s)) return state.SkipWithError("no OpenGL device");
    ImTextureID texture = (ImTextureID)(intptr_t)s.imguiTexture;
    for (auto _ : state) {
        ImGuiFrame(state, s, [&](ImDrawList* list) {
            for (const cRect& r : s.rects) list->AddImage(texture, ImVec2(r.x0, r.y0), ImVec2(r.x1, r.y1));
        });
    }
    Rate(state);
}
BENCHMARK(BM_ImGui_Textured)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImGui_Text(benchmark::State& state) {
    Scene& s = GetScene();
    if (!ImGuiReady(s)) return state.SkipWithError("no OpenGL device");
    if (!s_ImGuiFont) return state.SkipWithError("DejaVuSans.ttf not found");
    const std::vector<std::string>& text = TextLinesOf();
    const double cpu = ProcessCpuMs();
    for (auto _ : state) {
        ImGuiFrame(state, s, [&](ImDrawList* list) {
            for (int i = 0; i < TextLines; i++) {
                const std::string& line = text[i];
                list->AddText(s_ImGuiFont, 11.0f, ImVec2(4, 4 + (float)(i % 45) * 13), IM_COL32(255, 255, 255, 255),
                              line.data(), line.data() + line.size());
            }
        });
    }
    ProcessCpuPerFrame(state, cpu);
    Rate(state);
    state.counters["glyphs/s"] =
        benchmark::Counter((double)TextLines * TextLength * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImGui_Text)->Unit(benchmark::kMillisecond)->UseRealTime();

#endif

}  // namespace
