// A small application for the move tool's end-to-end test: a cube with a
// move tool bound to its position, in a free viewer. It prints, in window
// pixels (y down, as xdotool counts them):
//   "handle X Y OX OY UX UY G"  a point on the x axis's shaft, the tool's
//       centre, the point one world unit along x, and G, the shaft point's
//       distance along x;
//   "matrix M00 .. M33 W H"  the view-projection (rows) and the client size;
//   "state F HOT MODE X Y Z mouse MX MY pause P"  for every frame that handled
//       input or changed any of these, once that frame is on the screen.
#include <cstdio>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Timer.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/math/Rect.h"
#include "zozud/render/Render.h"
#include "zozud/view/FreeViewer.h"
#include "zozud/view/TransformTools.h"
#include "zozud/widgets/Widget.h"

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
    args.HomeDistance = 4.5f;
    s_Viewer = new cFreeViewer(args);
    s_Viewer->Viewport = rect;
    s_Viewer->Update();
    cWidgets::AddWidget(s_Viewer, 0);
    cRender::SetViewer(s_Viewer);
    s_Tool = new cMoveTool(&s_Position);
    cWidgets::AddWidget(s_Tool, cTransformTool::Layer);
    s_Tool->CalcFrame();
    cVec3 o = s_Tool->GetOrigin(), a = s_Tool->GetAxis(0);
    int hx, hy, ox, oy, ux, uy;
    if (WindowPoint(o + a * (s_Tool->GetSize() * 0.6f), rect, &hx, &hy) && WindowPoint(o, rect, &ox, &oy) &&
        WindowPoint(o + a, rect, &ux, &uy))
        printf("handle %d %d %d %d %d %d %.6f\n", hx, hy, ox, oy, ux, uy, s_Tool->GetSize() * 0.6f);
    cMat4 m = s_Viewer->GetViewProjectionMatrix();
    printf("matrix");
    for (int i = 0; i < 16; i++) printf(" %.9g", m[i]);
    printf(" %d %d\n", (int)rect.GetWidth(), (int)rect.GetHeight());
}

}  // namespace

void cMain_OnPreInit() {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));  // shaders and fonts
    // Until the test gives the window the focus it draws at full rate anyway.
    cLinuxMain_SetIgnoreSystemPause(true);
}

bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height) {
    *x = 40, *y = 40, *width = 640, *height = 480;
    return true;
}

void cMain_OnRender(const cRect& rect) {
    // A state line is printed when the next frame begins: the frame it
    // describes is on the screen by then.
    static char pending[160] = "";
    if (pending[0]) printf("%s", pending);
    pending[0] = 0;

    if (!s_Viewer) Start(rect);
    const bool events = cInput::GetEvents().Count() > 0;
    cWidgets::HandleInputEvents();

    cRender::Clear(true, true, cColor(0.12f, 0.14f, 0.2f, 1));
    cRender::DrawCubeSolid(s_Position, 1.0f, cColor(0.35f, 0.55f, 0.8f, 1));
    cRender::DrawCubeWire(s_Position, 1.0f, cColor(1, 1, 1, 1));
    cRender::Clear(false, true, cColor(0, 0, 0, 0));  // the tool in front of the cube
    cWidgets::Render();

    static int hot = -1, mode = -1, pause = -1;
    static cVec3 printed(1e9f, 0, 0);
    if (events || hot != s_Tool->GetHotMode() || mode != s_Tool->GetMode() || printed != s_Position ||
        pause != (int)cPause::GetSystemPause()) {
        hot = s_Tool->GetHotMode();
        mode = s_Tool->GetMode();
        pause = cPause::GetSystemPause();
        printed = s_Position;
        const cVec2& mouse = cInput::GetMousePosition();
        snprintf(pending, sizeof(pending), "state %d %d %d %.4f %.4f %.4f mouse %d %d pause %d\n", s_Frame, hot,
                 mode, s_Position.x, s_Position.y, s_Position.z, (int)mouse.x, (int)(rect.GetHeight() - mouse.y),
                 pause);
    }
    s_Frame++;
}

void cMain_OnFree() {
    cRender::SetViewer(nullptr);
    cWidgets::FreeAll();
}
