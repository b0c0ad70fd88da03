// Path fields: the browse button asks the file dialog and reports a changed
// path; a cancelled or unchanged choice and a disabled field report nothing.
#include <gtest/gtest.h>

#include <string>

#include "ControlsSupport.h"
#include "zozud/widgets/Button.h"
#include "zozud/widgets/Edit.h"
#include "zozud/widgets/FilePn.h"

using namespace zozud;
using namespace zozud_test;

namespace {

std::string s_Title, s_Answer;
bool s_Accept = true;
bool FakeDialog(const char* title, cStr* file) {
    s_Title = title;
    if (s_Accept) *file = s_Answer.c_str();
    return s_Accept;
}

class FilePns : public ControlsTest {
public:
    void SetUp() override {
        ControlsTest::SetUp();
        cFilePn::SetBrowseHook(FakeDialog);
    }
    void TearDown() override {
        ControlsTest::TearDown();
        cFilePn::SetBrowseHook(nullptr);
    }
};

}  // namespace

TEST_F(FilePns, BrowseChangesThePathOnlyForANewChoice) {
    cStr path = "Models/a.obj";
    cFilePn* pn = new cFilePn(form, &path, "Mesh");
    int id = cWidgets::GetWidgetID(pn);
    const cRect& field = pn->GetEdit()->GetRect();
    const cRect& button = pn->GetBrowseButton()->GetRect();
    ASSERT_TRUE(field.IsValid() && button.IsValid());
    EXPECT_LT(field.x1, button.x0);

    struct Case { const char* what; bool accept, enabled; const char* answer, *result; bool reported; };
    for (const Case& c : {Case{"cancelled", false, true, "x", "Models/a.obj", false},
                          Case{"same file", true, true, "Models/a.obj", "Models/a.obj", false},
                          Case{"disabled", true, false, "Models/b.obj", "Models/a.obj", false},
                          Case{"new file", true, true, "Models/b.obj", "Models/b.obj", true}}) {
        form->messages.clear();
        s_Accept = c.accept;
        s_Answer = c.answer;
        pn->SetEnabled(c.enabled);
        Click(pn->GetBrowseButton()->GetRect().GetCenter());
        EXPECT_STREQ(c.result, path) << c.what;
        EXPECT_STREQ(c.result, pn->GetEdit()->GetBuffer()) << c.what;
        EXPECT_EQ(c.reported, !form->messages.empty()) << c.what;
    }
    EXPECT_EQ("Mesh", s_Title);
    EXPECT_EQ((std::vector<Message>{{id, 8, "Models/a.obj", "Models/b.obj"}}), form->messages);
}
