// Combo boxes and binding buttons: selection by keys and from the drop-down
// list, and the code a binding button records.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/BindButton.h"
#include "zozud/widgets/ComboBox.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class Choices : public ControlsTest {
public:
    cList<cStr> items;
    void SetUp() override {
        ControlsTest::SetUp();
        for (const char* s : {"Red", "Green", "Blue"}) items.Add(s);
    }
};

int s_Chosen = -2;
void Chosen(int index) { s_Chosen = index; }

}  // namespace

TEST_F(Choices, ArrowKeysSelectNeighboursAndStopAtTheEnds) {
    struct Case { int start, key, expected; };
    const Case cases[] = {
        {0, cInput::Left, 0}, {0, cInput::Right, 1}, {2, cInput::Right, 2},
        {2, cInput::LeftThumbLeft, 1}, {1, cInput::RightThumbRight, 2}, {1, cInput::Up, 1},
    };
    for (const Case& c : cases) {
        int index = c.start;
        cComboBox* combo = new cComboBox(form, &index, "Colour", items, 10, 10, 200);
        int id = cWidgets::GetWidgetID(combo);
        form->messages.clear();
        form->SetFocus(combo);
        Key(c.key);
        EXPECT_EQ(c.expected, index) << c.start << " key " << c.key;
        if (c.expected == c.start) EXPECT_TRUE(form->messages.empty()) << c.start << " key " << c.key;
        else EXPECT_EQ((std::vector<Message>{{id, 3, std::to_string(c.start), std::to_string(c.expected)}}), form->messages);
        cWidgets::FreeWidget(combo);
    }
    int index = 0;
    cComboBox* empty = new cComboBox(form, &index, nullptr, cList<cStr>(), 10, 10, 200);
    form->SetFocus(empty);
    Key(cInput::Right);
    EXPECT_EQ(-1, index);
}

TEST_F(Choices, DropDownListsTheItemsAndTakesAClickOrTheKeys) {
    int index = 0;
    cComboBox* combo = new cComboBox(form, &index, nullptr, items, 10, 10, 200);
    Click(combo->GetRect().GetCenter());
    cComboBoxDropDown* list = combo->GetDropDown();
    ASSERT_NE(nullptr, list);
    EXPECT_GT(cWidgets::GetWidgetLayer(list), cWidgets::GetWidgetLayer(combo));
    EXPECT_EQ(0, list->GetHighlight());

    theme.painted.clear();
    cWidgets::Render();
    int shown = 0;
    for (const PaintedPart& p : theme.painted) shown += p.part == cTheme::Parts::ComboBoxItem;
    EXPECT_EQ(3, shown);

    const cRect r = list->GetRect();
    Click(cVec2(r.GetCenter().x, r.y1 - 2.5f * cComboBoxDropDown::ItemHeight));  // the third item
    EXPECT_EQ(2, index);
    EXPECT_EQ(nullptr, combo->GetDropDown());  // closed, freed at the next frame
    EXPECT_FALSE(cWidgets::IsCaptured());

    // Keys: down twice stops at the last; up once; Enter chooses.
    Click(combo->GetRect().GetCenter());
    Char(0, cInput::Up);
    Char(0, cInput::Up);
    Char(0, cInput::Up);
    Char(0, cInput::Down);
    Key(cInput::Enter);
    EXPECT_EQ(1, index);
    cWidgets::FreeDead();

    // A click outside closes the list and changes nothing.
    Click(combo->GetRect().GetCenter());
    Click(cVec2(5, 5));
    EXPECT_EQ(nullptr, combo->GetDropDown());
    EXPECT_EQ(1, index);
    EXPECT_EQ(2u, form->messages.size());
}

TEST_F(Choices, FreeStandingListCallsBackAndFreedComboClosesItsList) {
    s_Chosen = -2;
    cComboBoxDropDown* pop = new cComboBoxDropDown(Chosen, items, 1);
    cWidgets::AddWidget(pop, 10);
    pop->SetRect(cRect(0, 0, 100, 3 * cComboBoxDropDown::ItemHeight));
    Click(cVec2(50, 3 * cComboBoxDropDown::ItemHeight - 1));
    EXPECT_EQ(0, s_Chosen);

    int index = 0;
    cComboBox* combo = new cComboBox(form, &index, nullptr, items, 10, 10, 200);
    Click(combo->GetRect().GetCenter());
    cComboBoxDropDown* list = combo->GetDropDown();
    cWidgets::FreeWidget(combo);
    EXPECT_TRUE(list->IsDead());
    EXPECT_FALSE(cWidgets::IsCaptured());
}

TEST_F(Choices, BindButtonRecordsTheNextKeyOrButton) {
    int code = cInput::Space;
    cBindButton* bind = new cBindButton(form, &code, "Jump", 10, 10, 200);
    int id = cWidgets::GetWidgetID(bind);
    theme.painted.clear();
    cWidgets::Render();
    EXPECT_EQ(cInput::ToString(cInput::Space).ToChar(), theme.Find(cTheme::Parts::BindButton)->text);

    for (int next : {(int)cInput::F5, (int)cInput::RightButton, (int)cInput::ButtonA}) {
        int old = code;
        Click(bind->GetRect().GetCenter());
        EXPECT_TRUE(bind->IsWaiting());
        Frame(cInput::NewButtonEvent(next, true));
        Frame(cInput::NewButtonEvent(next, false));
        EXPECT_EQ(next, code);
        EXPECT_FALSE(bind->IsWaiting());
        EXPECT_EQ((Message{id, 1, std::to_string(old), std::to_string(next)}), form->messages.back());
    }
    EXPECT_EQ(3u, form->messages.size());
    theme.painted.clear();
    cWidgets::Render();
    EXPECT_EQ("(A)", theme.Find(cTheme::Parts::BindButton)->text);
}
