// Edit fields: key sequences and what they leave in the buffer, the cursor
// and the selection; committing, cancelling and clamping the bound value;
// clipboard, undo and paste filtering; linked range ends. Vector fields edit
// one component each; path fields report a path chosen with the browse button.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ControlsSupport.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/widgets/Button.h"
#include "zozud/widgets/Edit.h"
#include "zozud/widgets/EditVec.h"
#include "zozud/widgets/FilePn.h"

using namespace zozud;
using namespace zozud_test;

namespace {

std::string s_Clipboard;
bool ToClipboard(const char* text) { s_Clipboard = text; return true; }
bool FromClipboard(cStr* text) { *text = s_Clipboard.c_str(); return true; }

class Edits : public ControlsTest {
public:
    static void SetUpTestSuite() {
        // The field keeps what the default font prints.
        cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
    }
    static void TearDownTestSuite() {
        cList<cIO::Source*>& sources = cIO::GetSourcesMutable();
        delete sources.GetLast();
        sources.RemoveAt(sources.Count() - 1);
    }
    void SetUp() override {
        ControlsTest::SetUp();
        cIO::ShellHooks hooks;
        hooks.copyToClipboard = ToClipboard;
        hooks.copyFromClipboard = FromClipboard;
        cIO::SetShellHooks(hooks);
        s_Clipboard.clear();
    }
    void TearDown() override {
        ControlsTest::TearDown();
        cIO::SetShellHooks(cIO::ShellHooks());
    }
};

class EditVecs : public ControlsTest {};

struct Editing {
    const char* what;
    const char* start;
    std::function<void()> keys;
    const char* buffer;
    int cursor, selStart, selLength;
};

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

TEST_F(Edits, KeySequencesEditBufferCursorAndSelection) {
    using I = cInput;
    const Editing cases[] = {
        {"typing into an empty field", "", [] { Type("abc"); }, "abc", 3, 3, 0},
        {"backspace before the cursor", "hello", [] { Key(I::End); Key(I::BackSpace); Key(I::BackSpace); }, "hel", 3, 3, 0},
        {"delete at the cursor", "hello", [] { Key(I::Home); Key(I::Delete); }, "ello", 0, 0, 0},
        {"delete at the end does nothing", "hello", [] { Key(I::End); Key(I::Delete); }, "hello", 5, 5, 0},
        {"backspace at the start does nothing", "hi", [] { Key(I::Home); Key(I::BackSpace); }, "hi", 0, 0, 0},
        {"typing replaces a selection", "hello", [] { Key(I::Home); Shift(I::Right); Shift(I::Right); Type("J"); }, "Jllo", 1, 1, 0},
        {"backspace deletes a selection", "hello", [] { Key(I::End); Shift(I::Left); Shift(I::Left); Shift(I::Left); Key(I::BackSpace); }, "he", 2, 2, 0},
        {"shift+left shrinks what shift+right grew", "hello", [] { Key(I::Home); Shift(I::Right); Shift(I::Right); Shift(I::Left); }, "hello", 1, 0, 1},
        {"shift+home selects back to the start", "hello", [] { Key(I::End); Key(I::Left); Shift(I::Home); }, "hello", 0, 0, 4},
        {"control+a then typing replaces all", "hello", [] { Ctrl(I::A); Type("x"); }, "x", 1, 1, 0},
        {"arrows stop at both ends", "ab", [] { Key(I::Home); Key(I::Left); Key(I::End); Key(I::Right); Key(I::Left); }, "ab", 1, 1, 0},
        {"left without shift drops the selection", "hello", [] { Ctrl(I::A); Key(I::Left); }, "hello", 4, 4, 0},
        {"insert in the middle", "held", [] { Key(I::Home); Key(I::Right); Key(I::Right); Key(I::Right); Type("lo worl"); }, "hello world", 10, 10, 0},
    };
    for (const Editing& c : cases) {
        cStr value = c.start;
        cEdit* edit = new cEdit(form, &value, nullptr, 10, 10, 200);
        Click(edit->GetRect().GetCenter());
        ASSERT_TRUE(edit->IsEditing()) << c.what;
        c.keys();
        EXPECT_STREQ(c.buffer, edit->GetBuffer()) << c.what;
        EXPECT_EQ(c.cursor, edit->GetCursor()) << c.what;
        EXPECT_EQ(c.selStart, edit->GetSelStart()) << c.what;
        EXPECT_EQ(c.selLength, edit->GetSelLength()) << c.what;
        EXPECT_STREQ(c.start, value) << c.what << ": not committed yet";
        Key(I::Esc);
        cWidgets::FreeWidget(edit);
    }
}

TEST_F(Edits, EnterCommitsEscCancelsAndOnlyChangesAreReported) {
    cStr name = "box";
    cEdit* edit = new cEdit(form, &name, "Name", 10, 10, 200);
    int id = cWidgets::GetWidgetID(edit);
    const cVec2 at = edit->GetFieldRect().GetCenter();

    Click(at);
    Key(cInput::End);
    Type("es");
    Key(cInput::Esc);
    EXPECT_STREQ("box", name);
    EXPECT_STREQ("box", edit->GetBuffer());
    EXPECT_FALSE(cWidgets::IsCaptured());

    Click(at);
    Key(cInput::End);
    Type("es");
    Key(cInput::Enter);
    EXPECT_STREQ("boxes", name);
    Click(at);
    Key(cInput::Enter);  // unchanged: no message
    EXPECT_EQ((std::vector<Message>{{id, 8, "box", "boxes"}}), form->messages);

    // A click elsewhere commits too, and the click still reaches its target.
    cButton* other = new cButton(form, "Other", 10, 60, 100);
    Click(at);
    Type("!");
    Click(other->GetRect().GetCenter());
    EXPECT_STREQ("boxes!", name);
    EXPECT_EQ(cWidgets::GetWidgetID(other), form->messages.back().id);
}

TEST_F(Edits, NumbersParseClampAndKeepTheValueOnBadText) {
    int count = 5;
    const int lo = 0, hi = 100;
    float scale = 1.5f;
    cEdit* ints = new cEdit(form, &count, nullptr, 10, 10, 200);
    ints->SetMinMax(&lo, &hi);
    cEdit* floats = new cEdit(form, &scale, nullptr, 10, 40, 200);
    EXPECT_STREQ("5", ints->GetBuffer());
    EXPECT_STREQ("1.500", floats->GetBuffer());
    const int idI = cWidgets::GetWidgetID(ints), idF = cWidgets::GetWidgetID(floats);

    struct Case { cEdit* edit; const char* typed; int count; float scale; const char* shown; };
    const Case cases[] = {
        {ints, "x12", 5, 1.5f, "5"},  // no number: unchanged
        {ints, "500", 100, 1.5f, "100"},
        {ints, "-3", 0, 1.5f, "0"},
        {floats, "2.25", 0, 2.25f, "2.250"},
        {floats, "abc", 0, 2.25f, "2.250"},
    };
    for (const Case& c : cases) {
        Retype(c.edit->GetRect().GetCenter(), c.typed);
        EXPECT_EQ(c.count, count) << c.typed;
        EXPECT_EQ(c.scale, scale) << c.typed;
        EXPECT_STREQ(c.shown, c.edit->GetBuffer()) << c.typed;
    }
    EXPECT_EQ((std::vector<Message>{{idI, 6, "5", "100"}, {idI, 6, "100", "0"}, {idF, 7, "1.5", "2.25"}}),
              form->messages);

    // Bounds set later clamp the value at once.
    const int low = 10;
    ints->SetMinMax(&low, &hi);
    EXPECT_EQ(10, count);
    EXPECT_STREQ("10", ints->GetBuffer());
}

TEST_F(Edits, RangeEndsPushEachOtherApart) {
    int low = 2, high = 8;
    cEdit* lowEdit = new cEdit(form, &low, nullptr, 10, 10, 200);
    cEdit* highEdit = new cEdit(form, &high, nullptr, 10, 40, 200);
    lowEdit->SetSiblings(nullptr, highEdit);
    highEdit->SetSiblings(lowEdit, nullptr);
    struct Case { cEdit* edit; const char* typed; int low, high; };
    for (const Case& c : {Case{lowEdit, "9", 9, 10}, Case{highEdit, "4", 3, 4}, Case{lowEdit, "1", 1, 4}}) {
        Retype(c.edit->GetRect().GetCenter(), c.typed);
        EXPECT_EQ(c.low, low) << c.typed;
        EXPECT_EQ(c.high, high) << c.typed;
    }
    EXPECT_STREQ("4", highEdit->GetBuffer());
}

TEST_F(Edits, ClipboardUndoAndPasteFiltering) {
    cStr text = "hello";
    cEdit* edit = new cEdit(form, &text, nullptr, 10, 10, 200);
    Click(edit->GetRect().GetCenter());
    Ctrl(cInput::A);
    Ctrl(cInput::C);
    EXPECT_EQ("hello", s_Clipboard);
    Ctrl(cInput::X);
    EXPECT_STREQ("", edit->GetBuffer());
    Ctrl(cInput::Z);
    EXPECT_STREQ("hello", edit->GetBuffer());

    // A pasted multi-line text keeps what the font prints, at the cursor.
    s_Clipboard = "one\ntwo\r\n\tthree\x01";
    Key(cInput::End);
    Ctrl(cInput::V);
    EXPECT_STREQ("helloonetwothree", edit->GetBuffer());
    Ctrl(cInput::Z);
    EXPECT_STREQ("hello", edit->GetBuffer());

    // Undo goes back one edit at a time, then has nothing left.
    Type("ab");
    Key(cInput::BackSpace);
    for (const char* expected : {"helloab", "helloa", "hello", "hello"}) {
        Ctrl(cInput::Z);
        EXPECT_STREQ(expected, edit->GetBuffer());
    }
    // Committing forgets the earlier buffers.
    Type("!");
    Key(cInput::Enter);
    Click(edit->GetRect().GetCenter());
    EXPECT_FALSE(edit->Undo());
    EXPECT_STREQ("hello!", text);
}

TEST_F(Edits, ReadOnlyFieldsCopyButDoNotChangeAndDisabledOnesDoNotStart) {
    cStr text = "fixed";
    cEdit* edit = new cEdit(form, &text, nullptr, 10, 10, 200);
    edit->SetReadOnly(true);
    s_Clipboard = "pasted";
    Click(edit->GetRect().GetCenter());
    Type("x");
    Key(cInput::BackSpace);
    Ctrl(cInput::V);
    Ctrl(cInput::A);
    Ctrl(cInput::X);
    EXPECT_STREQ("fixed", edit->GetBuffer());
    EXPECT_EQ("pasted", s_Clipboard);
    Ctrl(cInput::C);
    EXPECT_EQ("fixed", s_Clipboard);
    Key(cInput::Enter);

    edit->SetEnabled(false);
    Click(edit->GetRect().GetCenter());
    EXPECT_FALSE(edit->IsEditing());
    EXPECT_TRUE(form->messages.empty());
}

TEST_F(Edits, TabCommitsAndMovesTheFocusToTheNextField) {
    int a = 1, b = 2;
    cEdit* first = new cEdit(form, &a, nullptr, 10, 10, 200);
    cEdit* second = new cEdit(form, &b, nullptr, 10, 40, 200);
    Click(first->GetRect().GetCenter());
    Ctrl(cInput::A);
    Type("7");
    Key(cInput::Tab);
    EXPECT_EQ(7, a);
    EXPECT_EQ(second, form->GetFocus());
    EXPECT_TRUE(second->IsEditing());
    Type("9");  // the whole text was selected on arrival
    Key(cInput::Up);
    EXPECT_EQ(9, b);
    EXPECT_EQ(first, form->GetFocus());
}

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
