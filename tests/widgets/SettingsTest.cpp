// The framework's settings: the XML round trip with the constructor's
// defaults and the two platform lists kept apart, the frame-rate box
// following ShowFps, Control + "~" opening the log window, the confirmations
// before the application's procedures, and GenFont's font.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsSupport.h"
#include "support/Process.h"
#include "zozud/core/Log.h"
#include "zozud/core/Timer.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/render/Font.h"
#include "zozud/widgets/FpsDisplay.h"
#include "zozud/widgets/Settings.h"

using namespace zozud;
using namespace zozud_test;

namespace {

class Settings : public ::testing::Test {
public:
    void SetUp() override { SetupInput(); }
    void TearDown() override {
        cWidgets::FreeAll();
        TeardownInput();
        cTimer::SetTimeScale(1);
    }
};

// Every frame-rate box alive in any layer.
int FpsBoxes() {
    int n = 0;
    for (int layer = 0; layer < cWidgets::LayerCount; layer++) {
        const cList<cWidget*>& widgets = cWidgets::GetLayer(layer);
        for (int i = 0; i < widgets.Count(); i++)
            if (dynamic_cast<cFpsDisplay*>(widgets[i])) n++;
    }
    return n;
}

std::vector<int> s_Dialogs;

// A widget behind the settings that takes every key it is offered.
class KeyTaker : public cWidget {
public:
    std::vector<int> keys;
    bool OnButtonDown(int key) override {
        keys.push_back(key);
        return true;
    }
};

struct Asked {
    std::string title, text, platform;
    bool normalMaps = false;
    int calls = 0;
} s_Asked;
bool s_Answer = false;

std::vector<std::string> s_Listed;
int s_Toggles = 0;

// Writes the settings to a file and reads them into a fresh object.
std::string RoundTrip(cSettings* written, cSettings* read) {
    testsupport::TempDir dir;
    const std::string path = dir / "Settings.xml";
    EXPECT_TRUE(written->WriteToFile(path.c_str()));
    EXPECT_TRUE(read->ReadFromFile(path.c_str()));
    return testsupport::ReadFile(path);
}

}  // namespace

TEST_F(Settings, XmlRoundTripKeepsEveryValueAndBothPlatforms) {
    cSettings w, r;
    w.MenuSceneXmlFile = "Scenes/Menu.xml";
    w.Language = 7;  // Japanese
    w.FullScreen = w.ShowGrid = w.Wireframe = w.ShowFps = true;
    w.ShowClassExplorerOnStartup = w.ControlViewerWithGamepad = w.Mute = true;
    w.Multithreading = false;
    w.TimeScale = 0.375f;
    w.Title = "Dune <Sand> & \"Spice\"";
    w.Resources = 5;        // BSP
    w.ShadersPlatform = 1;  // Xbox 360
    w.LowQuality = w.HomeButtonOnTheLeft = w.IncludeNormalMaps = true;
    w.Platform = 1;  // Tizen
    std::string text = RoundTrip(&w, &r);
    EXPECT_STREQ("Scenes/Menu.xml", r.MenuSceneXmlFile.ToChar());
    EXPECT_STREQ("Dune <Sand> & \"Spice\"", r.Title.ToChar());
    EXPECT_TRUE(r.FullScreen && r.ShowGrid && r.Wireframe && r.ShowFps && r.LowQuality && r.HomeButtonOnTheLeft);
    EXPECT_TRUE(r.ShowClassExplorerOnStartup && r.ControlViewerWithGamepad && r.Mute && r.IncludeNormalMaps);
    EXPECT_FALSE(r.Multithreading || r.HomeButtonOnTheRight);
    EXPECT_EQ(0.375f, r.TimeScale);
    EXPECT_EQ((std::vector<unsigned>{7, 5, 1, 1}), (std::vector<unsigned>{r.Language, r.Resources, r.ShadersPlatform, r.Platform}));
    for (const char* saved : {"Japanese", "BSP", "Xbox 360", "Tizen", "0.375"})
        EXPECT_NE(std::string::npos, text.find(saved)) << saved << " in\n" << text;

    // Only one platform differs from its default: the other keeps its own.
    // Values the constructor sets away from zero are written all the same, so
    // they come back over whatever the object held.
    cSettings onlyBuild, readBuild;
    onlyBuild.Platform = 1;
    readBuild.TimeScale = 3;
    readBuild.Multithreading = false;
    RoundTrip(&onlyBuild, &readBuild);
    EXPECT_EQ(0u, readBuild.ShadersPlatform);
    EXPECT_EQ(1u, readBuild.Platform);
    EXPECT_EQ(1.0f, readBuild.TimeScale);
    EXPECT_TRUE(readBuild.Multithreading);
}

TEST_F(Settings, ShowFpsMakesAndFreesExactlyOneBoxPerTurn) {
    cSettings* s = new cSettings;
    cWidgets::AddWidget(s, cSettings::Layer);
    // Each step: ShowFps, frames rendered, boxes alive afterwards.
    struct Step {
        bool show;
        int frames;
        int boxes;
    };
    const Step steps[] = {{false, 2, 0}, {true, 1, 1}, {true, 3, 1}, {false, 1, 0}, {false, 2, 0},
                          {true, 2, 1},  {false, 1, 0}, {true, 1, 1}, {false, 3, 0}};
    for (const Step& step : steps) {
        s->ShowFps = step.show;
        for (int f = 0; f < step.frames; f++) cWidgets::Render();
        EXPECT_EQ(step.boxes, FpsBoxes()) << "show " << step.show << ", " << step.frames << " frames";
        EXPECT_EQ(step.boxes == 1, s->GetFpsDisplayID() >= 0);
    }

    // A box freed by someone else is made again, and the settings' own
    // destruction takes its box along. Every frame also sets the time scale.
    s->TimeScale = 0.5f;
    s->ShowFps = true;
    cWidgets::Render();
    cWidgets::FreeWidget(s->GetFpsDisplayID());
    cWidgets::Render();
    EXPECT_EQ(1, FpsBoxes());
    EXPECT_EQ(0.5f, cTimer::GetTimeScale());
    cWidgets::FreeWidget(s);
    EXPECT_EQ(0, FpsBoxes());
}

TEST_F(Settings, ControlTildeOpensTheLogWindowAndTildeAloneDoesNot) {
    cLog::DialogHooks hooks;
    hooks.showDialog = [](cLog::Mode::Enum mode) { s_Dialogs.push_back(mode); };
    cLog::SetDialogHooks(hooks);
    struct Case {
        const char* what;
        std::vector<std::pair<int, bool>> events;  // code, pressed
        int dialogs;
        std::vector<int> passedOn;                 // presses the widget behind receives
    };
    const int C = cInput::Control, T = cInput::Tilde, A = cInput::A;
    const std::vector<Case> cases = {
        {"control then tilde", {{C, true}, {T, true}}, 1, {C}},
        {"tilde alone", {{T, true}}, 0, {T}},
        {"control released first", {{C, true}, {C, false}, {T, true}}, 0, {C, T}},
        {"control and another key", {{C, true}, {A, true}}, 0, {C, A}},
        {"tilde then control", {{T, true}, {C, true}}, 0, {T, C}},
        {"twice", {{C, true}, {T, true}, {T, false}, {T, true}}, 2, {C}},
    };
    for (const Case& c : cases) {
        cSettings* s = new cSettings;
        cWidgets::AddWidget(s, cSettings::Layer);
        KeyTaker* behind = new KeyTaker;
        cWidgets::AddWidget(behind, 0);
        s_Dialogs.clear();
        for (auto& e : c.events) cInput::AddEvent(cInput::NewButtonEvent(e.first, e.second));
        cWidgets::HandleInputEvents();
        EXPECT_EQ(c.dialogs, (int)s_Dialogs.size()) << c.what;
        for (int mode : s_Dialogs) EXPECT_EQ(cLog::Mode::Log, mode) << c.what;
        EXPECT_EQ(c.passedOn, behind->keys) << c.what;
        cWidgets::FreeAll();
        cInput::FreeEvents();
    }
    cLog::SetDialogHooks(cLog::DialogHooks());
}

TEST_F(Settings, ProceduresRunOnlyAfterAYes) {
    cSettings::ShellHooks shell;
    shell.confirm = [](const char* title, const char* text) {
        s_Asked.title = title, s_Asked.text = text;
        return s_Answer;
    };
    cSettings::SetShellHooks(shell);
    cSettings::Procedures procedures;
    procedures.precompileShaders = [](const char* platform) {
        s_Asked.platform = platform, s_Asked.calls++;
        return true;
    };
    procedures.buildData = [](const char* platform, bool normalMaps) {
        s_Asked.platform = platform, s_Asked.normalMaps = normalMaps, s_Asked.calls++;
        return true;
    };
    cSettings::SetProcedures(procedures);
    struct Case {
        bool build;
        unsigned platform;
        bool answer;
        const char* title;
        const char* named;  // the platform as the question names it
        int calls;
    };
    const Case cases[] = {
        {false, 0, false, "Confirm Precompile Shaders", "\"PC\"", 0},
        {false, 1, true, "Confirm Precompile Shaders", "\"Xbox 360\"", 1},
        {true, 0, false, "Confirm Build Data For iOS", "\"iOS\"", 0},
        {true, 1, true, "Confirm Build Data For Tizen", "\"Tizen\"", 1},
    };
    for (const Case& c : cases) {
        cSettings s;
        s.IncludeNormalMaps = true;
        (c.build ? s.Platform : s.ShadersPlatform) = c.platform;
        s_Asked = Asked();
        s_Answer = c.answer;
        c.build ? s.BuildData() : s.PrecompileShaders();
        EXPECT_EQ(c.title, s_Asked.title);
        EXPECT_NE(std::string::npos, s_Asked.text.find(c.named)) << s_Asked.text;
        EXPECT_EQ(c.calls, s_Asked.calls);
        if (c.calls) {
            EXPECT_EQ(std::string(c.named), "\"" + s_Asked.platform + "\"");
            EXPECT_EQ(c.build, s_Asked.normalMaps);
        }
    }
    // Without the shell's question nothing is confirmed, so nothing runs.
    cSettings::SetShellHooks(cSettings::ShellHooks());
    s_Asked = Asked();
    cSettings().BuildData();
    EXPECT_EQ(0, s_Asked.calls);
    cSettings::SetProcedures(cSettings::Procedures());
}

TEST_F(Settings, ListUnusedAsksForTheChosenKindAndLogsTheAnswer) {
    cSettings::Procedures procedures;
    procedures.listUnused = [](const char* folder, const char* subfolder, const char* className, cList<cStr>* reserved,
                               cList<cStr>* unused) {
        s_Listed.push_back(std::string(folder) + "|" + subfolder + "|" + className);
        reserved->Add("Default");
        unused->Add("Old");
        unused->Add("Older");
        return true;
    };
    cSettings::SetProcedures(procedures);
    struct Case {
        unsigned kind;
        const char* asked;
        const char* logged;
    };
    const Case cases[] = {
        {0, "Materials||cMaterial", "Reserved materials (1): Default\r\nUnused materials (2): Old Older"},
        {1, "Textures||cTexture", "Reserved textures (1): Default\r\nUnused textures (2): Old Older"},
        {2, "Models||cModel", "Unused cModel (2):\r\nOld\r\nOlder"},
        {3, "Models|Anims|cAnim", "Unused cAnim (2):"},
        {6, "Sounds||caf", "Unused caf (2):"},
    };
    for (const Case& c : cases) {
        cSettings s;
        s.Resources = c.kind;
        s_Listed.clear();
        int before = cLog::GetLog().Length();
        s.ListUnused();
        ASSERT_EQ(1u, s_Listed.size());
        EXPECT_EQ(c.asked, s_Listed[0]);
        std::string logged(cLog::GetLog().ToChar() + before);
        EXPECT_NE(std::string::npos, logged.find(c.logged)) << logged;
    }
    cSettings::SetProcedures(cSettings::Procedures());
    EXPECT_FALSE(cSettings::ListUnusedResources("Models", "", "cModel", false));
}

TEST_F(Settings, MakeFontWritesAFontNamedAfterTheFaceAndSize) {
    const char* dejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!testsupport::FileExists(dejaVu)) GTEST_SKIP() << "no DejaVu Sans";
    testsupport::TempDir dir;
    cStr name, error;
    ASSERT_TRUE(cSettings::MakeFont(dejaVu, 11, false, dir.Path().c_str(), &name, &error)) << error.ToChar();
    EXPECT_STREQ("DejaVu Sans 11", name.ToChar());
    cFile file;
    ASSERT_TRUE(cIO::LoadFile((dir / "Fonts/DejaVu Sans 11.cFont").c_str(), &file));
    cFont font;
    ASSERT_TRUE(font.Read(file));
    EXPECT_EQ(95, font.Glyphs.Count());  // 32..126, all in the face
    EXPECT_TRUE(testsupport::FileExists(dir / "Fonts/DejaVu Sans 11.bmp"));
    ASSERT_TRUE(cSettings::MakeFont(dejaVu, 8, true, dir.Path().c_str(), &name, &error)) << error.ToChar();
    EXPECT_STREQ("DejaVu Sans B8", name.ToChar());

    struct Bad {
        std::string file;
        int size;
        const char* reason;
    };
    testsupport::WriteFile(dir / "junk.ttf", "not a font");
    const Bad bad[] = {{dir / "junk.ttf", 11, "not a font file"}, {dejaVu, 257, "impossible size"}};
    for (const Bad& b : bad) {
        error = "";
        EXPECT_FALSE(cSettings::MakeFont(b.file.c_str(), b.size, false, dir.Path().c_str(), &name, &error));
        EXPECT_NE(std::string::npos, std::string(error.ToChar()).find(b.reason)) << error.ToChar();
    }
}

TEST_F(Settings, TheClassExplorerOpensOnTheFirstFrameOnlyWhenAsked) {
    cSettings::SetToggleClassExplorer([] { s_Toggles++; });
    const struct {
        bool onStartup;
        bool setLater;  // turned on after the first frame
        int toggles;
    } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 0}};
    for (const auto& c : cases) {
        cSettings* s = new cSettings;
        cWidgets::AddWidget(s, cSettings::Layer);
        s_Toggles = 0;
        s->ShowClassExplorerOnStartup = c.onStartup;
        cWidgets::Render();
        s->ShowClassExplorerOnStartup = c.onStartup || c.setLater;
        for (int f = 0; f < 3; f++) cWidgets::Render();
        EXPECT_EQ(c.toggles, s_Toggles) << c.onStartup << c.setLater;
        cWidgets::FreeAll();
    }
    cSettings::SetToggleClassExplorer(nullptr);
}
