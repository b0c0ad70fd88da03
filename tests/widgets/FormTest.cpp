// Forms and panels: what they paint through their theme and where, and how
// they answer the mouse and the keyboard, driven by queued input events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/RecordingDevice.h"
#include "zozud/core/Timer.h"
#include "zozud/render/Render.h"
#include "zozud/widgets/Form.h"
#include "zozud/widgets/Panel.h"

using namespace zozud;
using namespace zozud_test;

namespace {

struct Painted {
    int part;
    cRect rect, clip;
    std::string text;
};

// Paints each part as a solid rectangle and remembers the request with the
// clip rectangle in force.
struct TestTheme : cTheme {
    mutable std::vector<Painted> painted;
    TestTheme() {
        CaptionHeight = 20;
        BorderWidth = 4;
        Padding = 4;
        SizeGripSize = 12;
        DragAlpha = 0.25f;
    }
    void Draw(const DrawArgs& a) const override {
        painted.push_back({a.Part, a.Rect, cRender::GetClipRect(), a.Text.ToChar()});
        cRender::FillRectangleSolid(a.Rect, cColor(1, 1, 1, 1));
    }
    std::vector<int> Parts() const {
        std::vector<int> parts;
        for (const Painted& p : painted) parts.push_back(p.part);
        return parts;
    }
};

// A control 30 pixels high that paints itself as part None and may carry a tip.
struct Box : cWnd {
    const char* tip = nullptr;
    bool* destroyed = nullptr;
    explicit Box(cWnd* parent) : cWnd(parent) { m_RelRect = cRect(10, 10, 110, 40); }
    ~Box() override { if (destroyed) *destroyed = true; }
    cRect GetRelBounds() override { return cRect(m_RelRect.x0, m_RelRect.y0, m_RelRect.x1, m_RelRect.y0 + 30); }
    void OnRender() override {
        cTheme::DrawArgs a;
        a.Rect = m_Rect;
        if (IsVisible() && GetTheme()) GetTheme()->Draw(a);
    }
    bool OnSetToolTip(cStr* text, const cTheme** theme) override {
        *text = tip ? tip : "";
        *theme = GetTheme();
        return tip != nullptr;
    }
};

using P = cTheme::Parts;

class Forms : public ::testing::Test {
public:
    TestTheme theme;
    cForm* form = nullptr;
    cPanel* panel = nullptr;
    Box* boxes[2] = {};

    void SetUp() override {
        cInput::FreeEvents();
        form = new cForm(nullptr, "Form", cRect(100, 100, 400, 300), &theme);
        cWidgets::AddWidget(form, 3);
        panel = new cPanel(form, "Panel");
        boxes[0] = new Box(panel);
        boxes[1] = new Box(panel);
        form->CalcRects();
    }
    void TearDown() override {
        cWidgets::FreeAll();
        cWidgets::ReleaseCapture();
        cInput::FreeEvents();
    }
    static void Frame(cInput::Event* e) {
        cInput::AddEvent(e);
        cWidgets::HandleInputEvents();
    }
    // The mouse goes there in one frame and clicks in the next two.
    static void Press(const cVec2& p, int button = cInput::LeftButton, bool down = true) {
        Frame(cInput::NewMoveEvent(p, cVec2(0, 0)));
        Frame(cInput::NewButtonEvent(button, down, p));
    }
    static void Click(const cVec2& p, int button = cInput::LeftButton) {
        Press(p, button);
        Frame(cInput::NewButtonEvent(button, false, p));
    }
    std::vector<int> Render() {
        theme.painted.clear();
        cWidgets::Render();
        return theme.Parts();
    }
};

const std::vector<int> FormParts = {P::Form, P::FormCaption, P::FormMaximizeButton, P::FormMinimizeButton,
                                    P::FormSizeGrip};

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Forms, FormWithPanelPaintsInsideItsRectangles) {
    RecordingScope device;
    EXPECT_EQ(Join(FormParts, {P::Panel, P::PanelCaption, P::None, P::None}), Render());
    // Fills of consecutive parts may share a draw.
    EXPECT_GT(device->Count("DrawIndexed"), 0);
    EXPECT_LE(device->Count("DrawIndexed"), (int)theme.painted.size());

    const cRect outer = form->GetRect(), client = form->GetClientRect();
    for (size_t i = 0; i < theme.painted.size(); i++) {
        const Painted& p = theme.painted[i];
        EXPECT_TRUE(outer.Contains(p.rect)) << i;
        EXPECT_TRUE(outer.Contains(p.clip)) << i;
        if (i >= FormParts.size()) {
            EXPECT_TRUE(client.Contains(p.clip)) << i;
        }
    }
    EXPECT_EQ("Panel", theme.painted[6].text);
    // The panel spans the client width at its top; its controls stack top down inside it.
    const cRect& pr = panel->GetRect();
    EXPECT_EQ(client.x0, pr.x0);
    EXPECT_EQ(client.x1, pr.x1);
    EXPECT_EQ(client.y1, pr.y1);
    const cRect& b0 = boxes[0]->GetRect();
    const cRect& b1 = boxes[1]->GetRect();
    EXPECT_TRUE(panel->GetClientRect().Contains(b0));
    EXPECT_TRUE(panel->GetClientRect().Contains(b1));
    EXPECT_EQ(30, b0.GetHeight());
    EXPECT_LT(b1.y1, b0.y0);
}

TEST_F(Forms, HiddenWindowsPaintNothing) {
    struct Case {
        const char* what;
        void (*change)(Forms*);
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"form hidden", [](Forms* t) { t->form->SetVisible(false); }, {}},
        {"panel hidden", [](Forms* t) { t->panel->SetVisible(false); }, FormParts},
        {"one box hidden", [](Forms* t) { t->boxes[0]->SetVisible(false); },
         Join(FormParts, {P::Panel, P::PanelCaption, P::None})},
        {"panel folded", [](Forms* t) { t->panel->SetFolded(true); }, Join(FormParts, {P::Panel, P::PanelCaption})},
        {"form minimised", [](Forms* t) { t->form->Minimize(); },
         {P::Form, P::FormCaption, P::FormMaximizeButton, P::FormMinimizeButton}},
    };
    RecordingScope device;
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        c.change(this);
        EXPECT_EQ(c.expected, Render()) << c.what;
    }
}

double g_Clock = 500;

TEST_F(Forms, LayersPaintInOrderWithTheToolTipAfterLayerFour) {
    RecordingScope device;
    TestTheme topTheme;
    cForm* top = new cForm(nullptr, "Top", cRect(500, 100, 700, 300), &topTheme);
    cWidgets::AddWidget(top, 5);
    boxes[1]->tip = "tip";
    cTimer::SetClockOverride([] { return g_Clock; });
    cTimer::Acquire();
    cVec2 over = boxes[1]->GetRect().GetCenter();
    for (int i = 0; i < 4; i++) {
        g_Clock += 0.2;
        cTimer::Acquire();
        Frame(cInput::NewMoveEvent(over, cVec2(0, 0)));
    }
    cTimer::SetClockOverride(nullptr);

    topTheme.painted.clear();
    EXPECT_EQ(Join(Join(FormParts, {P::Panel, P::PanelCaption, P::None, P::None}), {P::ToolTip}), Render());
    EXPECT_EQ("tip", theme.painted.back().text);
    EXPECT_EQ(FormParts, topTheme.Parts());  // layer 5, after the tip
}

TEST_F(Forms, MouseFoldsMovesSizesAndMinimises) {
    const cRect start = form->GetRect();  // (100, 100, 400, 300)
    const cVec2 panelCaption(200, panel->GetRect().y1 - 10);
    Click(panelCaption);
    EXPECT_TRUE(panel->IsFolded());
    EXPECT_FALSE(boxes[0]->IsVisible());
    EXPECT_EQ(20, panel->GetRect().GetHeight());
    Click(panelCaption);
    EXPECT_FALSE(panel->IsFolded());

    // Dragged by the caption: translucent while moving, the controls move along.
    const cRect box = boxes[0]->GetRect();
    Press(cVec2(200, 286));
    Frame(cInput::NewMoveEvent(cVec2(230, 276), cVec2(30, -10)));
    EXPECT_EQ(0.25f, form->GetCurAlpha());
    EXPECT_EQ(0.25f, boxes[0]->GetCurAlpha());
    Frame(cInput::NewButtonEvent(cInput::LeftButton, false, cVec2(230, 276)));
    EXPECT_EQ(1.0f, form->GetCurAlpha());
    EXPECT_FALSE(cWidgets::IsCaptured());
    cRect moved = start;
    moved.Translate(30, -10);
    EXPECT_EQ(moved, form->GetRect());
    EXPECT_EQ(box.x0 + 30, boxes[0]->GetRect().x0);
    EXPECT_EQ(box.y0 - 10, boxes[0]->GetRect().y0);

    // The size grip in the bottom right corner sizes.
    Press(cVec2(moved.x1 - 2, moved.y0 + 2));
    Frame(cInput::NewMoveEvent(cVec2(moved.x1 + 48, moved.y0 - 18), cVec2(50, -20)));
    Frame(cInput::NewButtonEvent(cInput::LeftButton, false, cVec2(moved.x1 + 48, moved.y0 - 18)));
    EXPECT_EQ(cRect(moved.x0, moved.y0 - 20, moved.x1 + 50, moved.y1), form->GetRect());

    // Minimise and back through the caption button, which acts on release over it.
    const cRect sized = form->GetRect();
    const cVec2 minimise(sized.x1 - 4 - 30, sized.y1 - 14);
    Click(minimise);
    EXPECT_EQ(cForm::State::Minimized, form->GetFormState());
    EXPECT_EQ(28, form->GetRect().GetHeight());
    EXPECT_FALSE(panel->IsVisible());
    Press(minimise);
    Frame(cInput::NewButtonEvent(cInput::LeftButton, false, cVec2(0, 0)));  // released elsewhere
    EXPECT_EQ(cForm::State::Minimized, form->GetFormState());
    Click(minimise);
    EXPECT_EQ(sized, form->GetRect());
    EXPECT_TRUE(panel->IsVisible());
}

TEST_F(Forms, ClickActivatesTheFormBehindWithItsControlsInFront) {
    cForm* front = new cForm(nullptr, "Front", cRect(300, 50, 600, 250), &theme);
    cWidgets::AddWidget(front, 3);
    EXPECT_TRUE(front->IsActive());
    EXPECT_FALSE(form->IsActive());

    Click(boxes[0]->GetRect().GetCenter());  // a control of the back form, outside the front one
    EXPECT_TRUE(form->IsActive());
    const cList<int>& order = cWidgets::GetLayerOrder(3);
    std::vector<cWidget*> drawn;
    for (int slot : order) drawn.push_back(cWidgets::GetLayer(3)[slot]);
    EXPECT_EQ((std::vector<cWidget*>{front, form, panel, boxes[0], boxes[1]}), drawn);

    // Where both overlap, the front form takes the click and the one behind stays as it is.
    Click(cVec2(350, 200));
    EXPECT_TRUE(form->IsActive());  // the form is in front now
    Click(cVec2(550, 200));
    EXPECT_TRUE(front->IsActive());

    // A child form is active while it is its parent's latest and the parent is active.
    cForm* dialog = new cForm(boxes[0], "Dialog", cRect(120, 120, 200, 200), &theme);
    cWidgets::AddWidget(dialog, 3);
    EXPECT_EQ(1, form->GetChildForms().Count());
    EXPECT_FALSE(dialog->IsActive());
    form->Activate();
    EXPECT_TRUE(dialog->IsActive());
    EXPECT_TRUE(form->IsActive());
    form->Close();  // the dialog goes with its parent
    cWidgets::HandleInputEvents();
    EXPECT_EQ(-1, cWidgets::GetWidgetID(dialog));
    EXPECT_EQ(1, cForm::GetForms().Count());
}

// The pointer resting on a form keeps its clicks from what lies behind,
// not the keys typed meanwhile.
TEST_F(Forms, KeysPassTheFormUnderThePointerAndClicksDoNot) {
    struct Behind : cWidget {
        std::vector<int> got;
        bool OnButtonDown(int code) override {
            got.push_back(code);
            return true;
        }
    };
    Behind* behind = new Behind;
    cWidgets::AddWidget(behind, 0);
    const cVec2 over(390, 110);  // inside the form, beside its panel
    Frame(cInput::NewMoveEvent(over, cVec2(0, 0)));
    for (int code : {(int)cInput::F12, (int)cInput::LeftButton, (int)cInput::T})
        Frame(cInput::NewButtonEvent(code, true, over));
    EXPECT_EQ((std::vector<int>{cInput::F12, cInput::T}), behind->got);
}

TEST_F(Forms, TabCyclesThroughEnabledVisibleTabStops) {
    Box* extra = new Box(panel);
    for (Box* b : {boxes[0], boxes[1], extra}) b->SetTabStop(true);
    boxes[1]->SetEnabled(false);
    auto tab = [] {
        cInput::Event* e = new cInput::Event;
        e->Type = cInput::EventType::Char;
        e->Code = cInput::Tab;
        e->Char = '\t';
        Frame(e);
    };
    std::vector<cWnd*> seen;
    for (int i = 0; i < 3; i++) {
        tab();
        seen.push_back(form->GetFocus());
    }
    EXPECT_EQ((std::vector<cWnd*>{boxes[0], extra, boxes[0]}), seen);
    EXPECT_TRUE(boxes[0]->HasFocus(boxes[0]));  // asked of a control, answered by its form
    form->GoTab(false);
    EXPECT_EQ(extra, form->GetFocus());

    // A control that goes takes its focus with it; closing the form frees its whole tree.
    cWidgets::FreeWidget(extra);
    EXPECT_EQ(nullptr, form->GetFocus());
    bool destroyed = false;
    boxes[0]->destroyed = &destroyed;
    form->Close();
    EXPECT_FALSE(form->IsActive());
    cWidgets::HandleInputEvents();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(0, cWidgets::GetLayerOrder(3).Count());
    EXPECT_TRUE(cForm::GetForms().IsEmpty());
}

TEST_F(Forms, WheelAndMiddleButtonScrollTallContent) {
    for (int i = 0; i < 6; i++) new Box(panel);  // 8 boxes: taller than the client area
    form->CalcRects();
    ASSERT_TRUE(form->CanScroll());
    const cVec2 inside = form->GetClientRect().GetCenter();
    const float top = boxes[0]->GetRect().y1;
    Click(inside, cInput::WheelDown);
    const float step = form->GetWheelScrollSpeed();
    EXPECT_EQ(step, form->GetScrollOffset().y);
    EXPECT_EQ(top + step, boxes[0]->GetRect().y1);  // content moved up
    for (int i = 0; i < 20; i++) Click(inside, cInput::WheelDown);
    const float most = form->GetScrollOffset().y;  // held at the end of the content
    EXPECT_EQ(panel->GetRelRect().y1 - form->GetClientRect().GetHeight(), most);

    Press(inside, cInput::MiddleButton);
    Frame(cInput::NewMoveEvent(inside - cVec2(0, 25), cVec2(0, -25)));
    Frame(cInput::NewButtonEvent(cInput::MiddleButton, false, inside));
    EXPECT_EQ(most - 25, form->GetScrollOffset().y);
    EXPECT_FALSE(cWidgets::IsCaptured());
}

}  // namespace
