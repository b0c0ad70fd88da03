// The live keyboard the shell lends the input layer, on the test display:
// xdotool holds keys down in the X server, the input layer polls them.
#include "support/Desktop.h"

#include "platform/linux/LinuxMainInternal.h"

using namespace testsupport;
using zozud::cInput;

namespace {

class Keyboard : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        static bool started = false;
        if (!started) {
            ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
            cLinuxMain_BuildKeyTables();
            started = true;
        }
    }
    void TearDown() override { Shell("xdotool keyup a shift ctrl BackSpace 2>/dev/null"); }

    // The character events one poll queues: (code, character) pairs.
    static std::vector<std::pair<int, int>> Poll() {
        std::vector<std::pair<int, int>> typed;
        cInput::Acquire();
        while (cInput::Event* event = cInput::GetEvent()) {
            if (event->Type == cInput::EventType::Char) typed.push_back({event->Code, event->Char});
            delete event;
        }
        return typed;
    }
};

}  // namespace

TEST_F(Keyboard, HeldKeysReadDownAndTypeTheirCharacterWithTheModifiers) {
    struct Case {
        const char* keys;   // for xdotool keydown, the modifier first
        int         key;    // the input code that types
        std::pair<int, int> typed;
    };
    const Case cases[] = {
        {"a", cInput::A, {-1, 'a'}},
        {"shift a", cInput::A, {-1, 'A'}},
        {"ctrl a", cInput::A, {cInput::A, 1}},  // X types the control character
        {"BackSpace", cInput::BackSpace, {cInput::BackSpace, 8}},
    };
    for (const Case& c : cases) {
        Poll();
        EXPECT_FALSE(cInput::IsDownAcquire(c.key)) << c.keys;
        Shell(std::string("xdotool keydown ") + c.keys);
        EXPECT_TRUE(cInput::IsDownAcquire(c.key)) << c.keys;
        std::vector<std::pair<int, int>> typed = Poll();
        ASSERT_EQ(typed.size(), 1u) << c.keys;
        EXPECT_EQ(typed[0], c.typed) << c.keys;
        EXPECT_TRUE(cInput::IsDown(c.key)) << c.keys;
        Shell(std::string("xdotool keyup ") + c.keys);
        EXPECT_FALSE(cInput::IsDownAcquire(c.key)) << c.keys;
        Poll();
        EXPECT_FALSE(cInput::IsDown(c.key)) << c.keys;
    }
    // Either Shift key counts as Shift.
    Shell("xdotool keydown Shift_R");
    EXPECT_TRUE(cInput::IsDownAcquire(cInput::Shift));
    Shell("xdotool keyup Shift_R");
    EXPECT_FALSE(cInput::IsDownAcquire(cInput::Shift));
    EXPECT_FALSE(cInput::IsDownAcquire(cInput::CodeCount));
}
