// cClassExplorer::Stub: the window, its tool bar, the rows generated from the
// current object's editable elements, the exchange of values and the layout.
#include <cmath>
#include <cstring>

#include "zozud/reflect/Enum.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/view/TransformTools.h"
#include "zozud/widgets/BindButton.h"
#include "zozud/widgets/Button.h"
#include "zozud/widgets/ColorSwatch.h"
#include "zozud/widgets/ComboBox.h"
#include "zozud/widgets/Edit.h"
#include "zozud/widgets/EditSlider.h"
#include "zozud/widgets/EditVec.h"
#include "zozud/widgets/FilePn.h"
#include "zozud/widgets/ImageSwatch.h"
#include "zozud/widgets/Label.h"
#include "zozud/widgets/Panel.h"
#include "zozud/widgets/Slider.h"
#include "zozud/widgets/ToolBar.h"

namespace zozud {

cRect cClassExplorer_PlacedRect(bool classExplorer);

namespace {

// Every element, values and sub-objects alike, one row each.
const unsigned RowFlags = cClass::EditableProperties | cClass::EditableNodes;

// The frame of the rows: a plain panel that hands its controls' messages to the window.
class cRowsPanel : public cPanel {
public:
    explicit cRowsPanel(cWnd* form) : cPanel(form, nullptr) { SetSimple(true); }
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override {
        if (m_Parent) m_Parent->MsgProc(id, msg, oldValue, newValue);
    }
};

// A narrow divider between groups of tool bar controls.
class cToolSeparator : public cSeparator {
public:
    cToolSeparator(cToolBar* bar, float x) : cSeparator(bar, nullptr) {
        m_X = x;
        m_Width = 8;
        m_RelRect = cRect(x, 2, x + 8, 22);
    }
    cRect GetRelBounds() override { return m_RelRect; }
};

const char* const ManipulatorTypes[] = {"Move", "Rotate", "Scale", "All"};

// Default ranges of sliders registered without one.
const int   DefaultRangeI[2] = {0, 100};
const float DefaultRangeF[2] = {0, 1};

bool Is(const char* kind, const char* name) { return kind && std::strcmp(kind, name) == 0; }

// Frees a window with everything under it, children first: their controls
// are bound to values of the window and of its rows, so none may outlive
// them even for a frame. During the registry's iteration they are hidden
// now and freed once it is over.
void FreeTree(cWnd* w, bool deferred) {
    cList<cWnd*> children = w->GetChildren();
    w->SetVisible(false);
    for (cWnd* child : children) FreeTree(child, deferred);
    cWidgets::FreeWidget(w, deferred);
}

}  // namespace

// ---- Construction ----

cClassExplorer::Stub::Stub(bool classExplorer)
    : cForm(nullptr, classExplorer ? "Class Explorer" : "Main Menu", cClassExplorer_PlacedRect(classExplorer),
            s_Theme ? s_Theme : cTheme::Ziduruz),
      m_IsClassExplorer(classExplorer) {
    if (m_IsClassExplorer) {
        BuildToolBar();
        if (s_CurObjIndex >= s_Objects.Count()) s_CurObjIndex = -1;
        if (s_CurObjIndex >= 0 && s_SessionHistory_ObjIndex.IsEmpty()) {
            s_SessionHistory_ObjIndex.Add(s_CurObjIndex);
            s_SessionHistoryIndex = 0;
        }
        ReCreateControls(s_CurObjIndex);
        m_Bar->SetScrollOffset(cVec2(s_ClassExplorerToolBarScrollPos, 0));
    } else {
        ReCreateControls(-1);
    }
}

cClassExplorer::Stub::~Stub() {
    if (m_IsClassExplorer) {
        StoreFocus();
        if (m_Bar) s_ClassExplorerToolBarScrollPos = m_Bar->GetScrollOffset().x;
    }
    cList<cWnd*> children = m_Children;
    for (cWnd* child : children) FreeTree(child, cWidgets::IsInCriticalSection());
    for (Row* r : m_Rows) delete r;
    for (Row* r : m_OldRows) delete r;
}

void cClassExplorer::Stub::BuildToolBar() {
    m_Bar = new cToolBar(this);
    auto separator = [&] { new cToolSeparator(m_Bar, m_Bar->NextX()); };
    cList<cStr> none;
    m_ObjectBox = new cComboBox(m_Bar, &m_ObjectCombo, "Object", none, m_Bar->NextX(), 2, 180);
    separator();
    m_Bar->AddButton("Load...");
    m_Bar->AddButton("Save...");
    separator();
    new cEdit(m_Bar, &g_ManipulatorsSnap, "Snap", m_Bar->NextX(), 2, 90);
    cList<cStr> types;
    for (const char* t : ManipulatorTypes) types.Add(cStr(t));
    m_ManipulatorType = g_ManipulatorsType >= 1 && g_ManipulatorsType <= 4 ? g_ManipulatorsType - 1 : 0;
    new cComboBox(m_Bar, &m_ManipulatorType, nullptr, types, m_Bar->NextX(), 2, 70);
    m_Local = g_ManipulatorsLocal == cSpace::Local;
    new cCheckBox(m_Bar, &m_Local, "Local", m_Bar->NextX(), 2, 60);
    separator();
    m_Bar->AddButton("Back");
    m_Bar->AddButton("Forward");
    separator();
    m_Bar->AddButton("Undo");
    m_Bar->AddButton("Redo");
    separator();
    m_Bar->AddButton("Copy");
    m_Bar->AddButton("Paste");
    m_Bar->AddButton("Clear");
    separator();
    m_Bar->AddButton("Add");
    m_ClassBox = new cComboBox(m_Bar, &m_ClassCombo, "Class", none, m_Bar->NextX(), 2, 160);
    separator();
    m_Bar->AddButton("Move Up");
    m_Bar->AddButton("Move Down");
    m_Bar->AddButton("Delete");
    separator();
}

cWnd* cClassExplorer::Stub::GetToolControl(const char* caption) const {
    if (!m_Bar) return nullptr;
    for (cWnd* c : m_Bar->GetChildren())
        if (c->GetCaption() == caption) return c;
    return nullptr;
}

cClass* cClassExplorer::Stub::GetObject() const {
    return s_CurObjIndex >= 0 && s_CurObjIndex < s_Objects.Count() ? s_Objects[s_CurObjIndex].object : nullptr;
}

// ---- Rows ----

void cClassExplorer::Stub::FreeRows() {
    for (Row* r : m_OldRows) delete r;
    m_OldRows = static_cast<cList<Row*>&&>(m_Rows);
    m_Rows.Clear();
    if (m_Panel) {
        // Its controls may be in the middle of reporting: their rows stay until the next time.
        FreeTree(m_Panel, cWidgets::IsInCriticalSection());
        m_Panel = nullptr;
    }
    m_FocusRow = -1;
    cForm::SetFocus(nullptr);
}

void cClassExplorer::Stub::ReCreateControls(int objIndex) {
    FreeRows();
    m_Panel = new cRowsPanel(this);
    if (!m_IsClassExplorer) {
        BuildMenu();
    } else {
        s_CurObjIndex = objIndex >= 0 && objIndex < s_Objects.Count() ? objIndex : -1;
        CreateControls();
    }
    if (cWidgets::GetWidgetID(this) >= 0) cWidgets::BringToFront(this);
    AlignControls();
    if (!m_IsClassExplorer) return;
    RestoreFocus();
    FillObjectCombo();
    FillClassCombo();
    DoExchange();
}

void cClassExplorer::Stub::CreateControls() {
    cClass* object = GetObject();
    if (!object) return;
    int n = object->GetAmountOfEditableElements(object, RowFlags);
    for (int i = 0; i < n; i++) {
        int element = object->GetIndexOfEditableElement(i, object, RowFlags);
        if (element >= 0) AddRow(element, object);
    }
}

void cClassExplorer::Stub::BuildMenu() {
    for (int i = 0; i < s_Objects.Count(); i++) {
        if (!s_Objects[i].menu) continue;
        Row* r = new Row;
        r->element = i;
        r->name = s_Objects[i].name;
        r->control = new cButton(m_Panel, GetDisplayName(r->name), 0, 0, 0);
        m_Rows.Add(r);
    }
}

void cClassExplorer::Stub::AddRow(int element, cClass* object) {
    if (object->CheckIfElementInvisible(element, object, RowFlags)) return;
    Row* r = new Row;
    r->element = element;
    const char* id = object->GetElementID(element);
    r->name = id ? id : "";
    r->cls = object->GetElementClass(element);
    r->data = object->GetElementPtr(element, object);
    r->extra = object->GetElementExtraPtr(element);
    r->node = object->CheckIfElementIsNode(element, object);
    cOneClassMemberStorage* record = object->GetElementCMS(element);
    r->readOnly = record && record->readOnly;
    if (r->node) r->cls = static_cast<cClass*>(r->data);  // the sub-object itself
    cStr label = GetDisplayName(r->name);
    if (r->node) label += " >";
    r->control = r->cls ? MakeControl(r, label) : nullptr;
    if (!r->control) r->control = new cLabel(m_Panel, nullptr, label, 0, 0, 0);
    m_Rows.Add(r);
}

// The control of a row, chosen by the element class's name; null for a kind without one.
cWnd* cClassExplorer::Stub::MakeControl(Row* r, const char* label) {
    cWnd* p = m_Panel;
    if (r->node) return new cButton(p, label, 0, 0, 0);
    const char* k = r->cls->GetClassName();
    void* d = r->data;
    if (Is(k, "_cButton")) return new cButton(p, label, 0, 0, 0);
    if (Is(k, "_cSeparator")) return new cSeparator(p, label);
    if (Is(k, "_cLabel")) return new cLabel(p, static_cast<const cStr*>(d), label, 0, 0, 0);
    if (!d) return nullptr;
    const int* ri = r->extra ? static_cast<const int*>(r->extra) : DefaultRangeI;
    const float* rf = r->extra ? static_cast<const float*>(r->extra) : DefaultRangeF;
    int* di = static_cast<int*>(d);
    float* df = static_cast<float*>(d);
    if (Is(k, "_cInt")) return new cEdit(p, di, label, 0, 0, 0);
    if (Is(k, "_cFloat")) return new cEdit(p, df, label, 0, 0, 0);
    if (Is(k, "_cStr")) return new cEdit(p, static_cast<cStr*>(d), label, 0, 0, 0);
    if (Is(k, "_cBool")) return new cCheckBox(p, static_cast<bool*>(d), label, 0, 0, 0);
    if (Is(k, "_cBind")) return new cBindButton(p, di, label, 0, 0, 0);
    if (Is(k, "_cSliderI")) return new cSlider(p, di, ri, ri + 1, label, 0, 0, 0);
    if (Is(k, "_cSliderF")) return new cSlider(p, df, rf, rf + 1, label, 0, 0, 0);
    if (Is(k, "_cEditSliderI")) return new cEditSlider(p, di, ri, ri + 1, label);
    if (Is(k, "_cEditSliderF")) return new cEditSlider(p, df, rf, rf + 1, label);
    if (Is(k, "_cSliderRangedI")) return new cSliderRanged(p, di, di + 1, di + 2, label);
    if (Is(k, "_cSliderRangedF")) return new cSliderRanged(p, df, df + 1, df + 2, label);
    if (Is(k, "_cFloat2") || Is(k, "_cFloat3") || Is(k, "_cFloat4"))
        return new cEditVec(k[7] - '0', p, df, label);
    if (Is(k, "_cVec2i") || Is(k, "_cVec3i")) return new cEditVec(k[5] - '0', p, di, label);
    if (Is(k, "_cColor")) return new cColorSwatch(p, df, label, 0, 0, 0);
    if (Is(k, "_cImageID")) return new cImageSwatch(p, di, label, 0, 0, 0);
    static const char* const files[] = {"_cImageFile", "_cModelFile", "_cAnimFile", "_cCameraFile",
                                        "_cBspFile", "_cSoundFile", "_cXmlFile"};
    for (const char* f : files)
        if (Is(k, f)) return new cFilePn(p, static_cast<cStr*>(d), label);
    if (Is(k, "_cIndex")) {
        const cEnum* e = static_cast<const cEnum*>(r->extra);
        cList<cStr> names;
        for (int i = 0; e && i < e->Count(); i++) names.Add(cStr(e->GetNameAt(i)));
        r->index = e ? e->FindValue(*static_cast<unsigned*>(d)) : -1;
        return new cComboBox(p, &r->index, label, names, 0, 0, 0);
    }
    return nullptr;
}

int cClassExplorer::Stub::FindRow(const char* name) const {
    for (int i = 0; i < m_Rows.Count(); i++)
        if (m_Rows[i]->name == name) return i;
    return -1;
}

cWnd* cClassExplorer::Stub::GetRowControl(const char* name) const {
    int i = FindRow(name);
    return i >= 0 ? m_Rows[i]->control : nullptr;
}

cClassExplorer::Stub::Row* cClassExplorer::Stub::RowOf(int id) const {
    cWidget* w = cWidgets::GetWidget(id);
    for (Row* r : m_Rows)
        if (r->control == w) return r;
    return nullptr;
}

// ---- Exchange ----

void cClassExplorer::Stub::DoExchange(bool visibleOnly) {
    cClass* object = GetObject();
    if (!object || !m_IsClassExplorer) return;
    object->OnProcess();
    for (Row* r : m_Rows) {
        if (!r->control) continue;
        if (visibleOnly && cRect::Intersection(r->control->GetRect(), m_ClientRect).IsEmpty()) continue;
        bool enabled = object->IsEnabled(r->name);
        bool readOnly = r->readOnly || object->IsReadOnly(r->name);
        r->control->SetEnabled(enabled);
        ShowRowValues(r, readOnly);
    }
}

// The control shows the bound value again unless it is being edited; a
// read-only value keeps text fields selectable and disables the rest.
void cClassExplorer::Stub::ShowRowValues(Row* r, bool readOnly) {
    cWnd* c = r->control;
    bool busy = false;  // the control or one of its parts holds the capture: mid-edit or mid-drag
    for (cWnd* w = dynamic_cast<cWnd*>(cWidgets::GetWidget(cWidgets::GetCaptureID())); w && !busy; w = w->GetParent())
        busy = w == c;
    auto field = [&](cEdit* e) {
        if (!e) return;
        if (!e->IsEditing()) e->SetBufferFromValue();
        e->SetReadOnly(readOnly);
    };
    switch (c->GetType()) {
    case 5: field(static_cast<cEdit*>(c)); break;
    case 13: {
        cEditVec* v = static_cast<cEditVec*>(c);
        for (int i = 0; i < v->GetCount(); i++) field(v->GetEdit(i));
        break;
    }
    case 6: field(static_cast<cEditSlider*>(c)->GetEdit()); break;
    case 16: field(static_cast<cFilePn*>(c)->GetEdit()); break;
    case 4: {
        const cEnum* e = static_cast<const cEnum*>(r->extra);
        if (e && r->data) r->index = e->FindValue(*static_cast<unsigned*>(r->data));
        if (readOnly) c->SetEnabled(false);
        break;
    }
    default:
        if (readOnly) c->SetEnabled(false);
    }
    if (!busy) Snapshot(r);
}

// ---- Layout ----

void cClassExplorer::Stub::CalcRects() {
    cForm::CalcRects();
    if (!m_Panel || m_ClientRect.IsEmpty()) return;
    float w = m_ClientRect.GetWidth() - ScrollBarRect().GetWidth();
    if (ScrollBarRect().IsEmpty()) w = m_ClientRect.GetWidth();
    const cRect& rel = m_Panel->GetRelRect();
    if (rel.IsValid() && std::fabs(rel.GetWidth() - w) <= 0.001f && rel.x0 == 0 && rel.y0 == 0) return;
    m_Panel->SetRelRect(cRect(0, 0, w, 0));
    CalcScrollRect();
}

namespace {

bool Moved(const cRect& a, const cRect& b) {
    if (a.IsEmpty() != b.IsEmpty()) return true;
    if (a.IsEmpty()) return false;
    return std::fabs(a.x0 - b.x0) > 0.001f || std::fabs(a.y0 - b.y0) > 0.001f || std::fabs(a.x1 - b.x1) > 0.001f ||
           std::fabs(a.y1 - b.y1) > 0.001f;
}

// Recomputes until no child moves by more than 0.001 in one pass.
template <class Calc>
void Settle(cWnd* w, Calc calc) {
    cList<cRect> before;
    for (int pass = 0; pass < 16; pass++) {
        before.Clear();
        for (cWnd* c : w->GetChildren()) before.Add(c->GetRect());
        calc();
        bool moved = false;
        for (int i = 0; i < w->GetChildren().Count() && !moved; i++)
            moved = i >= before.Count() || Moved(before[i], w->GetChildren()[i]->GetRect());
        if (!moved) return;
    }
}

}  // namespace

void cClassExplorer::Stub::AlignControls() {
    Settle(this, [&] { CalcRects(); });
    if (!m_Panel) return;
    cVec2 scroll = m_Panel->GetScrollOffset();
    Settle(m_Panel, [&] { m_Panel->CalcRects(); });
    m_Panel->SetScrollOffset(scroll);
}

// ---- Drawing ----

void cClassExplorer::Stub::OnRender() {
    if (m_IsClassExplorer) {
        DoExchange(true);
        UpdateToolBar();
    }
    cForm::OnRender();
}

void cClassExplorer::Stub::UpdateToolBar() {
    if (!m_Bar) return;
    const Object* o = s_CurObjIndex >= 0 ? &s_Objects[s_CurObjIndex] : nullptr;
    bool value = m_FocusRow >= 0 && m_FocusRow < m_Rows.Count() && !m_Rows[m_FocusRow]->node && m_Rows[m_FocusRow]->data;
    bool list = IsList(), entry = list && FocusElement() >= 0;
    struct { const char* caption; bool on; } states[] = {
        {"Load...", o != nullptr}, {"Save...", o != nullptr},
        {"Back", s_SessionHistoryIndex > 0},
        {"Forward", s_SessionHistoryIndex >= 0 && s_SessionHistoryIndex < s_SessionHistory_ObjIndex.Count() - 1},
        {"Undo", o && o->undoPos > 0}, {"Redo", o && o->undoPos < o->undo.Count()},
        {"Copy", value}, {"Paste", ClipBoardIsCompatible()}, {"Clear", value},
        {"Add", list && !m_ClassNames.IsEmpty()}, {"Class", list},
        {"Move Up", entry && FocusElement() > 0},
        {"Move Down", entry && FocusElement() < GetObject()->GetAmountOfElements() - 1},
        {"Delete", entry},
    };
    for (const auto& s : states)
        if (cWnd* c = GetToolControl(s.caption)) c->SetEnabled(s.on);
}

void cClassExplorer::Stub::FillObjectCombo() {
    if (!m_ObjectBox) return;
    cList<cStr> names;
    m_ObjectComboIndexes.Clear();
    m_ObjectCombo = -1;
    for (int i = 0; i < s_Objects.Count(); i++) {
        if (s_Objects[i].menu || (s_Objects[i].visited && i != s_CurObjIndex)) continue;
        if (i == s_CurObjIndex) m_ObjectCombo = names.Count();
        names.Add(s_Objects[i].name);
        m_ObjectComboIndexes.Add(i);
    }
    m_ObjectBox->SetItems(names);
}

// ---- Messages ----

void cClassExplorer::Stub::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    cWnd* w = static_cast<cWnd*>(cWidgets::GetWidget(id));
    if (!w) return;
    if (w->GetParent() == m_Bar && m_Bar) {
        const cStr& c = w->GetCaption();
        if (w == m_ObjectBox && msg == 3) {
            int i = *static_cast<const int*>(newValue);
            if (i >= 0 && i < m_ObjectComboIndexes.Count()) GoToObject(m_ObjectComboIndexes[i]);
        } else if (msg == 3 && w != m_ClassBox) {
            g_ManipulatorsType = *static_cast<const int*>(newValue) + 1;
        } else if (msg == 2) {
            g_ManipulatorsLocal = m_Local ? cSpace::Local : cSpace::World;
        } else if (msg == 0) {
            if (c == "Load...") LoadFile();
            else if (c == "Save...") SaveFile();
            else if (c == "Back") GoBack();
            else if (c == "Forward") GoForward();
            else if (c == "Undo") UpdateUndoRedo(-1);
            else if (c == "Redo") UpdateUndoRedo(1);
            else if (c == "Copy") Copy();
            else if (c == "Paste") Paste();
            else if (c == "Clear") Clear();
            else if (c == "Add") AddEntry();
            else if (c == "Move Up") MoveEntry(-1);
            else if (c == "Move Down") MoveEntry(1);
            else if (c == "Delete") DeleteEntry();
        }
        return;
    }
    Row* r = RowOf(id);
    if (!r) return;
    FocusRow(m_Rows.IndexOf(r));
    if (!m_IsClassExplorer) {
        if (r->element >= s_Objects.Count()) return;  // the object went since the menu was built
        cClass* object = s_Objects[r->element].object;
        s_MainMenuObjIndex = r->element;
        if (!GetVisible()) ToggleClassExplorer();
        FocusObject(object);
        return;
    }
    if (msg == 0 && r->node) StepInto(m_Rows.IndexOf(r));
    else if (msg == 0 && r->cls && r->cls->CheckIfFunction()) r->cls->call(GetObject(), r->data);
    else Edited(r, msg, oldValue, newValue);
}

void cClassExplorer::Stub::SetFocus(cWnd* wnd) {
    cForm::SetFocus(wnd);
    for (cWnd* w = wnd; w; w = w->GetParent()) {
        if (w->GetParent() != m_Panel || !m_Panel) continue;
        for (int i = 0; i < m_Rows.Count(); i++)
            if (m_Rows[i]->control == w) m_FocusRow = i;
        return;
    }
}

void cClassExplorer::Stub::FocusRow(int row) {
    m_FocusRow = row >= 0 && row < m_Rows.Count() ? row : -1;
    cForm::SetFocus(m_FocusRow >= 0 ? m_Rows[m_FocusRow]->control : nullptr);
}

int cClassExplorer::Stub::FocusElement() const {
    return m_FocusRow >= 0 && m_FocusRow < m_Rows.Count() ? m_Rows[m_FocusRow]->element : -1;
}

void cClassExplorer::Stub::StoreFocus() {
    if (s_CurObjIndex < 0 || s_CurObjIndex >= s_Objects.Count()) return;
    s_Objects[s_CurObjIndex].focusRow = m_FocusRow;
    s_Objects[s_CurObjIndex].scroll = GetScrollOffset();
}

void cClassExplorer::Stub::RestoreFocus() {
    if (s_CurObjIndex < 0 || s_CurObjIndex >= s_Objects.Count()) return;
    FocusRow(s_Objects[s_CurObjIndex].focusRow);
    SetScrollOffset(s_Objects[s_CurObjIndex].scroll);
}

void cClassExplorer::Stub::RefreshFocus() {
    if (m_FocusRow >= m_Rows.Count()) FocusRow(-1);
    else FocusRow(m_FocusRow);
}

}  // namespace zozud
