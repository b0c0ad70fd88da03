// Character events of the polled keyboard and their repeats, on a test clock
// and a test keyboard: first repeat 0.4 s after the press, then every 0.04 s,
// missed repeats caught up with the phase kept. Frames fall between repeat
// instants so that rounding of the clock cannot move a repeat to another frame.
#include <gtest/gtest.h>

#include <vector>

#include "zozud/core/Timer.h"
#include "zozud/widgets/Input.h"

using namespace zozud;

namespace {

double                s_Clock = 0;
cInput::KeyboardState s_Keys;

double TestClock() { return s_Clock; }
void   TestKeyboard(cInput::KeyboardState* state) { *state = s_Keys; }

struct Typed {
    int code, ch;
};

class InputRepeat : public ::testing::Test {
protected:
    void SetUp() override {
        cTimer::SetClockOverride(TestClock);
        cTimer::Reset();
        s_Keys = cInput::KeyboardState();
        s_Keys.Chars[cInput::A] = 'a';
        s_Keys.Chars[cInput::B] = 'b';
        cInput::ShellHooks hooks;
        hooks.acquireKeyboard = TestKeyboard;
        cInput::SetShellHooks(hooks);
        Frame(0);  // the time base starts here
        typed.clear();
    }
    void TearDown() override {
        s_Keys = cInput::KeyboardState();
        Frame(1000);
        cInput::SetShellHooks(cInput::ShellHooks());
        cTimer::SetClockOverride(nullptr);
        cTimer::Reset();
    }

    // One frame at `sec` after the start; the character events it queued go to `typed`.
    void Frame(double sec) {
        s_Clock = 1000 + sec;
        cTimer::Acquire();
        cInput::Acquire();
        while (cInput::Event* event = cInput::GetEvent()) {
            if (event->Type == cInput::EventType::Char) typed.push_back({event->Code, event->Char});
            delete event;
        }
    }
    // Frames every 10 ms from `from` through `to`; the count typed by the end.
    int FramesUntil(double from, double to) {
        for (double t = from; t <= to + 1e-9; t += 0.01) Frame(t);
        return (int)typed.size();
    }

    std::vector<Typed> typed;
};

}  // namespace

// Repeats are due at 0.401, 0.441, 0.481, ... for a key pressed at 0.001; a
// late frame catches up every repeat it missed and keeps the press's phase.
TEST_F(InputRepeat, HeldKeyRepeatsAfterTheDelayThenAtTheRateCatchingUpLateFrames) {
    s_Keys.IsPressed[cInput::A] = true;
    Frame(0.001);
    EXPECT_EQ(typed.size(), 1u);
    struct Mark {
        double sec;
        int    total;
    };
    const Mark marks[] = {{0.395, 1}, {0.405, 2}, {0.435, 2}, {0.445, 3}, {0.475, 3}, {0.485, 4},
                          {0.615, 7},   // 0.521, 0.561 and 0.601 at once
                          {0.635, 7}, {0.645, 8},  // 0.641: the press's phase, not the late frame's
                          {1.005, 17}};
    for (const Mark& mark : marks) {
        Frame(mark.sec);
        EXPECT_EQ(typed.size(), (size_t)mark.total) << mark.sec;
    }
    for (const Typed& t : typed) EXPECT_TRUE(t.code == -1 && t.ch == 'a');
}

TEST_F(InputRepeat, ReleaseOrAnotherPressStopsTheRepeat) {
    s_Keys.IsPressed[cInput::A] = true;
    Frame(0.001);
    s_Keys.IsPressed[cInput::B] = true;  // A stays down but no longer repeats
    Frame(0.201);
    EXPECT_EQ(FramesUntil(0.205, 0.595), 2);
    EXPECT_EQ(FramesUntil(0.605, 0.605), 3);  // B's first repeat at 0.601
    EXPECT_EQ(typed.back().ch, 'b');
    s_Keys.IsPressed[cInput::B] = false;
    EXPECT_EQ(FramesUntil(0.615, 1.5), 3);
    s_Keys.IsPressed[cInput::B] = true;  // pressed again: a new character, a new delay
    Frame(1.501);
    EXPECT_EQ(FramesUntil(1.505, 1.895), 4);
    EXPECT_EQ(FramesUntil(1.905, 1.905), 5);
}

TEST_F(InputRepeat, AShellThatTypesPressesItselfGetsOnlyTheRepeats) {
    s_Keys.PressesTyped = true;
    s_Keys.IsPressed[cInput::A] = true;
    Frame(0.001);
    EXPECT_TRUE(typed.empty());  // the shell queued this press's character
    EXPECT_EQ(FramesUntil(0.005, 0.395), 0);
    EXPECT_EQ(FramesUntil(0.405, 0.445), 2);  // 0.401 and 0.441, from the press the poll saw
    EXPECT_EQ(typed.back().ch, 'a');
}
