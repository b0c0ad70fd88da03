// cClassExplorer::Stub: the class explorer's window (true) or the main menu
// (false), a form kept in widget layer 3. It holds the tool bar, one
// generated row per editable element of the current object, the focused
// row, and works the undo list, clipboard, history, list entries and files
// of cClassExplorer on that object.
// Surprises: toolkit thread only, no locks. Rows of a replaced panel live on
// until the next replacement, as their controls may still be reporting.
#pragma once

#include "zozud/view/ClassExplorer.h"
#include "zozud/widgets/Form.h"

namespace zozud {

class cComboBox;
class cPanel;
class cToolBar;

class cClassExplorer::Stub : public cForm {
public:
    // One generated row.
    struct Row {
        int     element = -1;         // element index in the object
        cStr    name;                 // element name
        cClass* cls = nullptr;        // element class (for a node: the sub-object)
        void*   data = nullptr;
        void*   extra = nullptr;
        bool    node = false;         // a button that steps into the sub-object
        bool    readOnly = false;     // registered read-only
        cWnd*   control = nullptr;
        int     index = 0;            // combo box position of an enumeration value
        unsigned before[4] = {};      // the values last seen (bits of ints, floats or a bool)
        cStr    beforeStr;
    };

    explicit Stub(bool classExplorer);
    ~Stub() override;

    void OnRender() override;
    void CalcRects() override;
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;
    void SetFocus(cWnd* wnd) override;

    bool IsClassExplorer() const { return m_IsClassExplorer; }
    cClass* GetObject() const;    // the current object, null for none
    const cList<Row*>& GetRows() const { return m_Rows; }
    int  FindRow(const char* name) const;  // row index of the element, -1 when none
    cWnd* GetRowControl(const char* name) const;
    cPanel* GetPanel() const { return m_Panel; }
    cToolBar* GetToolBar() const { return m_Bar; }
    cWnd* GetToolControl(const char* caption) const;  // tool bar child by caption

    // ---- Controls ----
    void CreateControls();
    void ReCreateControls(int objIndex);
    void AlignControls();
    // OnProcess, then enabled and read-only states and shown values; each
    // frame only of the rows in view (the others follow when they come into view).
    void DoExchange(bool visibleOnly = false);

    // ---- Focus ----
    int  GetFocusRow() const { return m_FocusRow; }
    void FocusRow(int row);
    void StoreFocus();
    void RestoreFocus();
    void RefreshFocus();

    // ---- Navigation ----
    void GoToObject(int objIndex);
    bool GoBack();
    bool GoForward();
    void ClearForwardSessionHistory();
    void ApplyCurIndex();
    void StepInto(int row);

    // ---- Undo ----
    void AddUndoRedoNode(UndoRedoNode& node);
    bool UpdateUndoRedo(int direction);  // -1 undo, 1 redo; false with nothing to do
    void ClearUndoRedo();

    // ---- Clipboard ----
    bool Copy();
    bool Paste();
    bool ClipBoardIsCompatible();
    void Clear();  // the focused value to its default

    // ---- Lists ----
    bool IsList() const;
    void FillClassCombo();
    bool AddEntry();  // of the class chosen in the "Class" box
    bool MoveEntry(int step);
    bool DeleteEntry();

    // ---- Files ----
    bool LoadFile();
    bool SaveFile();

private:
    void BuildToolBar();
    void BuildMenu();
    void AddRow(int element, cClass* object);
    cWnd* MakeControl(Row* row, const char* label);
    void FreeRows();
    Row* RowOf(int id) const;
    void Edited(Row* row, int msg, const void* oldValue, const void* newValue);
    void RecordChanges(Row* row);  // controls over several values: each changed one
    void Snapshot(Row* row);
    void AfterEdit(Row* row);
    void UpdateToolBar();
    void FillObjectCombo();
    int  FocusElement() const;  // element index of the focused row, -1 for none
    void ShowRowValues(Row* row, bool readOnly);

    bool        m_IsClassExplorer;
    cToolBar*   m_Bar = nullptr;
    cPanel*     m_Panel = nullptr;
    cList<Row*> m_Rows;
    cList<Row*> m_OldRows;   // rows of the last panel, kept until its controls are gone
    int         m_FocusRow = -1;
    int         m_ObjectCombo = 0;
    cList<int>  m_ObjectComboIndexes;  // object index of each "Object" item
    int         m_ClassCombo = 0;
    cList<cStr> m_ClassNames;
    cComboBox*  m_ObjectBox = nullptr;
    cComboBox*  m_ClassBox = nullptr;
    int         m_ManipulatorType = 0;  // the combo's position, 0..3 for types 1..4
    bool        m_Local = false;        // the "Local" box over g_ManipulatorsLocal
};

}  // namespace zozud
