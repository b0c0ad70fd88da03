// A small application for the class explorer's end-to-end test: the
// framework's window with the OpenGL device, the class explorer over an object
// with a check box and a text field. It prints "control NAME x0 y0 x1 y1"
// (window pixels, y down) for both rows and "ready" after the first frame;
// "pause 0|1" when the window gains or loses the keyboard; "editing 1|0",
// "flag 0|1" and "name [TEXT]" on every change; "final flag 0|1 name [TEXT]"
// once the window has closed. Its argument is the folder of the shaders.
#include <cstdio>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Timer.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/math/Rect.h"
#include "zozud/reflect/Wrappers.h"
#include "zozud/render/Render.h"
#include "zozud/render/Theme.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/widgets/Edit.h"

using namespace zozud;

cStr cMain_Title("Explorer Probe");
cStr cMain_LoadSceneXmlFilePn;
bool cMain_LoadSceneEnableIntro = true;

namespace {

class cProbeObject : public cClass {
public:
    ZOZUD_CLASS(cProbeObject)
    cProbeObject() { CallCtor(this); }
    int RegisterMembers() override {
        if (int n = BeginRegisterMembers()) return n;
        cClass_RegMember(this, "_cBool", &Flag, "Flag");
        cClass_RegMember(this, "_cStr", &Name, "Name");
        return EndRegisterMembers();
    }
    bool Flag;
    cStr Name;
};

cProbeObject* s_Object = nullptr;
bool s_Flag = false, s_Editing = false;
cStr s_Name;

// The row's clickable area in window pixels, y counted down from the top.
void PrintControl(cClassExplorer::Stub* stub, const char* name, int height) {
    cWnd* control = stub->GetRowControl(name);
    if (!control) {
        printf("control %s missing\n", name);
        return;
    }
    const cRect& r = control->GetClientRect();
    printf("control %s %d %d %d %d\n", name, (int)r.x0, height - (int)r.y1, (int)r.x1, height - (int)r.y0);
}

void PrintChanges(cClassExplorer::Stub* stub) {
    cEdit* edit = stub ? static_cast<cEdit*>(stub->GetRowControl("Name")) : nullptr;
    bool editing = edit && edit->IsEditing();
    if (editing != s_Editing) printf("editing %d\n", s_Editing = editing);
    if (s_Object->Flag != s_Flag) printf("flag %d\n", s_Flag = s_Object->Flag);
    if (s_Object->Name != s_Name) printf("name [%s]\n", (s_Name = s_Object->Name).ToChar());
}

}  // namespace

void cMain_OnPreInit() {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    cIO::GetSourcesMutable().Add(new SourceFolder(cMain_GetCmdLineArgs(), ""));
}

bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height) {
    *x = 40, *y = 40, *width = 800, *height = 600;
    return true;
}

void cMain_OnInit() {
    cTheme::Init();
    cClassExplorer::Init();
    cClassExplorer::s_ViewArea = cRect(0, 0, (float)cMain_GetClientWidth(), (float)cMain_GetClientHeight());
    s_Object = new cProbeObject;
    s_Name = s_Object->Name;
    s_Flag = s_Object->Flag;
    cClassExplorer::AddObject("Probe", s_Object, nullptr);
    cClassExplorer::ToggleClassExplorer();
    cClassExplorer::FocusObject(s_Object);  // the framework's settings come first in the list
}

void cMain_OnRender(const cRect& rect) {
    static bool first = true;
    static int pause = -1;
    if (pause != (int)cPause::GetSystemPause()) printf("pause %d\n", pause = cPause::GetSystemPause());
    cInput::Acquire();
    cWidgets::HandleInputEvents();
    cRender::Clear(true, true, cColor(0.1f, 0.1f, 0.15f, 1));
    cWidgets::Render();
    cClassExplorer::Stub* stub = cClassExplorer::GetClassExplorer();
    if (first && stub) {
        first = false;
        PrintControl(stub, "Flag", (int)rect.GetHeight());
        PrintControl(stub, "Name", (int)rect.GetHeight());
        printf("ready\n");
    }
    PrintChanges(stub);
}

bool cMain_OnClose() { return true; }

void cMain_OnFree() {
    printf("final flag %d name [%s]\n", s_Object->Flag, s_Object->Name.ToChar());
    if (cClassExplorer::GetVisible()) cClassExplorer::ToggleClassExplorer();
    cClassExplorer::ClearObjects();
    cWidgets::FreeAll();
    delete s_Object;
}
