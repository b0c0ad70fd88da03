// cWnd: the window/control base on which forms, panels and every control
// rest: rectangles, children, tool bar, tab stops, enabled/visible flags
// inherited from the ancestors, scrolling, and focus held by the top-level
// form. cWnd::AddChild registers each child as a widget of its own in the
// layer of its top-level window, so controls get input straight from the
// registry, the ones added later in front.
// Coordinates: screen rectangles have y up. A child's relative rectangle is
// measured from its parent's client area top-left corner with y DOWN (x0, y0
// top-left, x1, y1 bottom-right), before the parent's scroll offset.
// Surprises: toolkit thread only, no locks. Children are owned by the
// registry, not by their parent: deleting a window orphans its children,
// which then report IsDead and go at the registry's next FreeDead.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Rect.h"
#include "zozud/render/Theme.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

class cForm;

class cWnd : public cWidget {
public:
    // The parts of a window the mouse can be over.
    struct Part {
        enum Enum {
            None = 0, Client, Caption,
            SizeLeft, SizeRight, SizeTop, SizeBottom,
            SizeTopLeft, SizeTopRight, SizeBottomLeft, SizeBottomRight, SizeGrip,
            MinimizeButton, MaximizeButton,
            ScrollBar, ScrollThumb, MiddleScroll,
        };
    };

    // Registers with parent->AddChild when parent is not null.
    explicit cWnd(cWnd* parent = nullptr, const char* caption = nullptr, bool visible = true, bool enabled = true);
    ~cWnd() override;

    // ---- cWidget ----
    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnMouseMove() override;
    bool IsDead() override;
    bool IsHot(bool hotFound) override;
    bool OnSetCursor(cInput::Cursor::Enum* cursor) override;
    void OnBringToFront() override;

    // ---- Window operations ----
    virtual int   GetType() const { return 0; }
    virtual void  MsgProc(int id, int msg, const void* oldValue, const void* newValue);
    virtual void  Activate();
    virtual bool  IsActive();
    virtual int   GetFormState();
    virtual float GetCurActivity();
    virtual float GetCurAlpha();
    virtual cRect GetRelBounds();  // the relative rectangle the window wants
    virtual bool  HasFocus(cWnd* wnd);
    virtual bool  HasFocusNoEnabled(cWnd* wnd);
    virtual void  SetFocus(cWnd* wnd);
    virtual void  ClearFocus(cWnd* wnd);
    virtual float GetWithinToolBarWidth() { return 0; }
    virtual void  CalcRects();      // own rectangles from the parent's, then the children's
    virtual void  CalcRelBounds() {}
    virtual void  OnTabStop() {}    // the focus arrived by Tab
    virtual bool  GetTabStop() const { return m_TabStop; }
    virtual void  SetTabStop(bool on) { m_TabStop = on; }
    virtual void  GoTab(bool forward);
    virtual int   GetMouseOver();   // Part::Enum under the mouse
    virtual float GetArrowScrollSpeed();
    virtual float GetWheelScrollSpeed();

    // ---- Tree ----
    void AddChild(cWnd* child);
    cWnd* GetParent() const { return m_Parent; }
    const cList<cWnd*>& GetChildren() const { return m_Children; }
    void SetToolBar(cWnd* toolBar);  // a child shown as the window's tool bar
    cWnd* GetToolBar() const { return m_ToolBar; }
    cWnd* GetTopLevelParent();  // the outermost ancestor (itself without parent)
    int   GetLevel() const;     // depth below the top-level window
    const cTheme* GetTheme();   // the top-level form's

    // ---- Flags: true only when this window and every ancestor are ----
    bool IsVisible() const;
    bool IsEnabled() const;
    void SetVisible(bool on) { m_Visible = on; }
    void SetEnabled(bool on) { m_Enabled = on; }
    const cStr& GetCaption() const { return m_Caption; }
    void SetCaption(const char* caption) { m_Caption = caption ? caption : ""; }

    // ---- Rectangles ----
    const cRect& GetRect() const { return m_Rect; }
    const cRect& GetClientRect() const { return m_ClientRect; }
    const cRect& GetRelRect() const { return m_RelRect; }
    void SetRelRect(const cRect& rel);
    cRect GetClipRect() const;
    // Screen rectangle of a relative one inside this window's client area.
    cRect ToScreen(const cRect& rel) const;  // the rectangle, cut by every ancestor's client area

    // ---- Scrolling ----
    const cVec2& GetScrollOffset() const { return m_ScrollOffset; }
    void  SetScrollOffset(const cVec2& offset);  // restricted to the scroll rectangle
    const cRect& GetScrollRect() const { return m_ScrollRect; }  // children's extent, relative
    void  RestrictRelClientToScrollRect();
    bool  CanScroll() const;  // the children reach below the client area
    void  ScrollIntoView(cWnd* descendant);

    // ---- Dragging ----
    bool IsSizingBorderDrag() const;
    bool IsScrollBarDrag() const { return m_DragPart == Part::ScrollThumb || m_DragPart == Part::ScrollBar; }
    bool IsWndPartDrag() const { return m_DragPart != Part::None; }
    int  GetDragPart() const { return m_DragPart; }
    int  GetMouseOverPart() const { return m_MouseOver; }

protected:
    cWnd* Forward();  // the top-level window that answers for this one; null when this is it
    cRect ScrollBarRect() const;      // empty when the window does not scroll
    cRect ScrollThumbRect() const;
    bool  ClientHidden() const { return m_ClientHidden; }
    virtual void OnDragMove(const cVec2& delta) { (void)delta; }  // a part drag the window handles itself
    void CalcScrollRect();
    void StartDrag(int part);  // captures; OnMouseMove follows the part

    cWnd* m_Parent = nullptr;
    cList<cWnd*> m_Children;
    cWnd* m_ToolBar = nullptr;
    cStr  m_Caption;
    const cTheme* m_Theme = nullptr;    // set by forms; the others use their top-level window's
    cRect m_Rect = cRect::Empty;        // outer, screen
    cRect m_ClientRect = cRect::Empty;  // screen
    cRect m_RelRect = cRect::Empty;     // in the parent's client area
    cRect m_ScrollRect = cRect::Empty;  // extent of the children, relative
    cVec2 m_ScrollOffset = cVec2(0, 0);
    bool  m_Visible = true, m_Enabled = true, m_TabStop = false;
    bool  m_ClientHidden = false;  // minimised or folded: the children are not shown
    bool  m_Orphaned = false;      // its parent went first
    int   m_MouseOver = Part::None;
    int   m_DragPart = Part::None;
    cVec2 m_DragStartMouse = cVec2(0, 0);
    cVec2 m_DragStartScroll = cVec2(0, 0);
    cRect m_DragStartRect = cRect::Empty;
};

}  // namespace zozud
