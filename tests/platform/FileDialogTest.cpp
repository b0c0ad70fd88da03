// The file, folder and font choosers driven like a user: xdotool types into
// the dialog while the test waits in it, as the application would.
#include <atomic>
#include <functional>
#include <thread>

#include "support/Desktop.h"

#include "platform/linux/LinuxMainInternal.h"

using namespace testsupport;
using zozud::cList;
using zozud::cStr;

namespace {

class Choosers : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
        if (cLinuxMain_Repeated.Count() == 0) cLinuxMain_BuildKeyTables();
        WriteFile(dir_ / "scene.tga", "x");
        WriteFile(dir_ / "notes.txt", "x");
        extensions_.Add(cStr("tga"));
        extensions_.Add(cStr("bmp"));
    }

    // Runs the dialog on this thread while another one waits for its window
    // and sends the keystrokes (xdotool key names; "type:" types a text).
    // Each dialog has its own title: a window just closed is never taken
    // for the next one.
    template <class Dialog>
    bool Drive(const char* title, std::vector<std::string> steps, Dialog dialog) {
        std::atomic<bool> done{false};
        std::thread user([title, steps, &done] {
            const std::string pattern = std::string("^") + title + "$";
            std::string id = FindWindow(pattern, 30, getpid());
            // A keystroke can be lost while the chooser settles: the steps are
            // sent again while it stays open, and at last it is closed, so
            // that the test fails instead of waiting for ever.
            for (int attempt = 0; attempt < 3 && !done && !id.empty(); attempt++) {
                Shell("sleep 0.7");
                for (const std::string& step : steps) {
                    if (id.empty() || done) break;
                    if (step.rfind("type:", 0) == 0)
                        Shell("xdotool windowfocus --sync " + id + " 2>/dev/null; xdotool type --delay 10 '" +
                              step.substr(5) + "'");
                    else if (step.rfind("wait:", 0) == 0)
                        id = FindWindow("^" + step.substr(5) + "$", 15, getpid());
                    else
                        Keys(id, step);
                    Shell("sleep 0.5");
                }
                Shell("sleep 1");
                id = done ? "" : FindWindow(pattern, 1, getpid());
            }
            for (int i = 0; i < 60 && !done; i++) {
                std::string stuck = FindWindow(pattern, 1, getpid());
                if (!done && !stuck.empty()) Keys(stuck, "Escape");
                Shell("sleep 0.5");
            }
        });
        bool result = dialog();
        done = true;
        user.join();
        return result;
    }

    TempDir     dir_;
    cList<cStr> extensions_;
};

}  // namespace

TEST_F(Choosers, EscapeCancels) {
    cStr value = "untouched";
    const std::pair<const char*, std::function<bool()>> dialogs[] = {
        {"Open Scene 1", [&] { return cLinuxMain_LoadFileDialog("Open Scene 1", extensions_, &value); }},
        {"Save Scene 0", [&] { return cLinuxMain_SaveFileDialog("Save Scene 0", extensions_, &value); }},
        {"Pick Folder 0", [&] { return cLinuxMain_SelectFolderDialog("Pick Folder 0", &value, "/"); }},
    };
    for (const auto& d : dialogs) {
        EXPECT_FALSE(Drive(d.first, {"Escape"}, d.second)) << d.first;
        EXPECT_STREQ(value.ToChar(), "untouched") << d.first;
    }
}

TEST_F(Choosers, TheFontDialogReleasesHeldKeys) {
    // A key held when the dialog came is released when it is gone.
    zozud::cInput::FreeEvents();
    cLinuxMain_Repeated[zozud::cInput::A] = true;
    EXPECT_FALSE(Drive("Select Font", {"Escape"}, [] { return cMain_ChooseFont(); }));
    EXPECT_FALSE(cLinuxMain_Repeated[zozud::cInput::A]);
    zozud::cInput::Event* released = zozud::cInput::GetEvent();
    ASSERT_NE(released, nullptr);
    EXPECT_TRUE(released->Code == int(zozud::cInput::A) && !released->IsPressed);
    delete released;
    EXPECT_STREQ(cMain_GetFontName().ToChar(), "Sans 72");
}

// The filter: the listed extensions in any letter case, folders to walk
// into, and in executable mode only what may be run.
TEST_F(Choosers, TheFilterShowsListedExtensionsOrExecutables) {
    cStr file;
    Drive("Filter", {"Escape"}, [&] { return cLinuxMain_LoadFileDialog("Filter", extensions_, &file); });
    WriteFile(dir_ / "UPPER.TGA", "x");
    WriteFile(dir_ / "run.sh", "x");
    chmod((dir_ / "run.sh").c_str(), 0700);
    struct Case {
        std::string name;
        bool shown, shownInExeMode;
    };
    const Case cases[] = {
        {dir_ / "scene.tga", true, false}, {dir_ / "UPPER.TGA", true, false}, {dir_ / "notes.txt", false, false},
        {dir_ / "run.sh", false, true},    {dir_.Path(), true, false},        {dir_ / "missing.bmp", true, false},
    };
    for (const Case& c : cases) {
        GtkFileFilterInfo info = {};
        info.contains = GTK_FILE_FILTER_FILENAME;
        info.filename = c.name.c_str();
        EXPECT_EQ(bool(cLinuxMain_FileDialogFilter(&info, nullptr)), c.shown) << c.name;
        cLinuxMain_SetExeMode(true);
        EXPECT_EQ(bool(cLinuxMain_FileDialogFilter(&info, nullptr)), c.shownInExeMode) << c.name;
        cLinuxMain_SetExeMode(false);
    }
}
