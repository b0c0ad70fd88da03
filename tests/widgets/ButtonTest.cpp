// Buttons, check boxes and labels: what a click sends to the parent, what
// the bound value becomes, and what the theme is asked to paint.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/Button.h"
#include "zozud/widgets/Label.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class Buttons : public ControlsTest {};

// A window that only records messages sent to it directly.
struct Listener : cWnd {
    int clicks = 0;
    void MsgProc(int, int msg, const void*, const void*) override { clicks += msg == 0; }
};

}  // namespace

// A pointer that comes in and clicks within one frame: the click goes to
// the button under it now, not to what the frame's first event found there.
TEST_F(Buttons, AMoveAndAClickQueuedInOneFrameClickWhereThePointerCameTo) {
    cButton* b = new cButton(form, "Go", 10, 10, 100);
    const cVec2 in = b->GetRect().GetCenter(), away = in + cVec2(0, 100);
    MoveTo(away);
    form->messages.clear();
    cInput::AddEvent(cInput::NewMoveEvent(in, in - away));
    cInput::AddEvent(cInput::NewButtonEvent(cInput::LeftButton, true, in));
    cInput::AddEvent(cInput::NewButtonEvent(cInput::LeftButton, false, in));
    cWidgets::HandleInputEvents();
    EXPECT_EQ((std::vector<Message>{{cWidgets::GetWidgetID(b), 0, "", ""}}), form->messages);
}

TEST_F(Buttons, ClickSendsMessageZeroOnlyWhenReleasedOverAUsableButton) {
    cButton* b = new cButton(form, "Go", 10, 10, 100);
    Listener target;
    b->SetTarget(&target);
    int id = cWidgets::GetWidgetID(b);
    const cVec2 in = b->GetRect().GetCenter(), out = in + cVec2(0, 100);

    Click(in);
    EXPECT_EQ((std::vector<Message>{{id, 0, "", ""}}), form->messages);
    EXPECT_EQ(1, target.clicks);
    EXPECT_FALSE(cWidgets::IsCaptured());

    struct Case { const char* what; cVec2 down, up; bool enabled, visible; };
    for (const Case& c : {Case{"released outside", in, out, true, true}, Case{"pressed outside", out, in, true, true},
                          Case{"disabled", in, in, false, true}, Case{"hidden", in, in, true, false}}) {
        form->messages.clear();
        b->SetEnabled(c.enabled);
        b->SetVisible(c.visible);
        Press(c.down);
        Release(c.up);
        EXPECT_TRUE(form->messages.empty()) << c.what;
        EXPECT_FALSE(cWidgets::IsCaptured()) << c.what;
    }
    EXPECT_EQ(1, target.clicks);
}

TEST_F(Buttons, CheckBoxTogglesItsBoolAndReports) {
    bool on = false;
    cCheckBox* box = new cCheckBox(form, &on, "Wire", 10, 40, 100);
    int id = cWidgets::GetWidgetID(box);
    Click(box->GetRect().GetCenter());
    Click(box->GetRect().GetCenter());
    Click(box->GetRect().GetCenter());
    EXPECT_TRUE(on);
    EXPECT_EQ((std::vector<Message>{{id, 2, "true", ""}, {id, 2, "false", ""}, {id, 2, "true", ""}}), form->messages);

    theme.painted.clear();
    cWidgets::Render();
    const PaintedPart* p = theme.Find(cTheme::Parts::CheckBox);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(p->checked);
    EXPECT_EQ("Wire", p->text);
}

TEST_F(Buttons, ControlsPaintTheirPartsInsideTheFormAndGreyWhenDisabled) {
    cStr text = "first";
    new cLabel(form, &text, nullptr, 10, 10, 100);
    cButton* b = new cButton(form, "Go", 10, 40, 100, true, false);
    new cSeparator(form, "Group");
    text = "second";  // the label shows the text as it is when painted
    theme.painted.clear();
    cWidgets::Render();
    for (int part : {cTheme::Parts::Label, cTheme::Parts::Button, cTheme::Parts::Separator}) {
        const PaintedPart* p = theme.Find(part);
        ASSERT_NE(nullptr, p) << part;
        EXPECT_TRUE(form->GetClientRect().Contains(p->rect)) << part;
    }
    EXPECT_EQ("second", theme.Find(cTheme::Parts::Label)->text);
    EXPECT_EQ(0.0f, theme.Find(cTheme::Parts::Button)->enabled);
    EXPECT_EQ(b->GetRect(), theme.Find(cTheme::Parts::Button)->rect);
}
