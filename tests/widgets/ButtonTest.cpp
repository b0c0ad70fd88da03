// Buttons, check boxes, labels, tool bars and swatches: what a click sends to
// the parent, what the bound value becomes, and what the theme is asked to
// paint. The tool bar's strip sits above the form's client area and still
// gets the mouse, and a drag on it scrolls its buttons.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/Button.h"
#include "zozud/widgets/ColorSwatch.h"
#include "zozud/widgets/ImageSwatch.h"
#include "zozud/widgets/Label.h"
#include "zozud/widgets/ToolBar.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class Buttons : public ControlsTest {};
class ToolBars : public ControlsTest {};

// A window that only records messages sent to it directly.
struct Listener : cWnd {
    int clicks = 0;
    void MsgProc(int, int msg, const void*, const void*) override { clicks += msg == 0; }
};

class Swatches : public ControlsTest {
public:
    const PaintedPart* Painted(int part) {
        theme.painted.clear();
        cWidgets::Render();
        return theme.Find(part);
    }
};

bool Same(const cColor& a, const cColor& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

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

TEST_F(Swatches, ColorSwatchPaintsTheBoundColourAsItIsNow) {
    float rgba[4] = {0.25f, 0.5f, 0.75f, 1};
    cColorSwatch* swatch = new cColorSwatch(form, rgba, "Tint", 10, 10, 200);
    const PaintedPart* p = Painted(cTheme::Parts::ColorSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(Same(cColor(0.25f, 0.5f, 0.75f, 1), p->color));
    EXPECT_EQ(swatch->GetFieldRect(), p->rect);
    const PaintedPart* label = theme.Find(cTheme::Parts::Label);
    ASSERT_NE(nullptr, label);
    EXPECT_EQ("Tint", label->text);

    rgba[0] = 1;
    rgba[3] = 0.5f;
    p = Painted(cTheme::Parts::ColorSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(Same(cColor(1, 0.5f, 0.75f, 0.5f), p->color));

    cWidgets::FreeWidget(swatch);
    new cColorSwatch(form, nullptr, nullptr, 10, 10, 200);
    p = Painted(cTheme::Parts::ColorSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(Same(cColor(0, 0, 0, 1), p->color));
}

TEST_F(Swatches, ImageSwatchPaintsTheBoundTextureAndAMissingFileHasNone) {
    int texture = 7;
    cImageSwatch* swatch = new cImageSwatch(form, &texture, "Map", 10, 10, 200);
    const PaintedPart* p = Painted(cTheme::Parts::ImageSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(7, p->textureID);
    EXPECT_EQ(swatch->GetFieldRect(), p->rect);
    texture = -1;
    p = Painted(cTheme::Parts::ImageSwatch);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(-1, p->textureID);

    cImageSwatchFile file;
    EXPECT_EQ(-1, file.LoadTexture());
    file.FileName = "Textures/Missing.bmp";
    EXPECT_EQ(-1, file.LoadTexture());
}
