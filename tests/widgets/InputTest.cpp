// The input queue: code names, ownership of queued events, the mouse state
// seen while draining, and the mouse simulated from touches.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "zozud/widgets/Input.h"

using namespace zozud;

namespace {

std::string Cased(std::string text, int (*change)(int)) {
    for (char& c : text) c = (char)change((unsigned char)c);
    return text;
}

// Empties the queue and the simulated mouse between tests.
void Drain() {
    while (cInput::Event* event = cInput::GetEvent()) delete event;
}

struct Seen {
    int   type, code;
    bool  pressed;
    cVec2 pos;
};

// Every event queued now, as the widget registry would see them.
std::vector<Seen> DrainSeen() {
    std::vector<Seen> seen;
    while (cInput::Event* event = cInput::GetEvent()) {
        seen.push_back({event->Type, event->Code, event->IsPressed, event->Pos});
        delete event;
    }
    return seen;
}

}  // namespace

TEST(Input, EveryCodeNameReadsBackInAnyCaseAndNothingElseIsAName) {
    for (int code = 0; code < cInput::CodeCount; code++) {
        std::string name = cInput::ToString(code).ToChar();
        ASSERT_FALSE(name.empty()) << code;
        EXPECT_EQ(cInput::ToCode(name.c_str()), code) << name;
        EXPECT_EQ(cInput::ToCode(Cased(name, tolower).c_str()), code) << name;
        EXPECT_EQ(cInput::ToCode(Cased(name, toupper).c_str()), code) << name;
    }
    for (const char* stranger : {"", "Num Pad5", "NumPad5 ", " A", "F13", "NumPad", "Escape", "LeftButton2", "(A"})
        EXPECT_EQ(cInput::ToCode(stranger), -1) << '"' << stranger << '"';
    EXPECT_EQ(cInput::ToCode(nullptr), -1);
    EXPECT_TRUE(cInput::ToString(-1).IsEmpty());
    EXPECT_TRUE(cInput::ToString(cInput::CodeCount).IsEmpty());
    EXPECT_FALSE(cInput::IsDown(cInput::CodeCount));
    EXPECT_EQ(cInput::GetDownTimeSec(cInput::CodeCount), 0.0f);
}

TEST(Input, DeltaWheelAndDoubleClickLastOneEventEach) {
    Drain();
    cInput::AddEvent(cInput::NewMoveEvent(cVec2(10, 20), cVec2(3, -4)));
    cInput::AddEvent(cInput::NewButtonEvent(cInput::WheelDown, true, cVec2(10, 20)));
    cInput::Event* click = cInput::NewButtonEvent(cInput::LeftButton, true, cVec2(11, 21));
    click->IsDoubleClick = true;
    cInput::AddEvent(click);

    delete cInput::GetEvent();
    EXPECT_EQ(cInput::GetMousePosition(), cVec2(10, 20));
    EXPECT_EQ(cInput::GetMouseDelta(), cVec2(3, -4));
    delete cInput::GetEvent();
    EXPECT_EQ(cInput::GetMouseDelta(), cVec2(0, 0));
    EXPECT_EQ(cInput::GetWheelDelta(), -1.0f);
    EXPECT_FALSE(cInput::IsDown(cInput::WheelDown));  // the wheel is no held button
    delete cInput::GetEvent();
    EXPECT_EQ(cInput::GetWheelDelta(), 0.0f);
    EXPECT_TRUE(cInput::IsDoubleClick());
    EXPECT_TRUE(cInput::IsDown(cInput::LeftButton));
    EXPECT_EQ(cInput::GetMousePosition(), cVec2(11, 21));
    EXPECT_EQ(cInput::GetEvent(), nullptr);
    EXPECT_FALSE(cInput::IsDoubleClick());
    cInput::FreeEvents();
    EXPECT_FALSE(cInput::IsDown(cInput::LeftButton));
}

// Under ASan: every event below is freed exactly once. The refills reuse the
// queue's slots, so an event the queue forgot would show as a leak at exit.
TEST(Input, QueueOwnsEventsUntilGetEventHandsThemOver) {
    Drain();
    for (int round = 0; round < 3; round++) {
        for (int i = 0; i < 5; i++) cInput::AddEvent(cInput::NewButtonEvent(cInput::A + i, true));
        cInput::AddEvent(cInput::NewButtonEvent(cInput::CodeCount, true));  // refused: a bad code
        cInput::AddEvent(cInput::NewButtonEvent(-1, false));
        cInput::AddEvent(nullptr);
        cInput::AddEvent(cInput::NewButtonEvent(cInput::Esc, true), true);
        EXPECT_EQ(cInput::GetEvents().Count(), 6);
        cInput::Event* first = cInput::GetEvent();
        EXPECT_EQ(first->Code, cInput::Esc);
        cInput::FreeEvents();  // must leave the handed-out event alone
        EXPECT_EQ(cInput::GetEvent(), nullptr);
        delete first;
    }
}

TEST(Input, FirstTouchDrivesTheMouseAboveItsMoveThreshold) {
    Drain();
    struct Step {
        int   touch;
        bool  down;
        cVec2 delta;
        int   mouseType;  // of the simulated mouse event, 0 for none
        bool  mousePressed;
    };
    const int Button = cInput::EventType::Button, Move = cInput::EventType::MouseMove;
    const Step steps[] = {
        {0, true, cVec2(0, 0), Button, true},           // first finger down: left press
        {0, true, cVec2(0.0005f, 0.0005f), 0, false},   // below the threshold in both
        {0, true, cVec2(0.002f, 0), Move, false},
        {0, true, cVec2(0, -0.002f), Move, false},
        {1, true, cVec2(0, 0), 0, false},               // a second finger is not followed
        {1, true, cVec2(5, 5), 0, false},
        {0, false, cVec2(0, 0), Button, false},         // first finger up: left release
        {1, true, cVec2(5, 5), 0, false},               // moves of a finger that was already down
        {1, false, cVec2(0, 0), 0, false},
        {1, true, cVec2(0, 0), Button, true},           // down again, now followed
        {1, false, cVec2(0, 0), Button, false},
    };
    float x = 10;
    for (const Step& step : steps) {
        x += 1;
        cInput::AddEvent(cInput::NewTouchEvent(step.touch, step.down, cVec2(x, 7), step.delta));
        std::vector<Seen> seen = DrainSeen();
        ASSERT_EQ(seen.size(), step.mouseType ? 2u : 1u) << "x " << x;
        EXPECT_EQ(seen[0].type, cInput::EventType::Touch);
        if (!step.mouseType) continue;
        EXPECT_EQ(seen[1].type, step.mouseType);
        EXPECT_EQ(seen[1].pos, cVec2(x, 7));
        if (step.mouseType == Button) {
            EXPECT_EQ(seen[1].code, cInput::LeftButton);
            EXPECT_EQ(seen[1].pressed, step.mousePressed);
            EXPECT_EQ(cInput::IsDown(cInput::LeftButton), step.mousePressed);
        }
    }
}
