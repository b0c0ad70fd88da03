// Vector fields: one field per component, side by side; a committed field
// changes only its component and reports with the vector control's id.
#include <gtest/gtest.h>

#include "ControlsSupport.h"
#include "zozud/widgets/Edit.h"
#include "zozud/widgets/EditVec.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class EditVecs : public ControlsTest {};

}  // namespace

TEST_F(EditVecs, EachFieldEditsItsOwnComponent) {
    float v[4] = {1, 2, 3, 99};
    cEditVec* vec = new cEditVec(3, form, v, "Position");
    ASSERT_EQ(3, vec->GetCount());
    EXPECT_EQ(nullptr, vec->GetEdit(3));
    for (int i = 0; i < 3; ++i) {
        const cRect& r = vec->GetEdit(i)->GetRect();
        EXPECT_TRUE(r.IsValid() && vec->GetRect().Contains(r.GetCenter())) << i;
        EXPECT_TRUE(i == 0 || vec->GetEdit(i - 1)->GetRect().x1 < r.x0) << i;
    }
    EXPECT_STREQ("2.000", vec->GetEdit(1)->GetBuffer());

    Retype(vec->GetEdit(1)->GetRect().GetCenter(), "5.5");
    EXPECT_EQ((std::vector<float>{1, 5.5f, 3, 99}), std::vector<float>(v, v + 4));
    EXPECT_EQ((std::vector<Message>{{cWidgets::GetWidgetID(vec), 7, "2", "5.5"}}), form->messages);

    v[2] = 7;
    vec->SetBufferFromValue();
    EXPECT_STREQ("7.000", vec->GetEdit(2)->GetBuffer());
}

TEST_F(EditVecs, IntComponentsAndCountOutsideOneToFour) {
    int v[5] = {1, 2, 3, 4, 5};
    cEditVec* vec = new cEditVec(9, form, v, nullptr);
    ASSERT_EQ(cEditVec::MaxCount, vec->GetCount());
    Retype(vec->GetEdit(3)->GetRect().GetCenter(), "40");
    EXPECT_EQ((std::vector<int>{1, 2, 3, 40, 5}), std::vector<int>(v, v + 5));
    EXPECT_EQ((std::vector<Message>{{cWidgets::GetWidgetID(vec), 6, "4", "40"}}), form->messages);
    EXPECT_EQ(1, (new cEditVec(0, form, v, nullptr))->GetCount());
}
