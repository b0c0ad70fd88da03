// Sliders: key steps from the theme's step counts, clamped to the bounds,
// held keys stepping on every repeat, dragging and what each reports; the
// ranged slider's two ends.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/Edit.h"
#include "zozud/widgets/EditSlider.h"
#include "zozud/widgets/FpsDisplay.h"
#include "zozud/widgets/Slider.h"

using namespace zozud;
using namespace zozud_test;

namespace {

// The recording theme gives 20 steps over ints, 10 over floats.
class Sliders : public ControlsTest {
public:
    // The slider takes the focus, then a key is pressed and released.
    void Step(cSlider* s, int key) {
        form->SetFocus(s);
        Key(key);
    }
};

}  // namespace

TEST_F(Sliders, ArrowKeysStepByTheRangeOverTheStepCountWithinTheBounds) {
    struct Case { int min, max, start; int key; int presses; int expected; };
    const Case ints[] = {
        {0, 100, 50, cInput::Right, 1, 55},
        {0, 100, 50, cInput::Left, 2, 40},
        {0, 3, 1, cInput::Right, 1, 2},         // fewer values than steps: one per key
        {0, 3, 1, cInput::RightThumbRight, 5, 3},  // stops at the top
        {-10, 10, -9, cInput::LeftThumbLeft, 3, -10},
        {0, 100, 50, cInput::Up, 1, 50},        // not an arrow of the slider
    };
    for (const Case& c : ints) {
        int v = c.start;
        cSlider* s = new cSlider(form, &v, &c.min, &c.max, nullptr, 10, 10, 200);
        for (int i = 0; i < c.presses; i++) Step(s, c.key);
        EXPECT_EQ(c.expected, v) << c.min << ".." << c.max << " key " << c.key;
        EXPECT_FALSE(cWidgets::IsCaptured());
        cWidgets::FreeWidget(s);
    }
    float f = 0.5f;
    const float lo = 0, hi = 2;
    cSlider* s = new cSlider(form, &f, &lo, &hi, nullptr, 10, 10, 200);
    int id = cWidgets::GetWidgetID(s);
    form->messages.clear();
    Step(s, cInput::Right);
    EXPECT_FLOAT_EQ(0.7f, f);
    EXPECT_EQ((std::vector<Message>{{id, 5, "0.5", "0.7"}}), form->messages);
}

TEST_F(Sliders, HeldKeyStepsOnEveryRepeatAndOnlyWithTheFocus) {
    int v = 0;
    const int lo = 0, hi = 20;
    cSlider* s = new cSlider(form, &v, &lo, &hi, nullptr, 10, 10, 200);
    Key(cInput::Right);  // no focus yet
    EXPECT_EQ(0, v);

    form->SetFocus(s);
    Frame(cInput::NewButtonEvent(cInput::Right, true));
    Char(0, cInput::Right);
    EXPECT_TRUE(cWidgets::IsCaptured(s));
    Char(0, cInput::Left);  // another key while held: ignored
    Char(0, cInput::Right);
    Char(0, cInput::Right);
    Frame(cInput::NewButtonEvent(cInput::Right, false));
    EXPECT_FALSE(cWidgets::IsCaptured());
    EXPECT_EQ(3, v);
    EXPECT_EQ(3u, form->messages.size());

    s->SetEnabled(false);
    Key(cInput::Right);
    EXPECT_EQ(3, v);
}

TEST_F(Sliders, DraggingFollowsTheMouseAndReportsOnceOnRelease) {
    int v = 5;
    const int lo = 0, hi = 10;
    cSlider* s = new cSlider(form, &v, &lo, &hi, nullptr, 10, 10, 200);
    int id = cWidgets::GetWidgetID(s);
    const cRect r = s->GetRect();
    Press(cVec2(r.x0 + 1, r.GetCenter().y));
    EXPECT_EQ(0, v);
    MoveTo(cVec2(r.x1 + 50, r.GetCenter().y));  // beyond the end: the top
    EXPECT_EQ(10, v);
    MoveTo(r.GetCenter());
    Release(r.GetCenter());
    EXPECT_EQ(5, v);
    EXPECT_TRUE(form->messages.empty());  // back where it started
    Press(cVec2(r.x1 - 1, r.GetCenter().y));
    Release(cVec2(r.x1 - 1, r.GetCenter().y));
    EXPECT_EQ((std::vector<Message>{{id, 4, "5", "10"}}), form->messages);
}

TEST_F(Sliders, RangedSliderMovesTheNearerEndAndTheEndsNeverCross) {
    int low = 2, high = 8, max = 10;
    cSliderRanged* s = new cSliderRanged(form, &low, &high, &max, nullptr);
    const cRect r = s->GetRect();
    const float y = r.GetCenter().y;
    auto X = [&](float v) { return r.x0 + 4 + v / 10 * (r.GetWidth() - 8); };
    Press(cVec2(X(7), y));  // nearer the high end
    EXPECT_EQ(7, high);
    MoveTo(cVec2(X(0), y));  // cannot pass the low end
    EXPECT_EQ(2, high);
    Release(cVec2(X(0), y));
    Press(cVec2(X(1), y));  // both ends at 2: the side the mouse is on
    MoveTo(cVec2(X(9), y));
    EXPECT_EQ(2, low);  // stopped at the high end
    EXPECT_EQ(2, high);
    Release(cVec2(X(0), y));
    EXPECT_EQ(0, low);
    int id = cWidgets::GetWidgetID(s);
    EXPECT_EQ((std::vector<Message>{{id, 4, "8", "2"}, {id, 4, "2", "0"}}), form->messages);
}

TEST_F(Sliders, EditSliderKeepsFieldAndSliderInStepAndReportsAsItself) {
    int v = 4;
    const int lo = 0, hi = 10;
    cEditSlider* both = new cEditSlider(form, &v, &lo, &hi, "Count");
    int id = cWidgets::GetWidgetID(both);
    EXPECT_TRUE(both->GetRect().Contains(both->GetEdit()->GetRect()));
    EXPECT_TRUE(both->GetRect().Contains(both->GetSlider()->GetRect()));
    EXPECT_LT(both->GetEdit()->GetRect().x1, both->GetSlider()->GetRect().x0);

    Retype(both->GetEdit()->GetRect().GetCenter(), "50");  // clamped
    EXPECT_EQ(10, v);
    EXPECT_FLOAT_EQ(1.0f, both->GetSlider()->GetFraction());
    form->SetFocus(both->GetSlider());
    Key(cInput::Left);
    EXPECT_EQ(9, v);
    EXPECT_STREQ("9", both->GetEdit()->GetBuffer());
    EXPECT_EQ((std::vector<Message>{{id, 6, "4", "10"}, {id, 4, "10", "9"}}), form->messages);
}

TEST_F(Sliders, FpsDisplayIsDraggedByTheMouse) {
    cFpsDisplay* fps = new cFpsDisplay(20, 10, 10);
    const cVec2 start = fps->GetRect().GetCenter();
    Press(start);
    Frame(cInput::NewMoveEvent(start + cVec2(30, 40), cVec2(30, 40)));
    Release(start + cVec2(30, 40));
    EXPECT_EQ(cVec2(40, 50), cVec2(fps->GetRect().x0, fps->GetRect().y0));
    EXPECT_FALSE(cWidgets::IsCaptured());
}
