// The widget registry driven by queued input events: routing order, capture,
// deferred frees, slot reuse, the hot widget with its cursor and tool tip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zozud/core/Timer.h"
#include "zozud/widgets/Widget.h"

using namespace zozud;

namespace {

std::vector<std::string> g_Log;

// Logs every call as "<name>.<call>"; what it consumes and does is set per test.
struct Probe : cWidget {
    std::string name;
    bool consume = false;     // button, move and character events
    bool capture = false;     // SetCapture() on button down
    bool freeSelf = false;    // deferred FreeWidget(this) on button down
    bool toFront = false;     // BringToFront(this) on button down
    Probe* kill = nullptr;    // freed at once on button down, a new widget takes its slot
    bool hot = false;         // under the mouse
    bool* destroyed = nullptr;
    const char* tip = nullptr;

    explicit Probe(const char* n) : name(n) {}
    ~Probe() override { if (destroyed) *destroyed = true; }
    void Log(const std::string& what) { g_Log.push_back(name + "." + what); }
    bool OnButtonDown(int b) override {
        Log("down" + std::to_string(b));
        if (capture) cWidgets::SetCapture();
        if (freeSelf) cWidgets::FreeWidget(this, true);
        if (toFront) cWidgets::BringToFront(this);
        if (kill) {
            int layer = cWidgets::GetWidgetLayer(kill);
            cWidgets::FreeWidget(kill);
            cWidgets::AddWidget(new Probe("newcomer"), layer);
            kill = nullptr;
        }
        return consume;
    }
    bool OnButtonUp(int b) override { Log("up" + std::to_string(b)); return consume; }
    bool OnMouseMove() override { Log("move"); return consume || cWidget::OnMouseMove(); }
    bool OnChar(int ch, int) override { Log("char" + std::to_string(ch)); return consume; }
    void OnMultitouchDown(int t) override { Log("tdown" + std::to_string(t)); }
    void OnMultitouchUp(int t) override { Log("tup" + std::to_string(t)); }
    void OnMultitouchMove(int t) override { Log("tmove" + std::to_string(t)); }
    void OnGestureDown(cGestureType::Enum type, const cVec2&) override { Log("gdown" + std::to_string(type)); }
    void OnGestureMove(const cVec2&, const cVec2&, float, float) override { Log("gmove"); }
    void OnGestureUp() override { Log("gup"); }
    bool IsHot(bool found) override { return hot && !found; }
    bool OnSetCursor(cInput::Cursor::Enum* c) override { *c = cInput::Cursor::IBeam; return true; }
    bool OnSetToolTip(cStr* text, const cTheme**) override {
        if (tip) *text = tip;
        return tip != nullptr;
    }
};

class Widgets : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        cWidgets::FreeAll();
        cWidgets::ReleaseCapture();
        cInput::FreeEvents();
        g_Log.clear();
    }
    Probe* Add(const char* name, int layer) {
        Probe* p = new Probe(name);
        EXPECT_NE(-1, cWidgets::AddWidget(p, layer));
        return p;
    }
    // Queues the events and runs one frame of dispatch; returns the calls.
    static std::vector<std::string> Frame(std::vector<cInput::Event*> events) {
        g_Log.clear();
        for (cInput::Event* e : events) cInput::AddEvent(e);
        cWidgets::HandleInputEvents();
        return g_Log;
    }
    static cInput::Event* Down(int code = cInput::LeftButton) { return cInput::NewButtonEvent(code, true); }
    static cInput::Event* Char(int ch) {
        cInput::Event* e = new cInput::Event;
        e->Type = cInput::EventType::Char;
        e->Code = cInput::A;
        e->Char = ch;
        return e;
    }
    static cInput::Event* Gesture(int phase) {
        cInput::Event* e = new cInput::Event;
        e->Type = cInput::EventType::Gesture;
        e->GestureType = cGestureType::Pinch;
        e->GesturePhase = phase;
        return e;
    }
};

using Log = std::vector<std::string>;

TEST_F(Widgets, SlotsAreReusedLastFreedFirstAndBadIdsAreIgnored) {
    Probe* a = Add("a", 5);
    Probe* b = Add("b", 5);
    Add("c", 5);
    int idA = cWidgets::GetWidgetID(a), idB = cWidgets::GetWidgetID(b);
    EXPECT_EQ(5 << 16 | 0, idA);
    EXPECT_EQ(5 << 16 | 1, idB);
    cWidgets::FreeWidget(idB);
    cWidgets::FreeWidget(a);
    EXPECT_EQ(nullptr, cWidgets::GetWidget(idA));
    EXPECT_EQ(idA, cWidgets::AddWidget(new Probe("d"), 5));  // the last freed comes back first
    EXPECT_EQ(idB, cWidgets::AddWidget(new Probe("e"), 5));
    EXPECT_EQ(5 << 16 | 3, cWidgets::AddWidget(new Probe("f"), 5));
    EXPECT_EQ((std::vector<int>{2, 0, 1, 3}), std::vector<int>(cWidgets::GetLayerOrder(5).begin(),
                                                               cWidgets::GetLayerOrder(5).end()));

    Probe stray("stray");
    EXPECT_EQ(-1, cWidgets::AddWidget(nullptr, 0));
    EXPECT_EQ(-1, cWidgets::AddWidget(&stray, 33));
    EXPECT_EQ(-1, cWidgets::AddWidget(&stray, -1));
    EXPECT_EQ(-1, cWidgets::GetWidgetID(&stray));
    for (int id : {-1, 33 << 16, 5 << 16 | 4, 6 << 16})
        EXPECT_EQ(nullptr, cWidgets::GetWidget(id)) << id;
    cWidgets::FreeWidget(5 << 16 | 40);
    EXPECT_EQ(4, cWidgets::GetLayerOrder(5).Count());
}

// Layer 9 above layer 2; within a layer the one added last is in front.
TEST_F(Widgets, EventsGoTopLayerFirstFrontToBack) {
    struct Case {
        const char* what;
        std::vector<cInput::Event*> (*events)();
        const char* consumer;
        Log expected;
    };
    const Case cases[] = {
        {"button, nobody consumes", [] { return std::vector<cInput::Event*>{Down()}; }, "",
         {"top.down93", "front.down93", "back.down93"}},
        {"button stops at the consumer", [] { return std::vector<cInput::Event*>{Down()}; }, "front",
         {"top.down93", "front.down93"}},
        {"release", [] { return std::vector<cInput::Event*>{cInput::NewButtonEvent(cInput::RightButton, false)}; },
         "top", {"top.up94"}},
        {"move", [] { return std::vector<cInput::Event*>{cInput::NewMoveEvent(cVec2(1, 1), cVec2(1, 0))}; },
         "front", {"top.move", "front.move"}},
        {"character", [] { return std::vector<cInput::Event*>{Char('x')}; }, "back",
         {"top.char120", "front.char120", "back.char120"}},
        {"touches reach everyone",
         [] {
             return std::vector<cInput::Event*>{cInput::NewTouchEvent(3, false, cVec2(5, 5), cVec2(2, 0)),
                                                cInput::NewTouchEvent(3, false, cVec2(5, 5), cVec2(0.0005f, 0))};
         },
         "top", {"top.tmove3", "front.tmove3", "back.tmove3", "top.tup3", "front.tup3", "back.tup3"}},
        {"gestures reach everyone", [] { return std::vector<cInput::Event*>{Gesture(1), Gesture(2), Gesture(3)}; },
         "top",
         {"top.gdown4", "front.gdown4", "back.gdown4", "top.gmove", "front.gmove", "back.gmove", "top.gup",
          "front.gup", "back.gup"}},
    };
    for (const Case& c : cases) {
        Reset();
        Probe* probes[] = {Add("back", 2), Add("front", 2), Add("top", 9)};
        for (Probe* p : probes) p->consume = p->name == c.consumer;
        EXPECT_EQ(c.expected, Frame(c.events())) << c.what;
    }
}

TEST_F(Widgets, FirstCaptureHoldsAndGetsEventsFirst) {
    Probe* back = Add("back", 2);
    Probe* front = Add("front", 2);
    back->capture = front->capture = true;
    Frame({Down()});
    EXPECT_TRUE(cWidgets::IsCaptured(front));  // asked first, captured first
    cWidgets::SetCapture(back);
    EXPECT_TRUE(cWidgets::IsCaptured(front));

    // A captured widget hears first; the base move handler consumes for it.
    cWidgets::ReleaseCapture();
    cWidgets::SetCapture(back);
    back->capture = front->capture = false;
    EXPECT_EQ((Log{"back.move"}), Frame({cInput::NewMoveEvent(cVec2(1, 1), cVec2(1, 0))}));
    EXPECT_EQ((Log{"back.down93", "front.down93"}), Frame({Down()}));

    // Freeing the captured widget ends the capture.
    cWidgets::FreeWidget(back);
    EXPECT_FALSE(cWidgets::IsCaptured());
    EXPECT_EQ((Log{"front.move"}), Frame({cInput::NewMoveEvent(cVec2(1, 1), cVec2(1, 0))}));
}

TEST_F(Widgets, FreeAndReorderAskedDuringDispatchWaitForTheQueueToDrain) {
    bool destroyed = false;
    Probe* self = Add("self", 2);
    self->freeSelf = true;
    self->destroyed = &destroyed;
    int id = cWidgets::GetWidgetID(self);
    // Still there for the second event of the same frame, gone afterwards.
    EXPECT_EQ((Log{"self.down93", "self.char97"}), Frame({Down(), Char('a')}));
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, cWidgets::GetWidget(id));
    EXPECT_EQ(id, cWidgets::AddWidget(new Probe("next"), 2));

    // Freed at once by another handler: not called again, nor is the
    // widget that took its slot within the same event.
    Reset();
    Probe* victim = Add("victim", 2);
    Add("killer", 2)->kill = victim;
    EXPECT_EQ((Log{"killer.down93"}), Frame({Down()}));
    EXPECT_EQ((Log{"newcomer.down93", "killer.down93"}), Frame({Down()}));

    // The back-most brings itself to front: first in line from the next frame.
    Reset();
    Probe* back = Add("back", 2);
    Add("front", 2);
    back->toFront = true;
    EXPECT_EQ((Log{"front.down93", "back.down93", "front.down93", "back.down93"}), Frame({Down(), Down()}));
    back->toFront = false;
    EXPECT_EQ((Log{"back.down93", "front.down93"}), Frame({Down()}));
}

double g_Clock = 1000;
int g_Cursor = -2;

TEST_F(Widgets, HotWidgetSetsCursorAndToolTipAfterTheDelay) {
    cInput::ShellHooks hooks;
    hooks.setCursor = [](int c) { g_Cursor = c; };
    cInput::SetShellHooks(hooks);
    cTimer::SetClockOverride([] { return g_Clock; });
    cTimer::Acquire();
    auto frame = [](double sec, const cVec2& mouse) {
        g_Clock += sec;
        cTimer::Acquire();
        cInput::AddEvent(cInput::NewMoveEvent(mouse, cVec2(0, 0)));
        cWidgets::HandleInputEvents();
    };

    Probe* under = Add("under", 1);
    Probe* over = Add("over", 2);
    under->hot = over->hot = true;
    frame(0.1, cVec2(0, 0));
    EXPECT_EQ(over, cWidgets::GetHotWidget());  // the first to answer
    EXPECT_EQ(cInput::Cursor::IBeam, g_Cursor);
    over->hot = false;
    frame(0.1, cVec2(0, 0));
    EXPECT_EQ(under, cWidgets::GetHotWidget());

    // 0.5 s of hovering shows the tip, placed where the mouse was then.
    under->tip = "under tip";
    for (int i = 0; i < 3; i++) {
        frame(0.2, cVec2(10.0f + i, 20));
        EXPECT_EQ(i == 2, !cWidgets::GetToolTipStr().IsEmpty()) << i;
    }
    EXPECT_STREQ("under tip", cWidgets::GetToolTipStr().ToChar());
    EXPECT_EQ(11.0f, cWidgets::GetToolTipPos().x);  // the mouse as of the frame's start
    frame(0.0, cVec2(50, 50));
    EXPECT_EQ(11.0f, cWidgets::GetToolTipPos().x);

    // A widget holding the capture gets no tip; with no hot widget the cursor is the default.
    cWidgets::SetCapture(under);
    frame(0.2, cVec2(0, 0));
    EXPECT_TRUE(cWidgets::GetToolTipStr().IsEmpty());
    cWidgets::ReleaseCapture();
    under->hot = false;
    frame(0.2, cVec2(0, 0));
    EXPECT_EQ(nullptr, cWidgets::GetHotWidget());
    EXPECT_EQ(cInput::Cursor::Arrow, g_Cursor);

    cTimer::SetClockOverride(nullptr);
    cInput::SetShellHooks(cInput::ShellHooks());
}

}  // namespace
