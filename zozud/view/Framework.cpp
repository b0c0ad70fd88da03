#include "zozud/view/Framework.h"

#include "zozud/core/Log.h"
#include "zozud/core/Timer.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecPvr.h"
#include "zozud/image/CodecTga.h"
#include "zozud/io/IO.h"
#include "zozud/reflect/ClassStorage.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/widgets/Input.h"

namespace zozud {

namespace {

// The codecs the framework carries, in the order they are looked up; the
// model, animation and camera codecs join as they come. The file facade runs
// this once from its own start-up.
void RegisterBuiltInCodecs() {
    cIO::AddCodec("Dds", new cCodecDds);
    cIO::AddCodec("Bmp", new cCodecBmp);
    cIO::AddCodec(cCodecPvr::FileExtension, new cCodecPvr);
    cIO::AddCodec("Tga", new cCodecTga);
}

// The viewport that the screen orientation turns: the current viewer's.
void CurrentViewportSize(float* width, float* height) {
    const cViewer* viewer = cRender::GetViewer();
    *width = viewer ? viewer->Viewport.GetWidth() : 0;
    *height = viewer ? viewer->Viewport.GetHeight() : 0;
}

}  // namespace

// Lowest layer first: the log can mirror to its file from the first line.
void cFramework::Start() {
    cIO::LendLogFiles();                                 // core log  <- io
    cTimer::SetStopVibrations(cInput::StopVibrations);  // core timer <- widgets
    cClass_SetRegisterWrappers(cClassExplorer::Init);    // reflect    <- view
    cIO::SetBuiltInCodecs(RegisterBuiltInCodecs);        // io codecs  <- image (and model)
    cInput::SetViewportSizeQuery(CurrentViewportSize);   // widgets    <- the current viewer
}

}  // namespace zozud
