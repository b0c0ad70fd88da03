// zozud-hello: the smallest framework application with a window. The shell's
// main opens the window with the OpenGL device; every frame paints a few of
// the renderer's immediate helpers. The close button ends it.
#include "platform/linux/LinuxMain.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/math/Rect.h"
#include "zozud/render/Render.h"

using namespace zozud;

cStr cMain_Title("zozud hello");
cStr cMain_LoadSceneXmlFilePn;
bool cMain_LoadSceneEnableIntro = true;

// The shader files are read from the source tree the program was built from.
void cMain_OnPreInit() { cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, "")); }

bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height) {
    *x = 40;
    *y = 40;
    *width = 640;
    *height = 400;
    return true;
}

void cMain_OnRender(const cRect& rect) {
    const cColor night(0.08f, 0.1f, 0.16f, 1), sky(0.2f, 0.45f, 0.8f, 1), sun(1, 0.85f, 0.3f, 1);
    const cColor white(1, 1, 1, 1), red(0.9f, 0.2f, 0.2f, 1), green(0.2f, 0.8f, 0.3f, 1);
    cRender::Clear(true, true, night);
    float w = rect.GetWidth(), h = rect.GetHeight();
    cRender::FillRectangleLinearGradient(cRect(20, h - 120, w - 20, h - 20), sky, night,
                                         cRender::LinearGradient::Vertical);
    cRender::FillRectangleRadialGradient(cRect(w - 160, h - 150, w - 40, h - 30), true, sun, cColor(1, 0.85f, 0.3f, 0));
    cRender::FillRectangleSolid(40, 40, 120, 80, red);
    cRender::DrawRectangle(180, 40, 120, 80, white);
    cRender::FillRectangleSolid(320, 40, 120, 80, green);
    for (int i = 0; i <= 10; i++) cRender::DrawLine(20, 150 + i * 8, (int)w - 20, 150 + i * 8 + 40, white);
    cRender::DrawNoPreview(cRect(460, 40, 600, 120), white);
}
