#include "Explorer.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Log.h"
#include "zozud/reflect/Class.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/view/FreeViewer.h"
#include "zozud/view/Transform.h"
#include "zozud/widgets/Panel.h"
#include "zozud/widgets/Settings.h"

#include "Panel.h"

using namespace zozud;

namespace viewer {

namespace {

// The viewer's settings as a reflected object.
class cViewerSettings : public cClass {
public:
    ZOZUD_CLASS(cViewerSettings)
    cViewerSettings() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cSeparator", nullptr, "Draw");
        cClass_RegMember(this, "_cBool", &Grid, "Grid");
        cClass_RegMember(this, "_cBool", &Bounds, "Bounds");
        cClass_RegMember(this, "_cBool", &Joints, "Joints");
        cClass_RegMember(this, "_cBool", &TangentSpace, "TangentSpace");
        cClass_RegMember(this, "_cBool", &Wireframe, "Wireframe");
        cClass_RegMember(this, "_cSeparator", nullptr, "Animation");
        cClass_RegMember(this, "_cBool", &Play, "Play");
        cClass_RegMember(this, "_cFloat", &TimeSec, "Time");
        cClass_RegMember(this, "_cSeparator", nullptr, "Camera");
        cClass_RegMember(this, "_cFloat", &FieldOfView, "FieldOfView");
        cClass_RegAuto(this, ClearColor, "ClearColor");
        return EndRegisterMembers();
    }

    bool  Grid, Bounds, Joints, TangentSpace, Wireframe, Play;
    float TimeSec, FieldOfView;
    cSettings_ClearColor ClearColor;  // g_Settings' own, which the shell clears each frame with

    bool Same(const cViewerSettings& o) const {
        return Grid == o.Grid && Bounds == o.Bounds && Joints == o.Joints && TangentSpace == o.TangentSpace &&
               Wireframe == o.Wireframe && Play == o.Play && TimeSec == o.TimeSec && FieldOfView == o.FieldOfView &&
               ClearColor.ToColor() == o.ClearColor.ToColor();
    }
    void CopyValues(const cViewerSettings& o) {
        Grid = o.Grid, Bounds = o.Bounds, Joints = o.Joints, TangentSpace = o.TangentSpace;
        Wireframe = o.Wireframe, Play = o.Play, TimeSec = o.TimeSec, FieldOfView = o.FieldOfView;
        ClearColor.SetColor(o.ClearColor.ToColor());
    }
};

cViewerSettings* s_Settings = nullptr;  // shown by the explorer
cViewerSettings* s_Last = nullptr;      // its values after the last sync
cTransform*      s_Placement = nullptr; // the model placement the explorer lists

void Capture(const Panel& p, const cFreeViewer& v, cViewerSettings* s) {
    s->Grid = p.Flags.Grid, s->Bounds = p.Flags.Bounds, s->Joints = p.Flags.Joints;
    s->TangentSpace = p.Flags.TangentSpace, s->Wireframe = p.Flags.Wireframe;
    s->Play = p.Playing, s->TimeSec = p.TimeSec, s->FieldOfView = v.Fov;
    if (g_Settings) s->ClearColor.SetColor(g_Settings->ClearColor.ToColor());
}

void Apply(const cViewerSettings& s, Panel* panel, cFreeViewer* viewer) {
    panel->Flags.Grid = s.Grid, panel->Flags.Bounds = s.Bounds, panel->Flags.Joints = s.Joints;
    panel->Flags.TangentSpace = s.TangentSpace, panel->Flags.Wireframe = s.Wireframe;
    panel->Playing = s.Play;
    panel->TimeSec = s.TimeSec < 0 ? 0 : s.TimeSec > panel->DurationSec ? panel->DurationSec : s.TimeSec;
    if (s.FieldOfView >= 1 && s.FieldOfView <= 170) viewer->Fov = s.FieldOfView;
    viewer->Update();
    if (g_Settings) g_Settings->ClearColor.SetColor(s.ClearColor.ToColor());  // clamped to 0..1
}

void MakeSettings() {
    if (s_Settings) return;
    s_Settings = new cViewerSettings;
    s_Last = new cViewerSettings;
}

// The text of each settings file as last read or written.
std::string s_Saved[2];

cClass* SettingsObject(int i) { return i == 0 ? (cClass*)s_Settings : (cClass*)g_Settings; }
const char* const SettingsFile[2] = {"/Viewer.xml", "/Settings.xml"};

}  // namespace

bool MakeFolders(const std::string& path) {
    for (size_t at = 1; at <= path.size(); at++)
        if (at == path.size() || path[at] == '/')
            if (mkdir(path.substr(0, at).c_str(), 0755) != 0 && errno != EEXIST) return false;
    return true;
}

std::string ConfigFolder() {
    const char* own = std::getenv("ZOZUD_VIEWER_CONFIG");
    if (own && *own) return own;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/zozud-viewer";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/zozud-viewer";
}

void LoadSettings(const std::string& folder, Panel* panel, cFreeViewer* viewer) {
    MakeSettings();
    Capture(*panel, *viewer, s_Settings);  // the defaults, for what the file lacks
    for (int i = 0; i < 2; i++) {
        cClass* object = SettingsObject(i);
        std::string path = folder + SettingsFile[i];
        cStr text;
        if (!object || access(path.c_str(), R_OK) != 0) continue;
        if (!object->SafeReadFromFile(path.c_str())) cLog::Message("zozud-viewer: cannot read %s", path.c_str());
        if (object->WriteToString(&text)) s_Saved[i] = text.ToChar();
    }
    Apply(*s_Settings, panel, viewer);
    Capture(*panel, *viewer, s_Settings);
    s_Last->CopyValues(*s_Settings);
}

bool SaveSettings(const std::string& folder) {
    if (!s_Settings) return true;
    // Where the animation stands is no setting: the file stays put while it plays.
    float time = s_Settings->TimeSec;
    s_Settings->TimeSec = 0;
    bool ok = true;
    for (int i = 0; i < 2; i++) {
        cClass* object = SettingsObject(i);
        cStr text;
        if (!object || !object->WriteToString(&text) || s_Saved[i] == text.ToChar()) continue;
        std::string path = folder + SettingsFile[i];
        if (MakeFolders(folder) && object->WriteToFile(path.c_str())) s_Saved[i] = text.ToChar();
        else ok = false;
    }
    s_Settings->TimeSec = time;
    return ok;
}

bool OpenExplorer(const cTheme* theme) {
    MakeSettings();
    AddExplorerObject("Viewer", s_Settings);
    cClassExplorer::s_Theme = theme;
    // Placed in the window; until a frame has set a viewer it knows no other area.
    cClassExplorer::s_ViewArea = cRect(0, 0, (float)cMain_GetClientWidth(), (float)cMain_GetClientHeight());
    if (!cClassExplorer::GetVisible()) cClassExplorer::ToggleClassExplorer();
    cClassExplorer::FocusObject(s_Settings);
    return cClassExplorer::GetVisible();
}

void ToggleExplorer(const cTheme* theme) {
    if (cClassExplorer::GetVisible()) cClassExplorer::ToggleClassExplorer();
    else OpenExplorer(theme);
}

void SetExplorerTheme(const cTheme* theme) {
    cClassExplorer::s_Theme = theme;
    if (cClassExplorer::GetVisible()) cClassExplorer::ReCreateControls();
}

void AddExplorerObject(const char* name, cClass* object) {
    if (object && cClassExplorer::FindObject(object) < 0) cClassExplorer::AddObject(name, object, nullptr);
}

void RemoveExplorerObject(cClass* object) {
    if (object == s_Placement) s_Placement = nullptr;  // its tools go with it
    if (object && cClassExplorer::FindObject(object) >= 0) cClassExplorer::RemoveObject(object);
}

bool ExplorerShows(const cClass* object) {
    int shown = cClassExplorer::s_CurObjIndex;
    return object && cClassExplorer::GetVisible() && shown >= 0 && shown < cClassExplorer::s_Objects.Count() &&
           cClassExplorer::s_Objects[shown].object == object;
}

void EditPlacement(cTransform* placement) {
    if (placement != s_Placement) {
        if (s_Placement) s_Placement->FreeTools();
        s_Placement = placement;
    }
    if (!placement || !s_Settings) return;  // the explorer was never opened
    AddExplorerObject("Model", placement);
    if (ExplorerShows(placement)) placement->CreateTools();
    else placement->FreeTools();
}

void ShowPlacement(const cTheme* theme) {
    if (!OpenExplorer(theme) || !s_Placement) return;
    AddExplorerObject("Model", s_Placement);
    cClassExplorer::FocusObject(s_Placement);
}

void SyncExplorer(Panel* panel, cFreeViewer* viewer) {
    if (!s_Settings || !panel || !viewer) return;
    if (!s_Settings->Same(*s_Last)) Apply(*s_Settings, panel, viewer);  // edited in the explorer
    Capture(*panel, *viewer, s_Settings);
    s_Last->CopyValues(*s_Settings);
}

cRect ExplorerCover() {
    cClassExplorer::Stub* stub = cClassExplorer::GetClassExplorer();
    if (!stub || !cClassExplorer::GetVisible() || !stub->IsVisible() ||
        stub->GetFormState() == cForm::State::Minimized || stub->GetCurAlpha() < 1)  // see-through while dragged
        return cRect::Empty;
    return stub->GetRect();
}

std::string ExplorerRows(int windowHeight) {
    cClassExplorer::Stub* stub = cClassExplorer::GetClassExplorer();
    if (!stub || ExplorerCover().IsEmpty()) return "";
    std::string rows;
    const cRect panel = stub->GetPanel() ? stub->GetPanel()->GetClientRect() : stub->GetRect();
    for (const cClassExplorer::Stub::Row* r : stub->GetRows()) {
        if (!r->control || !r->control->IsVisible()) continue;
        const cRect& c = r->control->GetClientRect();
        if (c.y0 < panel.y0 || c.y1 > panel.y1) continue;  // scrolled out of view
        char line[160];
        std::snprintf(line, sizeof line, "control %s %d %d %d %d\n", r->name.ToChar(), (int)c.x0,
                      windowHeight - (int)c.y1, (int)c.x1, windowHeight - (int)c.y0);
        rows += line;
    }
    return rows;
}

void CloseExplorer() {
    if (cClassExplorer::GetVisible()) cClassExplorer::ToggleClassExplorer();
    cClassExplorer::ClearObjects();
    delete s_Settings;
    delete s_Last;
    s_Settings = s_Last = nullptr;
}

}  // namespace viewer
