// A small application for the move tool's end-to-end test: the framework's
// window shows a cube at a position with a move tool bound to it, in a free
// viewer. It prints, in window pixels (y down, as xdotool counts them):
//   "handle X Y TX TY"  once: a point on the x axis's shaft and the axis tip;
//   "state F HOT MODE X Y Z"  after every frame that handled input events or
//                             changed any of these: frame number, the tool's
//                             hot and drag modes and the bound position.
// The test acts only after it has read the state its last action leads to.
#include <cstdio>

// The framework's headers before the shell's, whose Xlib macros (None) would clash.
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/math/Rect.h"
#include "zozud/render/Render.h"
#include "zozud/view/FreeViewer.h"
#include "zozud/view/TransformTools.h"
#include "zozud/widgets/Widget.h"

#include "platform/linux/LinuxMain.h"

using namespace zozud;

cStr cMain_Title("Move Tool Probe");
cStr cMain_LoadSceneXmlFilePn;
bool cMain_LoadSceneEnableIntro = true;

namespace {

cVec3        s_Position(0, 0, 0);
cFreeViewer* s_Viewer = nullptr;
cMoveTool*   s_Tool = nullptr;
int          s_Frame = 0;

// Window pixels, y down, of a world point.
bool WindowPoint(const cVec3& p, const cRect& rect, int* x, int* y) {
    cVec3 s;
    if (!s_Viewer->WorldToScreen(p, &s)) return false;
    *x = (int)(s.x + 0.5f);
    *y = (int)(rect.GetHeight() - s.y + 0.5f);
    return true;
}

void Start(const cRect& rect) {
    cFreeViewer::CtorArgs args;
    args.HomeDistance = 6;
    s_Viewer = new cFreeViewer(args);
    s_Viewer->Viewport = rect;
    s_Viewer->Update();
    cWidgets::AddWidget(s_Viewer, 0);
    cRender::SetViewer(s_Viewer);
    s_Tool = new cMoveTool(&s_Position);
    cWidgets::AddWidget(s_Tool, cTransformTool::Layer);
    s_Tool->CalcFrame();
    cVec3 o = s_Tool->GetOrigin(), a = s_Tool->GetAxis(0);
    int hx, hy, tx, ty;
    if (WindowPoint(o + a * (s_Tool->GetSize() * 0.6f), rect, &hx, &hy) &&
        WindowPoint(o + a * s_Tool->GetSize(), rect, &tx, &ty))
        printf("handle %d %d %d %d\n", hx, hy, tx, ty);
}

}  // namespace

void cMain_OnPreInit() {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));  // shaders and fonts
    // No window manager gives the window the focus: it draws at full rate anyway.
    cLinuxMain_SetIgnoreSystemPause(true);
}

bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height) {
    *x = 40;
    *y = 40;
    *width = 640;
    *height = 480;
    return true;
}

void cMain_OnRender(const cRect& rect) {
    if (!s_Viewer) Start(rect);
    const bool events = cInput::GetEvents().Count() > 0;
    cWidgets::HandleInputEvents();

    cRender::Clear(true, true, cColor(0.12f, 0.14f, 0.2f, 1));
    cRender::DrawCubeSolid(s_Position, 1.0f, cColor(0.35f, 0.55f, 0.8f, 1));
    cRender::DrawCubeWire(s_Position, 1.0f, cColor(1, 1, 1, 1));
    cRender::Clear(false, true, cColor(0, 0, 0, 0));  // the tool in front of the cube
    cWidgets::Render();

    static int hot = -1, mode = -1;
    static cVec3 printed(1e9f, 0, 0);
    if (events || hot != s_Tool->GetHotMode() || mode != s_Tool->GetMode() || printed != s_Position) {
        hot = s_Tool->GetHotMode();
        mode = s_Tool->GetMode();
        printed = s_Position;
        printf("state %d %d %d %.4f %.4f %.4f\n", s_Frame, s_Tool->GetHotMode(), s_Tool->GetMode(), s_Position.x,
               s_Position.y, s_Position.z);
    }
    s_Frame++;
}

void cMain_OnFree() {
    cRender::SetViewer(nullptr);
    cWidgets::FreeAll();
}
