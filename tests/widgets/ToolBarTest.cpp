// The tool bar: its strip sits above the form's client area and still gets
// the mouse, its buttons' clicks reach the form, a drag scrolls the buttons,
// and the theme is asked for the strip and each button with its icon.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/ToolBar.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class ToolBars : public ControlsTest {};

}  // namespace

TEST_F(ToolBars, StripAboveTheClientAreaTakesClicksAndPaintsIcons) {
    cToolBar* bar = new cToolBar(form);
    cToolBarButton* open = bar->AddButton("Open", 0);
    cToolBarButton* text = bar->AddButton("Text");
    EXPECT_EQ(bar, form->GetToolBar());

    // The strip is a band between the caption and the client area, y up.
    const cRect& strip = bar->GetRect();
    EXPECT_FLOAT_EQ(cToolBar::DefaultHeight, strip.GetHeight());
    EXPECT_LE(form->GetClientRect().y1, strip.y0);
    EXPECT_FALSE(bar->GetClipRect().IsEmpty());
    EXPECT_FLOAT_EQ(strip.x0, open->GetRect().x0);
    EXPECT_FLOAT_EQ(open->GetRect().x1, text->GetRect().x0);
    EXPECT_FLOAT_EQ(strip.y1, open->GetRect().y1);

    Click(text->GetRect().GetCenter());
    EXPECT_EQ((std::vector<Message>{{cWidgets::GetWidgetID(text), 0, "", ""}}), form->messages);
    EXPECT_FALSE(cWidgets::IsCaptured());

    theme.painted.clear();
    cWidgets::Render();
    ASSERT_NE(nullptr, theme.Find(cTheme::Parts::ToolBar));
    int buttons = 0;
    for (const PaintedPart& p : theme.painted)
        if (p.part == cTheme::Parts::ToolBarButton) {
            ++buttons;
            EXPECT_EQ(p.rect == open->GetRect() ? "" : "Text", p.text);  // an icon button shows no caption
        }
    EXPECT_EQ(2, buttons);
}

TEST_F(ToolBars, DragOnFreeSpaceScrollsButtonsWithinTheirExtent) {
    cToolBar* bar = new cToolBar(form);
    cToolBarButton* first = bar->AddButton("First", 0);
    new cToolBarButton(bar, "Far", 1, 600);  // past the 400 px form, free space before it
    form->CalcRects();
    const float x0 = first->GetRect().x0;
    const cVec2 at(x0 + 100, bar->GetRect().GetCenter().y);

    Press(first->GetRect().GetCenter());  // a button takes its own press
    EXPECT_TRUE(cWidgets::IsCaptured(first));
    Release(first->GetRect().GetCenter());
    form->messages.clear();

    Press(at);
    ASSERT_TRUE(cWidgets::IsCaptured(bar));
    cInput::Cursor::Enum cursor = cInput::Cursor::Default;
    EXPECT_TRUE(bar->OnSetCursor(&cursor));
    EXPECT_EQ(cInput::Cursor::SizeAll, cursor);
    MoveTo(at - cVec2(100, 0));
    EXPECT_FLOAT_EQ(x0 - 100, first->GetRect().x0);
    MoveTo(at - cVec2(1000, 0));  // not past the far button's right edge
    EXPECT_FLOAT_EQ(bar->GetRect().x1 - 624, first->GetRect().x0);
    MoveTo(at + cVec2(500, 0));  // not before the first button
    EXPECT_FLOAT_EQ(x0, first->GetRect().x0);
    Release(at);
    EXPECT_FALSE(cWidgets::IsCaptured());
    EXPECT_TRUE(form->messages.empty());  // a drag clicks nothing
}
