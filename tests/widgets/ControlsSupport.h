// A form that records the change messages of its controls, a theme that
// records what it is asked to paint, and input helpers that queue events the
// way the shell does, a frame at a time.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "zozud/render/Render.h"
#include "zozud/widgets/Form.h"
#include "zozud/widgets/Widget.h"

namespace zozud_test {

using namespace zozud;

struct Message {
    int id, msg;
    std::string oldValue, newValue;  // as text, by the message's type
    bool operator==(const Message& o) const {
        return id == o.id && msg == o.msg && oldValue == o.oldValue && newValue == o.newValue;
    }
};

inline void PrintTo(const Message& m, std::ostream* os) {
    *os << "{" << m.id << ", " << m.msg << ", \"" << m.oldValue << "\", \"" << m.newValue << "\"}";
}

struct PaintedPart {
    int part;
    cRect rect, clip;  // the clip rectangle in force when it was painted
    std::string text;
    float pressed, enabled;
    bool checked;
    cColor color;
    int textureID, index;
};

struct RecordingTheme : cTheme {
    mutable std::vector<PaintedPart> painted;
    RecordingTheme() {
        CaptionHeight = 20, BorderWidth = 4, Padding = 4, SizeGripSize = 12, DragAlpha = 0.25f;
        SliderStepsInt = 20, SliderStepsFloat = 10;
    }
    void Draw(const DrawArgs& a) const override {
        painted.push_back({a.Part, a.Rect, cRender::GetClipRect(), a.Text.ToChar(), a.Pressed, a.Enabled, a.Checked,
                           a.Color, a.TextureID, a.Index});
    }
    std::vector<int> Parts() const {
        std::vector<int> parts;
        for (const PaintedPart& p : painted) parts.push_back(p.part);
        return parts;
    }
    const PaintedPart* Find(int part) const {
        for (const PaintedPart& p : painted)
            if (p.part == part) return &p;
        return nullptr;
    }
};

class RecordingForm : public cForm {
public:
    RecordingForm(const cTheme* theme) : cForm(nullptr, "Form", cRect(100, 100, 500, 400), theme) {}
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;
    std::vector<Message> messages;
};

// Keyboard state as the shell would report it; the hooks are installed by Setup.
void SetupInput();
void TeardownInput();
void SetModifiers(bool shift, bool control);

void Frame(cInput::Event* e);
void MoveTo(const cVec2& p);
void Click(const cVec2& p, bool doubleClick = false);
void Press(const cVec2& p);
void Release(const cVec2& p);
// A key as the shell sends it: pressed, its character event, released.
void Key(int code);
void Type(const char* text);  // character events of printable text
void Char(int ch, int code);  // one character event
void Shift(int code);         // a key with Shift held
void Ctrl(int code);          // a key with Control held
// Clicks at the field, selects all of it, types the text and presses Enter.
void Retype(const cVec2& at, const char* text);

// A recording form on layer 3 with queued input, freed after each test.
class ControlsTest : public ::testing::Test {
public:
    RecordingTheme theme;
    RecordingForm* form = nullptr;
    void SetUp() override {
        SetupInput();
        form = new RecordingForm(&theme);
        cWidgets::AddWidget(form, 3);
    }
    void TearDown() override {
        cWidgets::FreeAll();
        cWidgets::ReleaseCapture();
        TeardownInput();
    }
};

}  // namespace zozud_test
