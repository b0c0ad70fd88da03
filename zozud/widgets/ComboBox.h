// cComboBox: a field showing the selected item of a list, bound to its index.
// With the focus, "Left" (and the thumbs' left) selects the previous item
// and "Right" (and the thumbs' right) the next, never past the ends; a click
// opens a cComboBoxDropDown listing the items. A change sends message 3
// with the old and new index.
// cComboBoxDropDown: the list under a combo box, on a layer above it, or a
// free-standing pop-up list calling back with the chosen index. "Up" and
// "Down" move its highlight, "Enter" chooses, "Esc" or a click outside
// closes it; it is dead (freed by the registry) once closed.
// Surprises: toolkit thread only, no locks. A combo box that goes first
// leaves its drop-down closed.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/widgets/Control.h"

namespace zozud {

class cComboBoxDropDown;

class cComboBox : public cControl {
public:
    cComboBox(cWnd* parent, int* index, const char* caption, const cList<cStr>& items, float x, float y, int width,
              bool visible = true, bool enabled = true);
    ~cComboBox() override;

    bool OnButtonDown(int button) override;
    bool OnChar(int ch, int key) override;
    void OnRender() override;
    int  GetType() const override { return 4; }

    void SetItems(const cList<cStr>& items);
    const cList<cStr>& GetItems() const { return m_Items; }
    int  GetIndex() const { return m_Index ? *m_Index : -1; }
    void HandleSelection(int key);
    void SelectedItem(int index);  // a choice from the drop-down; out of range changes nothing
    cComboBoxDropDown* GetDropDown() const { return m_DropDown; }
    void OnDropDownGone(cComboBoxDropDown* dropDown) { if (m_DropDown == dropDown) m_DropDown = nullptr; }

private:
    void Select(int index);
    int* m_Index;
    cList<cStr> m_Items;
    cComboBoxDropDown* m_DropDown = nullptr;
};

class cComboBoxDropDown : public cWidget {
public:
    static constexpr float ItemHeight = 18;
    static constexpr int   MaxVisibleItems = 10;

    explicit cComboBoxDropDown(cComboBox* owner);
    cComboBoxDropDown(void (*chosen)(int), const cList<cStr>& items, int current);
    ~cComboBoxDropDown() override;

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnMouseMove() override;
    bool OnChar(int ch, int key) override;
    void OnRender() override;
    bool IsDead() override { return m_Dead; }
    bool IsHot(bool hotFound) override;

    void  SetRect(const cRect& rect) { m_Rect = rect; }  // screen, y up; the list fills it
    const cRect& GetRect() const { return m_Rect; }
    int   GetHighlight() const { return m_Highlight; }
    void  ScrollToCurSel();
    void  EnableArrowScroll(bool on) { m_ArrowScroll = on; }
    float GetArrowScrollSpeed() const { return ItemHeight; }
    float GetWheelScrollSpeed() const { return 3 * ItemHeight; }
    int   ItemAt(const cVec2& p) const;  // -1 outside the items

private:
    friend class cComboBox;
    void Choose(int index);
    void Close();
    cComboBox* m_Owner = nullptr;
    void (*m_Chosen)(int) = nullptr;
    cList<cStr> m_Items;
    cRect m_Rect = cRect::Empty;
    int   m_Highlight = -1;
    int   m_Current = -1;  // the free-standing list's selected item
    float m_Scroll = 0;  // pixels the list is scrolled up
    bool  m_Dead = false, m_ArrowScroll = true;
    const cTheme* m_Theme = nullptr;
};

}  // namespace zozud
