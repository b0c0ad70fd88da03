// cClassExplorer: the registered objects, the two windows and their stored
// placement, display names and clipboard names.
#include "zozud/view/ClassExplorerStub.h"

#include <cctype>
#include <cstring>

#include "zozud/reflect/Enum.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

cXml cClassExplorer_ClipBoard;

cList<cClassExplorer::Object> cClassExplorer::s_Objects;
const cTheme* cClassExplorer::s_Theme = nullptr;
cRect cClassExplorer::s_ViewArea(0, 0, 1280, 1024);
cClassExplorer::FileDialogHooks cClassExplorer::s_Dialogs;

int   cClassExplorer::s_ClassExplorerID = -1, cClassExplorer::s_MainMenuID = -1;
bool  cClassExplorer::s_ClassExplorerIsMaximized = false, cClassExplorer::s_MainMenuIsMaximized = false;
int   cClassExplorer::s_ClassExplorerNormalStateAlignTl = -1, cClassExplorer::s_ClassExplorerNormalStateAlignBr = -1;
cVec2 cClassExplorer::s_ClassExplorerNormalStateRelPosTl(0, 0), cClassExplorer::s_ClassExplorerNormalStateRelPosBr(0, 0);
int   cClassExplorer::s_MainMenuNormalStateAlignTl = -1, cClassExplorer::s_MainMenuNormalStateAlignBr = -1;
cVec2 cClassExplorer::s_MainMenuNormalStateRelPosTl(0, 0), cClassExplorer::s_MainMenuNormalStateRelPosBr(0, 0);
int   cClassExplorer::s_ClassExplorerMinStateAlign = -1, cClassExplorer::s_MainMenuMinStateAlign = -1;
cVec2 cClassExplorer::s_ClassExplorerMinStateRelPos(0, 0), cClassExplorer::s_MainMenuMinStateRelPos(0, 0);
float cClassExplorer::s_ClassExplorerToolBarScrollPos = 0;
int   cClassExplorer::s_MainMenuObjIndex = -1;
int   cClassExplorer::s_CurObjIndex = -1;
cList<int> cClassExplorer::s_SessionHistory_ObjIndex;
int   cClassExplorer::s_SessionHistoryIndex = -1;

// ---- Registered objects ----

namespace {

int AddRecord(const char* name, cClass* object, const char* file, bool menu) {
    cClassExplorer::Init();
    if (!object) return -1;
    cClassExplorer::Object record;
    record.name = name ? name : "";
    record.object = object;
    record.file = file ? file : "";
    record.xml = cStr::CompareNoCase(record.file.GetFileExtension(), "Xml") == 0;
    record.menu = menu;
    return cClassExplorer::s_Objects.Add(static_cast<cClassExplorer::Object&&>(record));
}

// The object is o or lies inside it (follows the parents up).
bool Within(cClass* object, const cClass* o) {
    for (cClass* c = object; c; c = c->GetParent())
        if (c == o) return true;
    return false;
}

}  // namespace

int cClassExplorer::AddObject(const char* name, cClass* object, const char* file) {
    int i = AddRecord(name, object, file, false);
    if (i >= 0 && s_CurObjIndex < 0) s_CurObjIndex = i;
    if (Stub* stub = GetClassExplorer()) stub->ReCreateControls(s_CurObjIndex);
    return i;
}

int cClassExplorer::AddMenuObject(const char* name, cClass* object, const char* file) {
    int i = AddRecord(name, object, file, true);
    if (Stub* menu = GetMainMenu()) menu->ReCreateControls(-1);
    return i;
}

int cClassExplorer::FindObject(const cClass* object) {
    for (int i = 0; i < s_Objects.Count(); i++)
        if (s_Objects[i].object == object) return i;
    return -1;
}

void cClassExplorer::FocusObject(cClass* object) {
    if (!object) return;
    int i = FindObject(object);
    if (i < 0) {
        const char* name = object->GetClassName();
        i = AddRecord(name ? name : "", object, nullptr, false);
    }
    if (Stub* stub = GetClassExplorer()) stub->GoToObject(i);
    else {
        s_CurObjIndex = i;
        s_SessionHistory_ObjIndex.Add(i);
        s_SessionHistoryIndex = s_SessionHistory_ObjIndex.Count() - 1;
    }
}

bool cClassExplorer::ReloadObject(cClass* object, const char* file) {
    Init();
    if (!object || !file) return false;
    bool ok = object->ReadFromFile(file);
    int i = FindObject(object);
    if (i >= 0 && ok) s_Objects[i].file = file;
    if (Stub* stub = GetClassExplorer()) stub->ReCreateControls(s_CurObjIndex);
    return ok;
}

// Drops the records of the object and of everything reached through it, and
// renumbers the history without them.
void cClassExplorer::RemoveObject(const cClass* object) {
    for (int i = s_Objects.Count() - 1; i >= 0; i--) {
        if (!Within(s_Objects[i].object, object)) continue;
        s_Objects.RemoveAt(i);
        for (int k = s_SessionHistory_ObjIndex.Count() - 1; k >= 0; k--) {
            int& h = s_SessionHistory_ObjIndex[k];
            if (h > i) h--;
            else if (h == i) {
                s_SessionHistory_ObjIndex.RemoveAt(k);
                if (s_SessionHistoryIndex >= k) s_SessionHistoryIndex--;
            }
        }
        if (s_CurObjIndex > i) s_CurObjIndex--;
        else if (s_CurObjIndex == i) s_CurObjIndex = -1;
        if (s_MainMenuObjIndex > i) s_MainMenuObjIndex--;
        else if (s_MainMenuObjIndex == i) s_MainMenuObjIndex = -1;
    }
    if (s_SessionHistoryIndex < 0 && !s_SessionHistory_ObjIndex.IsEmpty()) s_SessionHistoryIndex = 0;
    if (s_CurObjIndex < 0 && s_SessionHistoryIndex >= 0) s_CurObjIndex = s_SessionHistory_ObjIndex[s_SessionHistoryIndex];
}

void cClassExplorer::ClearObjects() {
    s_Objects.Clear();
    s_SessionHistory_ObjIndex.Clear();
    s_SessionHistoryIndex = -1;
    s_CurObjIndex = -1;
    s_MainMenuObjIndex = -1;
    if (Stub* stub = GetClassExplorer()) stub->ReCreateControls(-1);
}

// ---- Windows ----

cRect cClassExplorer::GetViewArea() {
    cViewer* viewer = cRender::GetViewer();
    if (viewer && viewer->Viewport.IsValid() && viewer->Viewport.GetWidth() > 0) return viewer->Viewport;
    return s_ViewArea;
}

cVec2 cClassExplorer::Anchor(int align, const cVec2& relPos) {
    cRect a = GetViewArea();
    return cVec2(((align & AlignRight) ? a.x1 : a.x0) + relPos.x, ((align & AlignTop) ? a.y1 : a.y0) + relPos.y);
}

cVec2 cClassExplorer::RelPos(int align, const cVec2& point) {
    cRect a = GetViewArea();
    return cVec2(point.x - ((align & AlignRight) ? a.x1 : a.x0), point.y - ((align & AlignTop) ? a.y1 : a.y0));
}

cClassExplorer::Stub* cClassExplorer::GetClassExplorer() {
    return static_cast<Stub*>(cWidgets::GetWidget(s_ClassExplorerID));
}

cClassExplorer::Stub* cClassExplorer::GetMainMenu() { return static_cast<Stub*>(cWidgets::GetWidget(s_MainMenuID)); }

bool cClassExplorer::GetVisible() { return GetClassExplorer() != nullptr; }

void cClassExplorer::ReCreateControls() {
    if (Stub* stub = GetClassExplorer()) stub->ReCreateControls(s_CurObjIndex);
}

namespace {

// The stored placement of one of the two windows.
struct Placement {
    int* id;
    bool* maximized;
    int *alignTl, *alignBr, *minAlign;
    cVec2 *relTl, *relBr, *minRel;
};

Placement PlacementOf(bool classExplorer) {
    typedef cClassExplorer E;
    if (classExplorer)
        return {&E::s_ClassExplorerID, &E::s_ClassExplorerIsMaximized, &E::s_ClassExplorerNormalStateAlignTl,
                &E::s_ClassExplorerNormalStateAlignBr, &E::s_ClassExplorerMinStateAlign,
                &E::s_ClassExplorerNormalStateRelPosTl, &E::s_ClassExplorerNormalStateRelPosBr,
                &E::s_ClassExplorerMinStateRelPos};
    return {&E::s_MainMenuID, &E::s_MainMenuIsMaximized, &E::s_MainMenuNormalStateAlignTl,
            &E::s_MainMenuNormalStateAlignBr, &E::s_MainMenuMinStateAlign, &E::s_MainMenuNormalStateRelPosTl,
            &E::s_MainMenuNormalStateRelPosBr, &E::s_MainMenuMinStateRelPos};
}

// The default: a column 544..16 units left of the area's right edge, 16 units
// from its top and bottom (the main menu a narrower one at the left edge).
void DefaultPlacement(const Placement& p, bool classExplorer) {
    typedef cClassExplorer E;
    *p.alignTl = E::AlignTop | (classExplorer ? E::AlignRight : 0);
    *p.alignBr = classExplorer ? E::AlignRight : 0;
    *p.relTl = classExplorer ? cVec2(-544, -16) : cVec2(16, -16);
    *p.relBr = classExplorer ? cVec2(-16, 16) : cVec2(256, 16);
}

void Store(const Placement& p, cForm* form) {
    cRect n = form->GetFormState() == cForm::State::Normal ? form->GetRect() : form->CalcNormalStateBounds();
    *p.relTl = cClassExplorer::RelPos(*p.alignTl, cVec2(n.x0, n.y1));
    *p.relBr = cClassExplorer::RelPos(*p.alignBr, cVec2(n.x1, n.y0));
    *p.maximized = form->GetFormState() == cForm::State::Maximized;
    if (form->GetFormState() == cForm::State::Minimized) {
        *p.minAlign = *p.alignTl;
        *p.minRel = *p.relTl;
    } else {
        *p.minAlign = -1;
    }
}

void Toggle(bool classExplorer) {
    Placement p = PlacementOf(classExplorer);
    if (cWidget* open = cWidgets::GetWidget(*p.id)) {
        Store(p, static_cast<cForm*>(open));
        cWidgets::FreeWidget(*p.id, cWidgets::IsInCriticalSection());
        *p.id = -1;
        return;
    }
    *p.id = -1;
    if (*p.alignTl < 0 || *p.alignBr < 0) DefaultPlacement(p, classExplorer);
    cClassExplorer::Stub* stub = new cClassExplorer::Stub(classExplorer);
    *p.id = cWidgets::AddWidget(stub, 3);
    cWidgets::BringToFront(stub);  // in front of its controls, then they in front of it
    if (*p.minAlign >= 0) stub->Minimize();
    else if (*p.maximized) stub->Maximize();
}

}  // namespace

// The window's rectangle from the stored corners.
cRect cClassExplorer_PlacedRect(bool classExplorer) {
    Placement p = PlacementOf(classExplorer);
    if (*p.alignTl < 0 || *p.alignBr < 0) DefaultPlacement(p, classExplorer);
    cVec2 tl = cClassExplorer::Anchor(*p.alignTl, *p.relTl), br = cClassExplorer::Anchor(*p.alignBr, *p.relBr);
    return cRect(tl.x, br.y, br.x, tl.y);
}

void cClassExplorer::ToggleClassExplorer() { Toggle(true); }
void cClassExplorer::ToggleMainMenu() { Toggle(false); }

// ---- Texts ----

cStr cClassExplorer::GetDisplayName(const char* name) {
    if (!name) return cStr();
    if (const char* scope = std::strstr(name, "::")) name = scope + 2;
    if (std::strchr(name, '_')) return cStr(name);
    cStr out;
    for (int i = 0; name[i]; i++) {
        unsigned char c = (unsigned char)name[i], prev = i > 0 ? (unsigned char)name[i - 1] : 0;
        bool upperAfter = std::isupper(c) && !std::isupper(prev);
        bool digitAfter = std::isdigit(c) && !std::isdigit(prev);
        bool skip = i == 0 || prev == ' ' || (i == 1 && name[0] == 'c');
        if ((upperAfter || digitAfter) && !skip) out += " ";
        char one[2] = {(char)c, 0};
        out += one;
    }
    return out;
}

cStr cClassExplorer::GetClipBoardName(cClass* elementClass, void* extra) {
    const char* n = elementClass ? elementClass->GetClassName() : nullptr;
    if (!n) return cStr();
    cStr name(n);
    if (name == "_cIndex") {
        const cEnum* e = static_cast<const cEnum*>(extra);
        return e ? e->GetName() : cStr("_cIndex");
    }
    if (name == "_cSliderI" || name == "_cEditSliderI") return cStr("_cInt");
    if (name == "_cSliderF" || name == "_cEditSliderF") return cStr("_cFloat");
    static const char* const files[] = {"_cImageFile", "_cSoundFile", "_cModelFile", "_cAnimFile",
                                        "_cCameraFile", "_cBspFile", "_cXmlFile"};
    for (const char* f : files)
        if (name == f) return cStr("_cStr");
    return name;
}

}  // namespace zozud
