// cClassExplorer::Stub: what the panel does to the object: edits recorded for
// undo and redo, the XML clipboard, the visit history, list entries and files.
#include <cstring>

#include "zozud/io/IO.h"
#include "zozud/reflect/Enum.h"
#include "zozud/reflect/ErrorPager.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/widgets/ComboBox.h"

namespace zozud {

namespace {

// The kind and number of the values an element's wrapper holds.
struct Shape {
    cClassExplorer::UndoRedoNode::Kind kind;
    int count;
};

Shape ShapeOf(cClass* cls) {
    typedef cClassExplorer::UndoRedoNode N;
    const char* k = cls ? cls->GetClassName() : nullptr;
    if (!k) return {N::NoValue, 0};
    struct Entry { const char* name; N::Kind kind; int count; };
    static const Entry table[] = {
        {"_cBool", N::BoolValue, 1},       {"_cInt", N::IntValue, 1},          {"_cSliderI", N::IntValue, 1},
        {"_cEditSliderI", N::IntValue, 1}, {"_cBind", N::IntValue, 1},         {"_cIndex", N::IntValue, 1},
        {"_cFloat", N::FloatValue, 1},     {"_cSliderF", N::FloatValue, 1},    {"_cEditSliderF", N::FloatValue, 1},
        {"_cFloat2", N::FloatValue, 2},    {"_cFloat3", N::FloatValue, 3},     {"_cFloat4", N::FloatValue, 4},
        {"_cColor", N::FloatValue, 4},     {"_cSliderRangedF", N::FloatValue, 3}, {"_cVec2i", N::IntValue, 2},
        {"_cVec3i", N::IntValue, 3},       {"_cSliderRangedI", N::IntValue, 3}, {"_cStr", N::StrValue, 1},
        {"_cImageFile", N::StrValue, 1},   {"_cSoundFile", N::StrValue, 1},    {"_cModelFile", N::StrValue, 1},
        {"_cAnimFile", N::StrValue, 1},    {"_cCameraFile", N::StrValue, 1},   {"_cBspFile", N::StrValue, 1},
        {"_cXmlFile", N::StrValue, 1},
    };
    for (const Entry& e : table)
        if (std::strcmp(e.name, k) == 0) return {e.kind, e.count};
    return {N::NoValue, 0};
}

bool IsListClass(cClass* object) {
    const char* n = object ? object->GetClassName() : nullptr;
    return n && (std::strncmp(n, "cClassList.", 11) == 0 || std::strncmp(n, "cClassPtr.", 10) == 0);
}

}  // namespace

// ---- Undo nodes ----

typedef cClassExplorer::UndoRedoNode UndoNode;

UndoNode UndoNode::OfBool(bool* at, bool before, bool after) {
    UndoNode n;
    n.kind = BoolValue, n.address = at, n.oldBool = before, n.newBool = after;
    return n;
}

UndoNode UndoNode::OfInt(int* at, int before, int after) {
    UndoNode n;
    n.kind = IntValue, n.address = at, n.oldInt = before, n.newInt = after;
    return n;
}

UndoNode UndoNode::OfFloat(float* at, float before, float after) {
    UndoNode n;
    n.kind = FloatValue, n.address = at, n.oldFloat = before, n.newFloat = after;
    return n;
}

UndoNode UndoNode::OfStr(cStr* at, const cStr& before, const cStr& after) {
    UndoNode n;
    n.kind = StrValue, n.address = at, n.oldStr = before, n.newStr = after;
    return n;
}

void UndoNode::Do(int direction) const {
    bool back = direction == -1;
    switch (kind) {
    case BoolValue: *static_cast<bool*>(address) = back ? oldBool : newBool; break;
    case IntValue: *static_cast<int*>(address) = back ? oldInt : newInt; break;
    case FloatValue: *static_cast<float*>(address) = back ? oldFloat : newFloat; break;
    case StrValue: *static_cast<cStr*>(address) = back ? oldStr : newStr; break;
    case NoValue: break;
    }
}

// ---- Edits ----

void cClassExplorer::Stub::Snapshot(Row* r) {
    Shape s = ShapeOf(r->cls);
    if (!r->data || r->node) return;
    if (s.kind == UndoNode::BoolValue) r->before[0] = *static_cast<bool*>(r->data);
    else if (s.kind == UndoNode::StrValue) r->beforeStr = *static_cast<cStr*>(r->data);
    else if (s.count > 0) std::memcpy(r->before, r->data, sizeof(unsigned) * s.count);
}

// Records a node for every value of the row that differs from its snapshot.
void cClassExplorer::Stub::RecordChanges(Row* r) {
    Shape s = ShapeOf(r->cls);
    if (!r->data || r->node) return;
    UndoNode n;
    if (s.kind == UndoNode::BoolValue) {
        bool* b = static_cast<bool*>(r->data);
        if (*b != (r->before[0] != 0)) AddUndoRedoNode(n = UndoNode::OfBool(b, !*b, *b));
    } else if (s.kind == UndoNode::StrValue) {
        cStr* t = static_cast<cStr*>(r->data);
        if (!(*t == r->beforeStr)) AddUndoRedoNode(n = UndoNode::OfStr(t, r->beforeStr, *t));
    } else {
        for (int i = 0; i < s.count; i++) {
            unsigned* at = static_cast<unsigned*>(r->data) + i;
            if (*at == r->before[i]) continue;
            if (s.kind == UndoNode::IntValue) {
                int before;
                std::memcpy(&before, &r->before[i], sizeof before);
                AddUndoRedoNode(n = UndoNode::OfInt(reinterpret_cast<int*>(at), before, *reinterpret_cast<int*>(at)));
            } else {
                float before;
                std::memcpy(&before, &r->before[i], sizeof before);
                AddUndoRedoNode(n = UndoNode::OfFloat(reinterpret_cast<float*>(at), before, *reinterpret_cast<float*>(at)));
            }
        }
    }
}

// A control's change message: single values carry their old and new value;
// an enumeration box reports positions, turned here into the values; rows
// over several values are compared with what they showed before.
void cClassExplorer::Stub::Edited(Row* r, int msg, const void* oldValue, const void* newValue) {
    Shape s = ShapeOf(r->cls);
    UndoNode n;
    if (!r->data || s.kind == UndoNode::NoValue) return;
    if (msg == 3) {
        const cEnum* e = static_cast<const cEnum*>(r->extra);
        int at = *static_cast<const int*>(newValue);
        if (!e || at < 0 || at >= e->Count()) return;
        unsigned* v = static_cast<unsigned*>(r->data);
        int before = (int)*v;
        *v = e->GetValue(at);
        if ((int)*v != before) AddUndoRedoNode(n = UndoNode::OfInt(reinterpret_cast<int*>(v), before, (int)*v));
    } else if (s.count > 1 || !oldValue || !newValue || msg == 2) {
        RecordChanges(r);
    } else if (msg == 8) {
        cStr* t = static_cast<cStr*>(r->data);
        AddUndoRedoNode(n = UndoNode::OfStr(t, *static_cast<const cStr*>(oldValue), *t));
    } else if (msg == 1 || msg == 4 || msg == 6) {
        int* v = static_cast<int*>(r->data);
        AddUndoRedoNode(n = UndoNode::OfInt(v, *static_cast<const int*>(oldValue), *v));
    } else if (msg == 5 || msg == 7) {
        float* v = static_cast<float*>(r->data);
        AddUndoRedoNode(n = UndoNode::OfFloat(v, *static_cast<const float*>(oldValue), *v));
    }
    AfterEdit(r);
}

// The value reaches a property's setter, the object hears of the change, and
// the panel shows what the object made of it.
void cClassExplorer::Stub::AfterEdit(Row* r) {
    cClass* object = GetObject();
    if (object) {
        cClass_AcceptAfterWrite(object->GetElementCMS(r->element), object, r->data);
        object->OnChangeMember(r->cls, r->data, r->extra, r->name);
    }
    DoExchange();
}

void cClassExplorer::Stub::AddUndoRedoNode(UndoRedoNode& node) {
    if (s_CurObjIndex < 0 || node.kind == UndoNode::NoValue) return;
    Object& o = s_Objects[s_CurObjIndex];
    if (o.undoPos < o.undo.Count()) o.undo.RemoveAt(o.undoPos, o.undo.Count() - o.undoPos);
    o.undo.Add(node);
    o.undoPos = o.undo.Count();
}

bool cClassExplorer::Stub::UpdateUndoRedo(int direction) {
    if (s_CurObjIndex < 0) return false;
    Object& o = s_Objects[s_CurObjIndex];
    const UndoNode* n;
    if (direction < 0) {
        if (o.undoPos <= 0) return false;
        n = &o.undo[--o.undoPos];
        n->Do(-1);
    } else {
        if (o.undoPos >= o.undo.Count()) return false;
        n = &o.undo[o.undoPos++];
        n->Do(1);
    }
    for (Row* r : m_Rows) {
        Shape s = ShapeOf(r->cls);
        const char* begin = static_cast<const char*>(r->data);
        const char* at = static_cast<const char*>(n->address);
        if (r->data && at >= begin && at < begin + (s.kind == UndoNode::StrValue ? (int)sizeof(cStr) : 4 * s.count)) {
            AfterEdit(r);
            return true;
        }
    }
    DoExchange();
    return true;
}

void cClassExplorer::Stub::ClearUndoRedo() {
    if (s_CurObjIndex < 0) return;
    s_Objects[s_CurObjIndex].undo.Clear();
    s_Objects[s_CurObjIndex].undoPos = 0;
}

// ---- Clipboard ----

bool cClassExplorer::Stub::Copy() {
    if (m_FocusRow < 0) return false;
    Row* r = m_Rows[m_FocusRow];
    if (r->node || !r->data || !r->cls || r->cls->CheckIfFunction()) return false;
    cClassExplorer_ClipBoard.ClearAll();
    cClassExplorer_ClipBoard.SetQuoteName(GetClipBoardName(r->cls, r->extra));
    return r->cls->Save(cClassExplorer_ClipBoard, r->data, r->extra);
}

bool cClassExplorer::Stub::ClipBoardIsCompatible() {
    if (m_FocusRow < 0 || m_FocusRow >= m_Rows.Count()) return false;
    Row* r = m_Rows[m_FocusRow];
    const cStr& name = cClassExplorer_ClipBoard.GetQuoteName();
    return !r->node && r->data && r->cls && name.Length() > 0 && name == GetClipBoardName(r->cls, r->extra);
}

bool cClassExplorer::Stub::Paste() {
    if (!ClipBoardIsCompatible()) return false;
    Row* r = m_Rows[m_FocusRow];
    Snapshot(r);
    cErrorPager pager(false);
    bool ok = r->cls->Load(cClassExplorer_ClipBoard, r->data, &pager, r->extra);
    RecordChanges(r);
    AfterEdit(r);
    return ok;
}

void cClassExplorer::Stub::Clear() {
    if (m_FocusRow < 0) return;
    Row* r = m_Rows[m_FocusRow];
    if (r->node || !r->data || !r->cls || r->cls->CheckIfFunction()) return;
    Snapshot(r);
    r->cls->CallCtor(r->data);
    RecordChanges(r);
    AfterEdit(r);
}

// ---- Navigation ----

void cClassExplorer::Stub::ClearForwardSessionHistory() {
    int keep = s_SessionHistoryIndex + 1;
    if (keep < s_SessionHistory_ObjIndex.Count())
        s_SessionHistory_ObjIndex.RemoveAt(keep, s_SessionHistory_ObjIndex.Count() - keep);
}

void cClassExplorer::Stub::GoToObject(int objIndex) {
    if (objIndex < 0 || objIndex >= s_Objects.Count()) return;
    StoreFocus();
    ClearForwardSessionHistory();
    s_SessionHistory_ObjIndex.Add(objIndex);
    s_SessionHistoryIndex = s_SessionHistory_ObjIndex.Count() - 1;
    ReCreateControls(objIndex);
}

bool cClassExplorer::Stub::GoBack() {
    if (s_SessionHistoryIndex <= 0 || s_SessionHistory_ObjIndex.IsEmpty()) return false;
    StoreFocus();
    s_SessionHistoryIndex--;
    ApplyCurIndex();
    return true;
}

bool cClassExplorer::Stub::GoForward() {
    if (s_SessionHistoryIndex < 0 || s_SessionHistoryIndex >= s_SessionHistory_ObjIndex.Count() - 1) return false;
    StoreFocus();
    s_SessionHistoryIndex++;
    ApplyCurIndex();
    return true;
}

void cClassExplorer::Stub::ApplyCurIndex() {
    if (s_SessionHistoryIndex < 0 || s_SessionHistoryIndex >= s_SessionHistory_ObjIndex.Count()) return;
    ReCreateControls(s_SessionHistory_ObjIndex[s_SessionHistoryIndex]);
}

// The sub-object gets a record of its own (once), named after the path to it.
void cClassExplorer::Stub::StepInto(int row) {
    if (row < 0 || row >= m_Rows.Count() || !m_Rows[row]->node || s_CurObjIndex < 0) return;
    cClass* sub = m_Rows[row]->cls;
    int i = FindObject(sub);
    if (i < 0) {
        Object record;
        record.name = s_Objects[s_CurObjIndex].name + "." + m_Rows[row]->name;
        record.object = sub;
        record.visited = true;
        i = s_Objects.Add(static_cast<Object&&>(record));
    }
    GoToObject(i);
}

// ---- Lists ----

bool cClassExplorer::Stub::IsList() const { return IsListClass(GetObject()); }

void cClassExplorer::Stub::FillClassCombo() {
    if (!m_ClassBox) return;
    m_ClassNames.Clear();
    cList<cStr> items;
    cClass* object = GetObject();
    if (IsList()) {
        cClassExpParams params;
        object->GetEditableElementExpansionList(params, 0, object, cClass::EditableProperties | cClass::EditableNodes, object,
                                                object->GetExpansionBaseClass());
        m_ClassNames = params.classes;
        for (int i = 0; i < params.classes.Count(); i++) {
            bool text = i < params.texts.Count() && params.texts[i].Length() > 0;
            items.Add(text ? params.texts[i] : params.classes[i]);
        }
    }
    if (m_ClassCombo < 0 || m_ClassCombo >= items.Count()) m_ClassCombo = items.IsEmpty() ? -1 : 0;
    m_ClassBox->SetItems(items);
}

bool cClassExplorer::Stub::AddEntry() {
    cClass* object = GetObject();
    if (!IsList() || m_ClassCombo < 0 || m_ClassCombo >= m_ClassNames.Count()) return false;
    int at = object->ExpandWith(m_ClassNames[m_ClassCombo], object);
    if (at < 0) return false;
    ReCreateControls(s_CurObjIndex);
    for (int i = 0; i < m_Rows.Count(); i++)
        if (m_Rows[i]->element == at) FocusRow(i);
    return true;
}

bool cClassExplorer::Stub::MoveEntry(int step) {
    cClass* object = GetObject();
    int from = FocusElement(), to = from + step;
    if (!IsList() || from < 0 || to < 0 || to >= object->GetAmountOfElements()) return false;
    if (!object->MoveElement(from, (char)step)) return false;
    ReCreateControls(s_CurObjIndex);
    for (int i = 0; i < m_Rows.Count(); i++)
        if (m_Rows[i]->element == to) FocusRow(i);
    return true;
}

bool cClassExplorer::Stub::DeleteEntry() {
    cClass* object = GetObject();
    int at = FocusElement(), row = m_FocusRow;
    if (!IsList() || at < 0) return false;
    if (cClass* entry = object->GetElementClass(at)) RemoveObject(entry);  // records of what goes with it
    object->RemoveAt(at, 1);
    ReCreateControls(s_CurObjIndex);
    FocusRow(row < m_Rows.Count() ? row : m_Rows.Count() - 1);
    return true;
}

// ---- Files ----

namespace {

// Drops the records of everything inside the object (its own stays).
void DropInner(cClass* object) {
    for (int i = cClassExplorer::s_Objects.Count() - 1; i >= 0; i--) {
        cClass* o = cClassExplorer::s_Objects[i].object;
        if (o == object) continue;
        for (cClass* c = o ? o->GetParent() : nullptr; c; c = c->GetParent())
            if (c == object) {
                cClassExplorer::RemoveObject(o);
                break;
            }
    }
}

// The dialog's starting file: the object's own, else the last folder and file chosen.
cStr StartFile(const cClassExplorer::Object& o) {
    if (o.file.Length() > 0) return o.file;
    return cIO::GetXmlDialogInitialPath() + cIO::GetXmlDialogInitialFile();
}

void RememberChoice(const cStr& file) {
    cIO::SetXmlDialogInitialPath(file.GetFilePath());
    cIO::SetXmlDialogInitialFile(file.GetFileName());
}

}  // namespace

bool cClassExplorer::Stub::LoadFile() {
    cClass* object = GetObject();
    if (!object || !s_Dialogs.load) return false;
    cStr file = StartFile(s_Objects[s_CurObjIndex]);
    if (!s_Dialogs.load("Load...", &file)) return false;
    RememberChoice(file);
    DropInner(object);
    int at = FindObject(object);
    bool ok = object->ReadFromFile(file);
    if (ok) {
        s_Objects[at].file = file;
        s_Objects[at].xml = true;
    }
    s_CurObjIndex = at;
    ClearUndoRedo();
    ReCreateControls(at);
    return ok;
}

bool cClassExplorer::Stub::SaveFile() {
    cClass* object = GetObject();
    if (!object || !s_Dialogs.save) return false;
    cStr file = StartFile(s_Objects[s_CurObjIndex]);
    if (!s_Dialogs.save("Save...", &file)) return false;
    RememberChoice(file);
    if (!object->WriteToFile(file)) return false;
    s_Objects[s_CurObjIndex].file = file;
    s_Objects[s_CurObjIndex].xml = true;
    return true;
}

}  // namespace zozud
