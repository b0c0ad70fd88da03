#include "zozud/view/Framework.h"

#include "zozud/core/Log.h"
#include "zozud/core/Timer.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecPvr.h"
#include "zozud/image/CodecTga.h"
#include "zozud/io/IO.h"
#include "zozud/model/CodecMd5.h"
#include "zozud/model/CodecNative.h"
#include "zozud/model/CodecObj.h"
#include "zozud/reflect/ClassStorage.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/widgets/Input.h"
#include "zozud/widgets/Settings.h"

namespace zozud {

namespace {

// The codecs the framework carries, in the order they are looked up. The
// file facade runs this once from its own start-up.
void RegisterBuiltInCodecs() {
    cIO::AddCodec("Dds", new cCodecDds);
    cIO::AddCodec("Bmp", new cCodecBmp);
    cIO::AddCodec(cCodecPvr::FileExtension, new cCodecPvr);
    cIO::AddCodec("Tga", new cCodecTga);
    cIO::AddCodec("cAnim", new cCodecAnim);
    cIO::AddCodec("Md5Anim", new cCodecMd5Anim);
    cIO::AddCodec("cModel", new cCodecModel);
    cIO::AddCodec("Md5Mesh", new cCodecMd5Model);
    cIO::AddCodec("Obj", new cCodecObj);
    cIO::AddCodec("cCamera", new cCodecCamera);
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
    cViewer::SetScreenRotationQuery(cInput::GetScreenRotation);  // render viewer <- widgets
    cSettings::SetToggleClassExplorer(cClassExplorer::ToggleClassExplorer);  // settings <- view
    cSettings::SetForgetObject(cClassExplorer::RemoveObject);               // settings <- view
}

}  // namespace zozud
