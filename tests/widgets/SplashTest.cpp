// The splash: shown on the top layer, painted through the theme, gone once
// its time is over (checked each render cycle), on a click, or at once.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/core/Timer.h"
#include "zozud/widgets/SplashWindow.h"

using namespace zozud;
using namespace zozud_test;

namespace {

double s_Now = 1000;

class Splash : public ControlsTest {
public:
    cSplash::ShowArgs args;
    void SetUp() override {
        ControlsTest::SetUp();
        cTimer::SetClockOverride([] { return s_Now; });
        args.Rect = cRect(100, 100, 400, 300), args.Text = "Loading", args.Seconds = 2, args.Theme = &theme;
    }
    void TearDown() override {
        cSplash::DestroyNow();
        ControlsTest::TearDown();
        cTimer::SetClockOverride(nullptr);
    }
};

}  // namespace

TEST_F(Splash, StaysUntilItsTimeIsOverThenGoesWithTheDeadWidgets) {
    cSplash::DestroyNow();  // nothing up: nothing happens
    cSplash::ShowArgs empty = args;
    empty.Rect = cRect::Empty;
    EXPECT_FALSE(cSplash::Show(empty));
    EXPECT_FALSE(cSplash::Exists());

    ASSERT_TRUE(cSplash::Show(args));
    cSplash_Window* w = cSplash::GetWindow();
    ASSERT_NE(nullptr, w);
    int id = cWidgets::GetWidgetID(w);
    EXPECT_EQ(cSplash::Layer, cWidgets::GetLayerOfID(id));

    cWidgets::Render();
    const PaintedPart* p = theme.Find(cTheme::Parts::Splash);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ("Loading", p->text);
    EXPECT_EQ(args.Rect, p->rect);

    for (double t : {0.0, 1.0, 1.999}) {
        s_Now = 1000 + t;
        cSplash::DestroyLater();
        EXPECT_TRUE(cSplash::Exists()) << t;
    }
    s_Now = 1002;
    cSplash::DestroyLater();
    EXPECT_FALSE(cSplash::Exists());
    cWidgets::FreeDead();
    EXPECT_EQ(nullptr, cWidgets::GetWidget(id));
    s_Now = 1000;
}

TEST_F(Splash, ClickOnItOrASecondShowRemovesIt) {
    ASSERT_TRUE(cSplash::Show(args));
    cSplash_Window* first = cSplash::GetWindow();
    Click(cVec2(50, 50));  // outside
    EXPECT_EQ(first, cSplash::GetWindow());

    ASSERT_TRUE(cSplash::Show(args));  // replaces the first
    EXPECT_NE(first, cSplash::GetWindow());
    EXPECT_TRUE(first->IsDead());

    Click(args.Rect.GetCenter());
    EXPECT_FALSE(cSplash::Exists());
}
