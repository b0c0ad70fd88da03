// cForm: a top-level window with a caption, movable by it, sized by its
// borders and size grip, minimised and maximised by the caption's buttons.
// It holds the keyboard focus and the tab order of its controls and the
// theme they all paint with. The creator registers it with
// cWidgets::AddWidget in the layer of its choice; its controls join that
// layer. Close() marks it dead; the registry frees it at the next frame.
// cPanel: a framed group of child controls stacked top down; clicking its
// caption folds and unfolds it.
// Surprises: toolkit thread only, no locks. cForm::s_Forms lists the forms
// without parent, the most recently activated last (the active one).
#pragma once

#include "zozud/widgets/Wnd.h"

namespace zozud {

class cForm : public cWnd {
public:
    struct State {
        enum Enum { Minimized = 0, Maximized = 1, Normal = 2 };
    };

    cForm(cWnd* parent, const char* caption, const cRect& rect, const cTheme* theme);
    ~cForm() override;

    bool  OnButtonDown(int button) override;
    bool  OnButtonUp(int button) override;
    bool  OnMouseMove() override;
    bool  OnChar(int ch, int key) override;
    void  OnRender() override;
    bool  IsDead() override { return m_Closed || cWnd::IsDead(); }
    bool  OnSetCursor(cInput::Cursor::Enum* cursor) override;
    int   GetType() const override { return 7; }
    void  Activate() override;
    bool  IsActive() override;
    int   GetFormState() override { return m_State; }
    float GetCurActivity() override { return m_Activity; }
    float GetCurAlpha() override;
    bool  HasFocus(cWnd* wnd) override;
    bool  HasFocusNoEnabled(cWnd* wnd) override;
    void  SetFocus(cWnd* wnd) override;
    void  ClearFocus(cWnd* wnd) override;
    void  CalcRects() override;
    void  GoTab(bool forward) override;
    int   GetMouseOver() override;

    void  Close() { m_Closed = true; }
    bool  IsClosed() const { return m_Closed; }
    cWnd* GetFocus() const { return m_Focus; }
    void  ScrollToFocusedControl();

    // Window states: each toggles back to normal when already in it.
    void  Minimize();
    void  Maximize();
    void  SetRect(const cRect& rect);  // the normal-state rectangle, made current
    cRect CalcNormalStateBounds() const { return m_NormalRect; }
    cRect CalcMinStateBounds() const;  // the caption bar alone, where the top edge is
    cRect CalcMaxStateBounds() const;  // the maximised area (SetMaxStateArea)
    void  SetNormalStateRels() { m_NormalRect = m_Rect; }
    static void SetMaxStateArea(const cRect& area) { s_MaxArea = area; }

    const cList<cForm*>& GetChildForms() const { return m_ChildForms; }
    static cList<cForm*>& GetForms();

protected:
    void  OnDragMove(const cVec2& delta) override;
    float Metric(float cTheme::*metric, float otherwise) const;
    cRect CaptionRect() const;
    cRect ButtonRect(int index) const;  // 0 maximise (rightmost), 1 minimise

    cForm* m_ParentForm = nullptr;
    cList<cForm*> m_ChildForms;
    cWnd* m_Focus = nullptr;
    cRect m_NormalRect;
    int   m_State = State::Normal;
    int   m_PressedButton = Part::None;
    float m_Activity = 1;
    bool  m_Closed = false;
    static cRect s_MaxArea;
};

}  // namespace zozud
