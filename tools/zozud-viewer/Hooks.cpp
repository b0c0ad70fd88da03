// zozud-viewer: the framework's model and texture viewer. The shell's main
// opens the window with the OpenGL device and calls these hooks; the viewer
// loads the files of its command line, frames the models in a free viewer,
// plays skinned animations, shows images with their levels, faces and
// channels, and takes files dropped on the window or chosen in the file
// dialog. With --screenshot it draws a few frames, writes the window's
// pixels as a BMP and exits.
#include <glib.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Log.h"
#include "zozud/core/Timer.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/model/Camera.h"
#include "zozud/render/Render.h"
#include "zozud/view/FreeViewer.h"
#include "zozud/view/Spline.h"
#include "zozud/view/TransformTools.h"
#include "zozud/widgets/FpsDisplay.h"
#include "zozud/widgets/Settings.h"

#include "Explorer.h"
#include "Options.h"
#include "Panel.h"
#include "Scene.h"

using namespace zozud;
using namespace viewer;

cStr cMain_Title("zozud-viewer");
cStr cMain_LoadSceneXmlFilePn;
bool cMain_LoadSceneEnableIntro = false;

namespace {

// Layers: later ones get the input first and are drawn on top.
const int KeysLayer = 0, ViewerLayer = 1, PanelLayer = 2, FpsLayer = 3;
// The free viewer and the transform tools work in the 3D view: their layer
// is handled with the 3D viewer current, every other with the window's.
static_assert(ViewerLayer == cTransformTool::Layer, "the tools share the free viewer's layer");
const float PanelMargin = 8;
const float ThumbSize = 220;

class Keys;

Options      s_Options;
// The camera path: a closed loop around the model, made when it is first
// framed, drawn and edited while the class explorer shows it; "K" sends the camera along it,
// once round every PathPeriodSec, looking at the model's centre.
cSpline*     s_Path = nullptr;  // drawn by the viewer, not the widget registry: hidden while followed
bool         s_Following = false;
double       s_PathSec = 0;
const double PathPeriodSec = 10;
const char* const PathFile = "/CameraPath.xml";  // the path, kept in the config folder
const int    PathKeys = 41;   // camera keys a saved path is sampled into, the loop's ends both
bool         s_TrackShown = true;  // a loaded camera track moves the view ("V" lets it go)
std::string  s_ConfigFolder;  // where the settings are kept
double       s_SavedSec = 0;  // when they were last checked for changes
Scene        s_Scene;
cFreeViewer* s_Viewer = nullptr;   // the widgets belong to the registry
Panel*       s_Panel = nullptr;
cFpsDisplay* s_Fps = nullptr;
cViewer      s_Screen;             // pixels of the whole window, for 2D drawing
const cTheme* s_Theme = nullptr;
bool         s_PanelShown = true;
bool         s_NeedFrame = true;
bool         s_InDialog = false;
std::vector<std::string> s_Messages;  // load failures waiting for their message box
int          s_FrameCount = 0;
int          s_ShotCount = 0;
int          s_PathCount = 0;
double       s_LastSec = -1;
std::vector<double> s_DrawMs;        // screenshot mode: the time each frame took to draw
std::string  s_Status;               // the last action, shown in the corner
double       s_StatusUntil = 0;

bool ScreenshotMode() { return !s_Options.Screenshot.empty(); }
double NowSec() { return g_get_monotonic_time() / 1e6; }

void SetStatus(const std::string& text) {
    s_Status = text;
    s_StatusUntil = NowSec() + 4;
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& line) {
    std::fprintf(stderr, "zozud-viewer: %s\n", line.c_str());
    std::exit(1);
}

const cTheme* ThemeNamed(const std::string& name) {
    return strcasecmp(name.c_str(), "WindowsStandard") == 0 ? cTheme::WindowsStandard : cTheme::Ziduruz;
}

// The background each theme suggests. The framework's clear colour is the
// viewer's background: it follows the theme until the user picks another.
cColor ThemeBackground(const cTheme* theme) {
    return theme == cTheme::WindowsStandard ? cColor(0.23f, 0.43f, 0.6f, 1) : cColor(0.11f, 0.12f, 0.15f, 1);
}

void FollowTheme() {
    cColor now = g_Settings->ClearColor.ToColor();
    if (now == ThemeBackground(cTheme::Ziduruz) || now == ThemeBackground(cTheme::WindowsStandard))
        g_Settings->ClearColor.SetColor(ThemeBackground(s_Theme));
}

// The part of the window the 3D view and the image use: all of it but the panel.
cRect ViewArea(const cRect& window) {
    cRect r = window;
    if (s_Panel && s_PanelShown) r.x1 = std::max(r.x0 + 16, r.x1 - Panel::Width - 2 * PanelMargin);
    // The explorer's window at the right side, most of the height: the view
    // ends beside it, the model framed where it is seen and nothing drawn
    // under the window.
    cRect cover = ExplorerCover();
    if (cover.IsValid() && cover.x1 >= r.x1 - 4 * PanelMargin && cover.x0 > r.x0 + 64 &&
        cover.GetHeight() >= window.GetHeight() / 2)
        r.x1 = std::min(r.x1, std::max(r.x0 + 16, cover.x0 - PanelMargin));
    return r;
}

void FrameAll() {
    cBounds b = s_Scene.GetBounds();
    if (b.IsEmpty()) return;
    s_Viewer->Home();
    s_Viewer->Frame(b, cMat4::Identity, cRect(0, 0, 0, 0));
    s_Viewer->HomeCenter = s_Viewer->Center;
    s_Viewer->HomeDistance = s_Viewer->Distance;
    float radius = std::max(b.GetRadius(), 1e-3f);
    s_Viewer->ZNear = std::max(radius * 0.001f, 1e-4f);
    s_Viewer->ZFar = std::max(s_Viewer->Distance * 4 + radius * 4, 10.0f);
    s_Viewer->HomeOrthoZoom = s_Viewer->Viewport.GetHeight() / (2.2f * radius);
    s_Viewer->Update();
    if (s_Path && s_Path->Nodes.Count() == 0 && access((s_ConfigFolder + PathFile).c_str(), R_OK) == 0) {
        // The path kept from an earlier run, if it still reads as one (a
        // script's screenshot follows it too, as it starts with the settings).
        if (!s_Path->SafeReadFromFile((s_ConfigFolder + PathFile).c_str()) || s_Path->Nodes.Count() < 2)
            s_Path->Nodes.Free();
        s_Path->Invalidate();
        if (s_Path->Nodes.Count() > 0) AddExplorerObject("Camera path", s_Path);
    }
    if (s_Path && s_Path->Nodes.Count() == 0) {
        cVec3 points[8], c = b.GetCenter();
        float d = s_Viewer->Distance;
        for (int i = 0; i < 8; i++) {
            float a = i * 6.2831853f / 8;
            points[i] = cVec3(c.x + d * std::sin(a), c.y + d * 0.4f, c.z + d * std::cos(a));
        }
        s_Path->Closed = true;
        s_Path->SetFromPoints(points, 8);
        AddExplorerObject("Camera path", s_Path);
    }
}

// The camera on its path at the time.
void FollowPath(double sec) {
    if (!s_Path || s_Path->Nodes.Count() < 2 || s_Scene.GetBounds().IsEmpty()) return;
    float u = (float)std::fmod(sec / PathPeriodSec, 1.0);
    cVec3 eye = cVec3::TransformCoordinate(s_Path->GetValueByTime(u), s_Path->Transform.ToMat4());
    s_Viewer->LookAt(eye, s_Scene.GetBounds().GetCenter());
    s_Viewer->Update();
}

// The camera on the loaded track at the animation time: its position,
// orientation and field of view; the free viewer orbits a centre ahead of it.
void PlaceOnTrack(float sec) {
    cCamera::State state = s_Scene.CameraAt(sec);
    s_Viewer->IsOrtho = false;
    s_Viewer->IsPlanar = false;
    s_Viewer->Orient = state.Orient.ToNormal();
    s_Viewer->Fov = std::min(std::max(state.FovY, 1.0f), 170.0f);
    s_Viewer->Center = state.Position + s_Viewer->GetForward() * s_Viewer->Distance;
    s_Viewer->Update();
}

// The path into the config folder, read again at the next start.
bool KeepPath() { return MakeFolders(s_ConfigFolder) && s_Path->WriteToFile((s_ConfigFolder + PathFile).c_str()); }

// The camera path as camera keys over its loop, written as a cCamera file in
// the screenshot folder; the path itself is kept in the config folder.
void SaveCameraPath() {
    if (!s_Path || s_Path->Nodes.Count() < 2 || s_Scene.GetBounds().IsEmpty()) {
        SetStatus("no camera path to save: load a model first");
        return;
    }
    cCamera camera;
    camera.Flags = 1;  // a loop
    cCamera::Camera track;
    track.Name = "Camera path";
    cVec3 centre = s_Scene.GetBounds().GetCenter();
    for (int i = 0; i < PathKeys; i++) {
        cCamera::Frame frame;
        frame.TimeSec = (float)(PathPeriodSec * i / (PathKeys - 1));
        float u = (float)i / (PathKeys - 1);
        frame.Position = cVec3::TransformCoordinate(s_Path->GetValueByTime(u >= 1 ? 0 : u), s_Path->Transform.ToMat4());
        cViewer_CalcOrientFromForwardDir(&frame.Orient, centre - frame.Position);
        frame.FovY = s_Viewer->Fov;
        track.Frames.Add(frame);
    }
    camera.Tracks.Add(track);
    char name[64];
    std::snprintf(name, sizeof name, "/zozud-viewer-path-%03d.cCamera", ++s_PathCount);
    std::string path = s_Options.ShotFolder + name;
    if (!cIO::SaveCamera(path.c_str(), camera)) {
        s_Messages.push_back(path + ": cannot write the camera file");
        return;
    }
    // Kept before the status line says it is done: a script waits for that line.
    if (!KeepPath())
        std::fprintf(stderr, "zozud-viewer: cannot keep the camera path in %s\n", s_ConfigFolder.c_str());
    SetStatus("camera path " + path);
}

// Loads and, when it worked, frames what is there now.
bool Open(const std::string& path) {
    std::string error;
    if (!s_Scene.Load(path, &error)) {
        s_Messages.push_back(error);
        cLog::Message("%s", error.c_str());
        return false;
    }
    if (s_Panel) s_Panel->DurationSec = s_Scene.GetDurationSec();
    if (ExtensionOf(path).size() == 7 && strcasecmp(ExtensionOf(path).c_str(), "cCamera") == 0) s_TrackShown = true;
    s_NeedFrame = true;
    SetStatus("loaded " + path);
    return true;
}

cList<cStr> Extensions(bool save) {
    cList<cStr> list;
    if (save) {
        for (const char* e : {"obj", "cModel"}) list.Add(cStr(e));
        return list;
    }
    for (const char* e : {"md5mesh", "md5anim", "obj", "cModel", "cAnim", "cCamera", "bmp", "tga", "dds", "pvr"}) list.Add(cStr(e));
    return list;
}

// Writes the window's pixels through the BMP codec.
bool WriteScreenshot(const std::string& path, std::string* error) {
    cImage shot;
    cFile file;
    cCodecBmp bmp;
    if (!cRender::ScreenShot(&shot)) *error = "cannot read the window's pixels";
    else if (!bmp.Encode(shot, &file)) *error = "cannot encode the picture";
    else if (!cIO::SaveFile(path.c_str(), file, false, false)) *error = path + ": cannot write the file";
    else return true;
    return false;
}

// The screenshot key and button ask; the frame is written once it is drawn
// (the shell clears the frame buffer before each frame).
bool s_ShotWanted = false;

void TakeScreenshot() {
    char name[64];
    std::snprintf(name, sizeof name, "/zozud-viewer-%03d.bmp", ++s_ShotCount);
    std::string path = s_Options.ShotFolder + name, error;
    if (WriteScreenshot(path, &error)) SetStatus("screenshot " + path);
    else s_Messages.push_back(error);
}

void SwitchTheme() {
    s_Theme = s_Theme == cTheme::Ziduruz ? cTheme::WindowsStandard : cTheme::Ziduruz;
    FollowTheme();
    if (s_Panel) s_Panel->SetTheme(s_Theme);
    if (s_Fps) s_Fps->SetTheme(s_Theme);
    SetExplorerTheme(s_Theme);
    SetStatus(s_Theme == cTheme::Ziduruz ? "theme Ziduruz" : "theme WindowsStandard");
}

// Modal dialogs run outside the render cycle (their own loop keeps drawing
// the window meanwhile): the message boxes of failed loads, the file dialogs.
enum class Dialog { Messages, Open, Save };

gboolean RunDialog(void* data) {
    Dialog which = (Dialog)(intptr_t)data;
    if (s_InDialog) return FALSE;
    s_InDialog = true;
    if (which == Dialog::Messages) {
        while (!s_Messages.empty()) {
            std::string text = s_Messages.front();
            s_Messages.erase(s_Messages.begin());
            cMessageBox::Ok("zozud-viewer: cannot load", text.c_str());
        }
    } else if (which == Dialog::Open) {
        cStr file;
        cList<cStr> files;
        if (cLinuxMain_LoadFileDialog("Open", Extensions(false), &file, &files)) {
            if (files.Count() == 0) files.Add(file);
            for (const cStr& f : files) Open(f.ToChar());
        }
    } else {
        cStr file;
        std::string error;
        if (cLinuxMain_SaveFileDialog("Save model", Extensions(true), &file)) {
            if (s_Scene.SaveModel(file.ToChar(), &error)) SetStatus(std::string("saved ") + file.ToChar());
            else s_Messages.push_back(error);
        }
    }
    s_InDialog = false;
    return FALSE;
}

void Later(Dialog which) { g_idle_add(RunDialog, (void*)(intptr_t)which); }

void Act(Request::Enum request) {
    switch (request) {
        case Request::Open: Later(Dialog::Open); break;
        case Request::Save: Later(Dialog::Save); break;
        case Request::Frame: s_NeedFrame = true; break;
        case Request::Theme: SwitchTheme(); break;
        case Request::Screenshot: s_ShotWanted = true; break;
        default: break;
    }
}

void StepImage(int what) {
    ImageDoc* doc = s_Scene.GetImage();
    if (!doc) return;
    if (what == 0) doc->Level = (doc->Level + 1) % std::max(1, doc->Image.MipMapCount);
    if (what == 1) doc->Channel = (doc->Channel + 1) % 5;
    if (what == 2) doc->Face = (doc->Face + 1) % std::max(1, doc->Image.GetSliceCount(doc->Level));
    doc->Dirty = true;
    SetStatus(doc->Describe());
}

// The viewer's keys, and the wheel without "Alt" (a dolly towards the centre).
// It sits in the lowest layer: the panel and the free viewer have their turn first.
class Keys : public cWidget {
public:
    bool OnButtonDown(int code) override {
        Panel* p = s_Panel;
        if (code == cInput::WheelUp || code == cInput::WheelDown) {
            if (!s_Viewer->IsOrtho) s_Viewer->Distance *= code == cInput::WheelUp ? 0.85f : 1.0f / 0.85f;
            else s_Viewer->OrthoZoom *= code == cInput::WheelUp ? 1.0f / 0.85f : 0.85f;
            s_Viewer->Update();
            return true;
        }
        if (!cInput::IsKeyboardCode(code) || !p) return false;
        switch (code) {
            case cInput::F12: s_ShotWanted = true; return true;
            case cInput::O: Later(Dialog::Open); return true;
            case cInput::S: Later(Dialog::Save); return true;
            case cInput::F: s_NeedFrame = true; return true;
            case cInput::T: SwitchTheme(); return true;
            case cInput::E: ToggleExplorer(s_Theme); return true;
            case cInput::P: ShowPlacement(s_Theme); return true;
            case cInput::K:
                s_Following = !s_Following;
                if (!s_Following) FrameAll();
                return true;
            case cInput::Tab:
                s_PanelShown = !s_PanelShown;
                p->SetVisible(s_PanelShown);
                return true;
            case cInput::Space: p->Playing = !p->Playing; return true;
            case cInput::G: p->Flags.Grid = !p->Flags.Grid; return true;
            case cInput::B: p->Flags.Bounds = !p->Flags.Bounds; return true;
            case cInput::J: p->Flags.Joints = !p->Flags.Joints; return true;
            case cInput::N: p->Flags.TangentSpace = !p->Flags.TangentSpace; return true;
            case cInput::W: p->Flags.Wireframe = !p->Flags.Wireframe; return true;
            case cInput::M: StepImage(0); return true;
            case cInput::C: StepImage(1); return true;
            case cInput::R: SaveCameraPath(); return true;
            case cInput::V:
                s_TrackShown = !s_TrackShown;
                if (!s_TrackShown) FrameAll();
                return true;
            case cInput::X: StepImage(2); return true;
            case cInput::PageDown:
                if (!s_Scene.Images.empty()) {
                    s_Scene.CurrentImage = (s_Scene.CurrentImage + 1) % (int)s_Scene.Images.size();
                    SetStatus(s_Scene.GetImage()->Path);
                }
                return true;
            default: return false;
        }
    }
};

float GridStep(float radius) {
    float step = std::pow(10.0f, std::floor(std::log10(std::max(radius, 1e-4f))));
    if (radius / step > 5) step *= 5;
    else if (radius / step > 2) step *= 2;
    return step / 2;
}

void DrawText(float x, float y, const std::string& text) {
    static int font = -1;
    if (font < 0) font = cRender::GetFontID("Tahoma 8");
    cRender::DrawString(font, text.c_str(), x + 1, y - 1, cColor(0, 0, 0, 1));
    cRender::DrawString(font, text.c_str(), x, y, cColor(0.95f, 0.95f, 0.9f, 1));
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void DrawOverlay(const cRect& view) {
    float y = view.y1 - 6;
    for (const auto& m : s_Scene.Models) {
        char line[512];
        std::snprintf(line, sizeof line, "%s  (%d triangles, %d joints%s)", BaseName(m->Path).c_str(), m->Model.GetTriangleCount(),
                      m->Model.Joints.Count(), m->HasAnim ? ", animated" : "");
        DrawText(view.x0 + 8, y, line);
        y -= 14;
    }
    if (ImageDoc* image = s_Scene.GetImage()) {
        DrawText(view.x0 + 8, y, BaseName(image->Path) + "  " + image->Describe() + (image->Note.empty() ? "" : "  " + image->Note));
        y -= 14;
    }
    if (s_Scene.IsEmpty()) DrawText(view.x0 + 8, y, "Drop a model or an image here, or press O to open one.");
    if (s_Panel && s_Panel->DurationSec > 0) {
        char line[64];
        std::snprintf(line, sizeof line, "time %.2f / %.2f s", s_Panel->TimeSec, s_Panel->DurationSec);
        DrawText(view.x0 + 8, view.y0 + 34, line);
    }
    if (!ScreenshotMode()) {
        DrawText(view.x0 + 8, view.y0 + 20,
                 "Alt+drag orbit/dolly/track  wheel zoom  Home  F frame  Space play  G B J N W  M mip  C channel  "
                 "X face  R save path  V track  T theme  E explorer  Tab panel  O open  S save  F12 shot");
        if (NowSec() < s_StatusUntil) DrawText(view.x0 + 8, view.y0 + 48, s_Status);
    }
}

void DrawScene(const cRect& window) {
    cRect view = ViewArea(window);
    s_Viewer->Viewport = view;
    if (s_NeedFrame) {
        s_NeedFrame = false;
        FrameAll();
    }
    if (s_Following) FollowPath(s_PathSec);
    else if (s_TrackShown && s_Scene.HasCamera()) PlaceOnTrack(s_Panel ? s_Panel->TimeSec : 0);
    s_Viewer->Update();
    s_Screen.Viewport = window;
    s_Screen.ProjectionMatrix = cMat4::Identity;
    s_Screen.ViewMatrix = cMat4::Identity;

    float t = s_Panel ? s_Panel->TimeSec : 0;
    if (!s_Scene.Models.empty()) {
        cRender::SetViewer(s_Viewer);
        cBounds b = s_Scene.GetBounds();
        if (s_Panel->Flags.Grid && !b.IsEmpty()) {
            cRender::GridArgs grid;
            grid.Step = GridStep(b.GetRadius());
            grid.Size = grid.Step * 12;
            grid.FadeDistance = grid.Size * 2;
            grid.Transform = cMat4::Translation(b.GetCenter().x, b.min.y, b.GetCenter().z);
            cRender::DrawGrid(grid);
        }
        cVec3 light = (s_Viewer->GetUp() * 0.6f + s_Viewer->GetRight() * 0.4f - s_Viewer->GetForward()).ToNormal();
        s_Scene.DrawModels(t, s_Panel->Flags, light);
        if (s_Path && !s_Following && ExplorerShows(s_Path)) s_Path->OnRender();
    }
    cRender::SetViewer(&s_Screen);
    cRender::ResetStates();
    if (!s_Scene.Images.empty()) {
        cRect area = view;
        float side = std::min(ThumbSize, std::min(view.GetWidth() / 4, view.GetHeight() / 3));
        if (!s_Scene.Models.empty())
            area = cRect(view.x0 + 8, view.y0 + 60, view.x0 + 8 + side, view.y0 + 60 + side);
        else
            area = cRect(view.x0 + 16, view.y0 + 60, view.x1 - 16, view.y1 - 40);
        s_Scene.DrawImage(area);
    }
    DrawOverlay(view);
}

// --report: each frame's number, and where the explorer's rows are whenever
// that changes, so a script can wait for a frame and click a row.
void Report(int windowHeight) {
    static std::string rows;
    std::string now = ExplorerRows(windowHeight);
    if (now != rows) std::printf("%s", (rows = now).empty() ? "controls none\n" : rows.c_str());
    std::printf("frame %d\n", s_FrameCount);
    std::fflush(stdout);
}

}  // namespace

// ---- Hooks ----

void cMain_OnPreInit() {
    std::string error;
    if (!ParseOptions(ProcessArguments(), &s_Options, &error)) Fail(error + "\n" + Usage);
    if (ScreenshotMode() && s_Options.Files.empty()) Fail("--screenshot needs a file to show");
    cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
    // The viewer tells of failed loads itself (standard error, a message box):
    // the log keeps its warnings without a dialog of its own, and shows its
    // window only when asked (Control + "~").
    cLog::DialogHooks dialog;
    dialog.showDialog = [](cLog::Mode::Enum mode) {
        if (mode == cLog::Mode::Log) cLinuxMain_ShowLogDialog(mode);
    };
    dialog.isVisible = cLinuxMain_IsLogDialogVisible;
    dialog.getResult = cLinuxMain_GetLogDialogResult;
    cLog::SetDialogHooks(dialog);
    for (const std::string& file : s_Options.Files) {
        if (s_Scene.Load(file, &error)) continue;
        if (ScreenshotMode()) Fail(error);
        s_Messages.push_back(error);
    }
    // Without a window manager the window is never active: no pause for it.
    cLinuxMain_SetIgnoreSystemPause(true);
}

bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height) {
    *x = 0;
    *y = 0;
    *width = s_Options.Width;
    *height = s_Options.Height;
    return true;
}

void cMain_OnInit() {
    cTheme::Init();
    s_Theme = ThemeNamed(s_Options.Theme);
    cWidgets::AddWidget(new Keys, KeysLayer);
    cFreeViewer::CtorArgs args;
    s_Viewer = new cFreeViewer(args);
    s_Viewer->Viewport = cRect(0, 0, (float)cMain_GetClientWidth(), (float)cMain_GetClientHeight());
    cWidgets::AddWidget(s_Viewer, ViewerLayer);
    float w = (float)cMain_GetClientWidth(), h = (float)cMain_GetClientHeight();
    s_Panel = new Panel(cRect(w - Panel::Width - PanelMargin, h - 320 - PanelMargin, w - PanelMargin, h - PanelMargin),
                        s_Theme);
    cWidgets::AddWidget(s_Panel, PanelLayer);
    s_Panel->DurationSec = s_Scene.GetDurationSec();
    s_Path = new cSpline;
    s_Following = s_Options.FollowPath;
    s_ConfigFolder = ConfigFolder();
    g_Settings->ClearColor.SetColor(ThemeBackground(s_Theme));  // what no file says otherwise
    LoadSettings(s_ConfigFolder, s_Panel, s_Viewer);
    FollowTheme();  // kept from a run in the other theme
    if (s_Options.TimeSec >= 0) {
        s_PathSec = s_Options.TimeSec;
        s_Panel->TimeSec = s_Options.TimeSec;
        s_Panel->Playing = false;
    }
    if (ScreenshotMode()) s_Panel->Playing = false;
    if (s_Options.HasPosition && !s_Scene.Models.empty()) {
        const float* p = s_Options.Position;
        s_Scene.Models.back()->Placement.Translate = cVec3(p[0], p[1], p[2]);
    }
    // A script's picture shows the model, not how fast this run drew it
    // (and two runs give the same pixels).
    if (!ScreenshotMode()) {
        s_Fps = new cFpsDisplay(FpsLayer, 8, 4);
        s_Fps->SetTheme(s_Theme);
    }
    // The explorer shows what the form does, and more: the form steps aside.
    if (s_Options.Explorer) {
        if (OpenExplorer(s_Theme)) s_PanelShown = false, s_Panel->SetVisible(false);
        else cLog::Message("zozud-viewer: the class explorer did not open");
    }
    if (!s_Messages.empty()) Later(Dialog::Messages);
}

void cMain_OnRender(const cRect& rect) {
    double start = NowSec();
    cTimer::Acquire();
    double dt = s_LastSec < 0 ? 0 : start - s_LastSec;
    s_LastSec = start;
    s_Viewer->Viewport = ViewArea(rect);
    // The 3D viewer while the pointer is in the view and no window holds it,
    // or while one of the 3D view's widgets does.
    int capture = cWidgets::GetCaptureID();
    bool in3d = capture >= 0 ? cWidgets::GetLayerOfID(capture) == ViewerLayer
                             : s_Viewer->Viewport.Contains(cInput::GetMousePosition());
    cRender::SetViewer(in3d ? s_Viewer : &s_Screen);
    cWidgets::HandleInputEvents();
    cRender::SetViewer(&s_Screen);
    SyncExplorer(s_Panel, s_Viewer);
    EditPlacement(s_Scene.Models.empty() ? nullptr : &s_Scene.Models.back()->Placement);
    Act(s_Panel->TakeRequest());
    if (!s_Messages.empty() && !s_InDialog) Later(Dialog::Messages);

    float duration = s_Scene.GetDurationSec();
    s_Panel->DurationSec = duration;
    if (s_Following && !ScreenshotMode()) s_PathSec += dt;
    if (s_Panel->Playing && duration > 0 && !ScreenshotMode())
        s_Panel->TimeSec = (float)std::fmod(s_Panel->TimeSec + dt, (double)duration);

    // Settings edited are kept at once (checked every second), not only at a
    // clean exit. A script's screenshot leaves them alone.
    if (!ScreenshotMode() && start - s_SavedSec >= 1) {
        s_SavedSec = start;
        SaveSettings(s_ConfigFolder);
    }

    DrawScene(rect);
    for (int layer = 0; layer < cWidgets::LayerCount; layer++) {
        if (layer == ViewerLayer) cRender::SetViewer(s_Viewer);
        cWidgets::Render(layer);
        if (layer == ViewerLayer) cRender::SetViewer(&s_Screen);
    }
    if (s_ShotWanted) {
        s_ShotWanted = false;
        TakeScreenshot();
    }
    s_FrameCount++;
    if (s_Options.Report) Report((int)rect.GetHeight());
    if (!ScreenshotMode()) return;
    cRender::Finish();
    s_DrawMs.push_back((NowSec() - start) * 1000);
    if (s_FrameCount != s_Options.Frames) return;
    std::string error;
    if (!WriteScreenshot(s_Options.Screenshot, &error)) Fail(error);
    // The first frame loads shaders and buffers: the figure is of the others.
    std::vector<double> ms(s_DrawMs.begin() + (s_DrawMs.size() > 1 ? 1 : 0), s_DrawMs.end());
    std::sort(ms.begin(), ms.end());
    std::printf("wrote %s: %dx%d, %d frames, %d triangles, median %.2f ms a frame\n", s_Options.Screenshot.c_str(),
                (int)rect.GetWidth(), (int)rect.GetHeight(), s_FrameCount, s_Scene.GetTriangleCount(),
                ms.empty() ? 0.0 : ms[ms.size() / 2]);
    std::fflush(stdout);
    // The main loop ends and the device goes before the process does: the
    // rasteriser's threads are gone when the exit handlers run.
    cMain_Quit();
}

bool cMain_OnClose() { return true; }

void cMain_OnFree() {
    // The tools are widgets: they go before the widgets do.
    EditPlacement(nullptr);
    for (auto& doc : s_Scene.Models) doc->Placement.FreeTools();
    if (!ScreenshotMode() && s_Path->Nodes.Count() >= 2 && !KeepPath())
        std::fprintf(stderr, "zozud-viewer: cannot keep the camera path in %s\n", s_ConfigFolder.c_str());
    RemoveExplorerObject(s_Path);
    delete s_Path;  // its edit tools with it
    s_Path = nullptr;
    if (!ScreenshotMode() && !SaveSettings(s_ConfigFolder))
        std::fprintf(stderr, "zozud-viewer: cannot write the settings to %s\n", s_ConfigFolder.c_str());
    CloseExplorer();
    s_Scene.FreeRenderResources();
}

void cMain_OnDrop(const char* path) {
    if (path && *path) Open(path);
}
