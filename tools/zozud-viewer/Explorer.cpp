#include "Explorer.h"

#include "zozud/reflect/Class.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/view/FreeViewer.h"

#include "Panel.h"

// Last: Xlib's macros would clash with the framework's names.
#include "platform/linux/LinuxMain.h"

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
        cClass_RegMember(this, "_cBool", &TangentSpace, "Tangent space");
        cClass_RegMember(this, "_cBool", &Wireframe, "Wire frame");
        cClass_RegMember(this, "_cSeparator", nullptr, "Animation");
        cClass_RegMember(this, "_cBool", &Play, "Play");
        cClass_RegMember(this, "_cFloat", &TimeSec, "Time");
        cClass_RegMember(this, "_cSeparator", nullptr, "Camera");
        cClass_RegMember(this, "_cFloat", &FieldOfView, "Field of view");
        return EndRegisterMembers();
    }

    bool  Grid, Bounds, Joints, TangentSpace, Wireframe, Play;
    float TimeSec, FieldOfView;

    bool Same(const cViewerSettings& o) const {
        return Grid == o.Grid && Bounds == o.Bounds && Joints == o.Joints && TangentSpace == o.TangentSpace &&
               Wireframe == o.Wireframe && Play == o.Play && TimeSec == o.TimeSec && FieldOfView == o.FieldOfView;
    }
    void CopyValues(const cViewerSettings& o) {
        Grid = o.Grid, Bounds = o.Bounds, Joints = o.Joints, TangentSpace = o.TangentSpace;
        Wireframe = o.Wireframe, Play = o.Play, TimeSec = o.TimeSec, FieldOfView = o.FieldOfView;
    }
};

cViewerSettings* s_Settings = nullptr;  // shown by the explorer
cViewerSettings* s_Last = nullptr;      // its values after the last sync

void Capture(const Panel& p, const cFreeViewer& v, cViewerSettings* s) {
    s->Grid = p.Flags.Grid, s->Bounds = p.Flags.Bounds, s->Joints = p.Flags.Joints;
    s->TangentSpace = p.Flags.TangentSpace, s->Wireframe = p.Flags.Wireframe;
    s->Play = p.Playing, s->TimeSec = p.TimeSec, s->FieldOfView = v.Fov;
}

}  // namespace

bool OpenExplorer(const cTheme* theme) {
    if (!s_Settings) {
        s_Settings = new cViewerSettings;
        s_Last = new cViewerSettings;
        cClassExplorer::AddObject("Viewer", s_Settings, nullptr);
    }
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

void SyncExplorer(Panel* panel, cFreeViewer* viewer) {
    if (!s_Settings || !panel || !viewer) return;
    if (!s_Settings->Same(*s_Last)) {  // edited in the explorer
        cViewerSettings& s = *s_Settings;
        panel->Flags.Grid = s.Grid, panel->Flags.Bounds = s.Bounds, panel->Flags.Joints = s.Joints;
        panel->Flags.TangentSpace = s.TangentSpace, panel->Flags.Wireframe = s.Wireframe;
        panel->Playing = s.Play;
        panel->TimeSec = s.TimeSec < 0 ? 0 : s.TimeSec > panel->DurationSec ? panel->DurationSec : s.TimeSec;
        if (s.FieldOfView >= 1 && s.FieldOfView <= 170) viewer->Fov = s.FieldOfView;
        viewer->Update();
    }
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

void CloseExplorer() {
    if (cClassExplorer::GetVisible()) cClassExplorer::ToggleClassExplorer();
    cClassExplorer::ClearObjects();
    delete s_Settings;
    delete s_Last;
    s_Settings = s_Last = nullptr;
}

}  // namespace viewer
