// cClassExplorer: the property panel generated at run time from any
// registered object. Each editable element becomes one row: a control picked
// by the element's wrapper class name, or a button that steps into a
// sub-object. The panel edits values, steps in and back, adds, moves and
// deletes list entries, copies and pastes values through an XML clipboard,
// undoes and redoes edits per object, and loads and saves the object as XML.
// The same window class, built with false, is the application's main menu.
// Init registers every member wrapper class, so wrappers exist before any
// class registers a member; it runs once and is cheap to call again. The
// class registry runs it through its seam (cClass_SetRegisterWrappers).
// Surprises: toolkit thread only, no locks. Objects are registered by
// pointer: the caller keeps them alive while they are registered. The
// window statics (placement, history) outlive the window within a run.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Vec2.h"
#include "zozud/reflect/Class.h"
#include "zozud/math/Rect.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

class cTheme;

// The clipboard of copied values: one node whose name tells the kind of value.
extern cXml cClassExplorer_ClipBoard;

class cClassExplorer {
public:
    // One edit, old and new value, with the address it applies to; exactly
    // one kind is set.
    struct UndoRedoNode {
        enum Kind { NoValue, BoolValue, IntValue, FloatValue, StrValue };
        Kind  kind = NoValue;
        void* address = nullptr;
        bool  oldBool = false, newBool = false;
        int   oldInt = 0, newInt = 0;
        float oldFloat = 0, newFloat = 0;
        cStr  oldStr, newStr;

        static UndoRedoNode OfBool(bool* at, bool before, bool after);
        static UndoRedoNode OfInt(int* at, int before, int after);
        static UndoRedoNode OfFloat(float* at, float before, float after);
        static UndoRedoNode OfStr(cStr* at, const cStr& before, const cStr& after);
        void Do(int direction) const;  // -1 writes the old value back, any other the new one
    };

    // A registered object: its name, where it is loaded from and saved to,
    // its own undo list and the view state the panel remembers for it.
    struct Object {
        cStr    name;
        cClass* object = nullptr;
        cStr    file;
        bool    xml = false;      // the file's extension is "Xml" (any case): Save... writes it
        bool    menu = false;     // listed by the main menu
        bool    visited = false;  // a sub-object reached by stepping in, not listed in the "Object" box
        cVec2   scroll = cVec2(0, 0);
        int     focusRow = -1;
        cList<UndoRedoNode> undo;
        int     undoPos = 0;      // nodes before it are done
    };

    class Stub;  // the window (ClassExplorerStub.h)

    static void Init();

    // ---- Registered objects ----
    static cList<Object> s_Objects;
    static int  AddObject(const char* name, cClass* object, const char* file);      // its index
    static int  AddMenuObject(const char* name, cClass* object, const char* file);
    static void FocusObject(cClass* object);  // shows it in the open panel (registers it when new)
    static bool ReloadObject(cClass* object, const char* file);  // false when it cannot be read
    static int  FindObject(const cClass* object);  // index, -1 when not registered
    static void RemoveObject(const cClass* object);  // the object and the sub-objects reached through it
    static void ClearObjects();  // every record, the history and the current index

    // ---- Windows ----
    static void ToggleClassExplorer();
    static void ToggleMainMenu();
    static void ReCreateControls();  // of the open class explorer
    static bool GetVisible();        // the class explorer is open
    static Stub* GetClassExplorer(); // null when closed
    static Stub* GetMainMenu();
    static const cTheme* s_Theme;    // the windows' theme; null: cTheme::Ziduruz
    // Where windows are placed: the current viewer's viewport, else this.
    static cRect s_ViewArea;
    static cRect GetViewArea();

    // ---- Window statics: -1 ids when closed; alignments -1 until placed ----
    static int   s_ClassExplorerID, s_MainMenuID;
    static bool  s_ClassExplorerIsMaximized, s_MainMenuIsMaximized;
    static int   s_ClassExplorerNormalStateAlignTl, s_ClassExplorerNormalStateAlignBr;
    static cVec2 s_ClassExplorerNormalStateRelPosTl, s_ClassExplorerNormalStateRelPosBr;
    static int   s_MainMenuNormalStateAlignTl, s_MainMenuNormalStateAlignBr;
    static cVec2 s_MainMenuNormalStateRelPosTl, s_MainMenuNormalStateRelPosBr;
    static int   s_ClassExplorerMinStateAlign, s_MainMenuMinStateAlign;
    static cVec2 s_ClassExplorerMinStateRelPos, s_MainMenuMinStateRelPos;
    static float s_ClassExplorerToolBarScrollPos;
    static int   s_MainMenuObjIndex;
    static int   s_CurObjIndex;  // the object the class explorer shows, -1 for none
    static cList<int> s_SessionHistory_ObjIndex;
    static int   s_SessionHistoryIndex;  // -1 when empty
    // Alignment bits: x measured from the area's right edge (else its left),
    // y from its top (else its bottom); y points up.
    enum Align { AlignRight = 1, AlignTop = 2 };
    static cVec2 Anchor(int align, const cVec2& relPos);  // the screen point
    static cVec2 RelPos(int align, const cVec2& point);    // its inverse

    // ---- Texts ----
    static cStr GetDisplayName(const char* name);
    // The kind of value a clipboard node of this element holds.
    static cStr GetClipBoardName(cClass* elementClass, void* extra);

    // ---- File dialogs, lent by the platform shell ----
    // Each shows a dialog titled title for XML files at *file; true with *file set when one was chosen.
    struct FileDialogHooks {
        bool (*load)(const char* title, cStr* file) = nullptr;
        bool (*save)(const char* title, cStr* file) = nullptr;
    };
    static void SetFileDialogHooks(const FileDialogHooks& hooks) { s_Dialogs = hooks; }
    static FileDialogHooks s_Dialogs;
};

}  // namespace zozud
