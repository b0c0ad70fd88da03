// The class explorer driven like a user: rows generated from a class with
// every wrapper kind, edits through queued input with undo and redo, the
// clipboard, list entries, files through fake dialogs, the history and the
// window toggles.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "view/ExplorerTestClass.h"
#include "widgets/ControlsSupport.h"
#include "zozud/io/IO.h"
#include "zozud/view/ClassExplorerStub.h"
#include "zozud/widgets/Button.h"
#include "zozud/widgets/ComboBox.h"
#include "zozud/widgets/Edit.h"
#include "zozud/widgets/EditVec.h"
#include "zozud/widgets/Panel.h"
#include "zozud/widgets/Slider.h"
#include "zozud/widgets/ToolBar.h"

using namespace zozud;
using namespace zozud_test;

namespace {

typedef cClassExplorer E;

RecordingTheme& Theme() {
    static RecordingTheme* theme = new RecordingTheme;  // lives until exit, like the framework's themes
    theme->ControlHeight = 20;
    return *theme;
}

class Explorer : public ::testing::Test {
public:
    void SetUp() override {
        SetupInput();
        E::Init();
        E::s_Theme = &Theme();
        E::s_ViewArea = cRect(0, 0, 1280, 1024);
        E::ClearObjects();
        cClassExplorer_ClipBoard.ClearAll();
        E::s_ClassExplorerNormalStateAlignTl = E::s_ClassExplorerNormalStateAlignBr = -1;
        E::s_MainMenuNormalStateAlignTl = E::s_MainMenuNormalStateAlignBr = -1;
        E::s_ClassExplorerMinStateAlign = E::s_MainMenuMinStateAlign = -1;
        E::s_ClassExplorerIsMaximized = E::s_MainMenuIsMaximized = false;
        E::s_Dialogs = E::FileDialogHooks();
    }
    void TearDown() override {
        if (E::GetVisible()) E::ToggleClassExplorer();
        if (E::GetMainMenu()) E::ToggleMainMenu();
        E::ClearObjects();
        cWidgets::FreeAll();
        TeardownInput();
    }
    E::Stub* Open(cClass* object, const char* name = "All") {
        E::AddObject(name, object, nullptr);
        E::ToggleClassExplorer();
        E::Stub* stub = E::GetClassExplorer();
        EXPECT_NE(stub, nullptr);
        stub->AlignControls();
        return stub;
    }
    cVec2 Centre(cWnd* w) { return w->GetRect().GetCenter(); }
    void Tool(E::Stub* stub, const char* caption) {
        cWnd* c = stub->GetToolControl(caption);
        ASSERT_NE(c, nullptr) << caption;
        stub->MsgProc(cWidgets::GetWidgetID(c), 0, nullptr, nullptr);
    }
    // Double click selects the field's text, typing replaces it, Enter commits.
    void TypeInto(cWnd* field, const char* text) {
        Click(Centre(field), true);
        Type(text);
        Key(cInput::Enter);
    }
    int Row(E::Stub* stub, const char* name) {
        int r = stub->FindRow(name);
        EXPECT_GE(r, 0) << name;
        return r;
    }
};

}  // namespace

TEST(ClassExplorerNames, DisplayNames) {
    const struct { const char* name; const char* shown; } cases[] = {
        {"MenuSceneXmlFile", "Menu Scene Xml File"},
        {"HomeButtonOnTheLeft", "Home Button On The Left"},
        {"&cSettings::ReloadTextures", "Reload Textures"},
        {"cSettings", "cSettings"},
        {"Snake_case_Name", "Snake_case_Name"},
        {"Layer2", "Layer 2"},
        {"Vec12x", "Vec 12x"},
        {"HTTPServer", "HTTPServer"},
        {"already Spaced", "already Spaced"},
        {"A::B::CdEf", "B:: Cd Ef"},  // only the first scope goes
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(std::string(E::GetDisplayName(c.name)), c.shown) << c.name;
}

TEST_F(Explorer, EveryWrapperKindGetsItsRowAndControl) {
    cExplorerAll all;
    E::Stub* stub = Open(&all);
    const struct { const char* member; int type; const char* caption; } rows[] = {
        {"Values", 9, "Values"},      {"Int", 5, "Int"},           {"Float", 5, "Float"},
        {"Bool", 3, "Bool"},          {"Name", 5, "Name"},         {"Key", 2, "Key"},
        {"Image", 17, "Image"},       {"Note", 20, "Note"},        {"SliderI", 10, "Slider I"},
        {"SliderF", 10, "Slider F"},  {"EditSliderI", 6, "Edit Slider I"}, {"EditSliderF", 6, "Edit Slider F"},
        {"Vec2", 13, "Vec 2"},        {"Vec3", 13, "Vec 3"},       {"Vec4", 13, "Vec 4"},
        {"Color", 18, "Color"},       {"Vec2i", 13, "Vec 2i"},     {"Vec3i", 13, "Vec 3i"},
        {"RangeI", 11, "Range I"},    {"RangeF", 11, "Range F"},   {"ImageFile", 16, "Image File"},
        {"SoundFile", 16, "Sound File"}, {"ModelFile", 16, "Model File"}, {"AnimFile", 16, "Anim File"},
        {"CameraFile", 16, "Camera File"}, {"BspFile", 16, "Bsp File"}, {"XmlFile", 16, "Xml File"},
        {"Shade", 4, "Shade"},        {"Shade2", 4, "Shade 2"},    {"Size", 4, "Size"},
        {"&cExplorerAll::Bump", 1, "Bump"}, {"Child", 1, "Child >"},
    };
    ASSERT_EQ(stub->GetRows().Count(), (int)(sizeof rows / sizeof rows[0]));
    float lastTop = 1e9f;
    for (int i = 0; i < stub->GetRows().Count(); i++) {
        cWnd* c = stub->GetRows()[i]->control;
        EXPECT_EQ(std::string(stub->GetRows()[i]->name), rows[i].member);
        EXPECT_EQ(c->GetType(), rows[i].type) << rows[i].member;
        EXPECT_EQ(std::string(c->GetCaption()), rows[i].caption);
        // Stacked top down in registration order, inside the form's client area, none overlapping.
        EXPECT_LE(c->GetRect().y1, lastTop) << rows[i].member;
        EXPECT_GT(c->GetRect().GetHeight(), 0) << rows[i].member;
        EXPECT_GE(c->GetRect().x0, stub->GetClientRect().x0);
        EXPECT_LE(c->GetRect().x1, stub->GetClientRect().x1);
        lastTop = c->GetRect().y0;
    }
    // The enumeration box lists the names and shows the value's position.
    all.Shade = 30;
    stub->DoExchange();
    cComboBox* shade = static_cast<cComboBox*>(stub->GetRowControl("Shade"));
    ASSERT_EQ(shade->GetItems().Count(), 3);
    EXPECT_EQ(std::string(shade->GetItems()[1]), "Medium");
    EXPECT_EQ(shade->GetIndex(), 2);

    // The button row runs its function; the sub-object's row steps in and "Back" returns.
    Click(Centre(stub->GetRowControl("&cExplorerAll::Bump")));
    EXPECT_EQ(all.Bumps, 1);
    Click(Centre(stub->GetRowControl("Child")));
    EXPECT_EQ(stub->GetObject(), &all.Child);
    ASSERT_EQ(stub->GetRows().Count(), 1);
    EXPECT_EQ(std::string(stub->GetRows()[0]->name), "Depth");
    Tool(stub, "Back");
    EXPECT_EQ(stub->GetObject(), &all);
}

TEST_F(Explorer, EditsUndoAndRedoToTheExactValues) {
    cExplorerAll all;
    all.Int = 7, all.Float = 0.1f, all.Name = "before edit", all.Vec3[1] = -0.3f, all.Shade = 20, all.SliderF = 1.3f;
    E::Stub* stub = Open(&all);
    auto text = [](float f) { return std::string(cStr::Format("%.9g", f).ToChar()); };
    auto type = [&](const char* row, const char* typed) {
        return [=, this] { TypeInto(stub->GetRowControl(row), typed); };
    };
    struct Case {
        const char* member;
        std::function<void()> edit;
        std::function<std::string()> value;
        std::string before, after;
    };
    const Case cases[] = {
        {"Int", type("Int", "42"), [&] { return std::to_string(all.Int); }, "7", "42"},
        {"Float", type("Float", "2.5"), [&] { return text(all.Float); }, text(0.1f), "2.5"},
        {"Name", type("Name", "after"), [&] { return std::string(all.Name); }, "before edit", "after"},
        {"Bool", [&] { Click(Centre(stub->GetRowControl("Bool"))); },
         [&] { return std::string(all.Bool ? "true" : "false"); }, "false", "true"},
        {"Vec3", [&] { TypeInto(static_cast<cEditVec*>(stub->GetRowControl("Vec3"))->GetEdit(1), "4.25"); },
         [&] { return text(all.Vec3[1]); }, text(-0.3f), "4.25"},
        {"Shade", [&] { static_cast<cComboBox*>(stub->GetRowControl("Shade"))->HandleSelection(cInput::Right); },
         [&] { return std::to_string(all.Shade); }, "20", "30"},
        {"SliderF", [&] { static_cast<cSlider*>(stub->GetRowControl("SliderF"))->HandleSliding(cInput::Left); },
         [&] { return text(all.SliderF); }, text(1.3f), text(1.3f - 2.0f / 10)},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.value(), c.before) << c.member;
        c.edit();
        EXPECT_EQ(c.value(), c.after) << c.member;
        EXPECT_EQ(std::string(all.Changed), c.member);
        for (const char* tool : {"Undo", "Redo", "Undo"}) {
            Tool(stub, tool);
            EXPECT_EQ(c.value(), tool[0] == 'U' ? c.before : c.after) << c.member << " after " << tool;
        }
    }
    // The panel shows the restored value; nothing is left to undo, everything to redo.
    EXPECT_EQ(std::string(static_cast<cEdit*>(stub->GetRowControl("Name"))->GetBuffer()), "before edit");
    EXPECT_FALSE(stub->UpdateUndoRedo(-1));
    stub->OnRender();
    EXPECT_FALSE(stub->GetToolControl("Undo")->IsEnabled());
    EXPECT_TRUE(stub->GetToolControl("Redo")->IsEnabled());
    // A new edit drops what could be redone.
    TypeInto(stub->GetRowControl("Int"), "9");
    EXPECT_FALSE(stub->UpdateUndoRedo(1));
    EXPECT_TRUE(stub->UpdateUndoRedo(-1));
    EXPECT_EQ(all.Int, 7);
}

TEST_F(Explorer, ClipBoardPastesOnlyOntoCompatibleValues) {
    cExplorerAll all;
    all.SliderF = 1.25f, all.EditSliderI = 6, all.Shade = 30, all.ImageFile = "Textures/a.bmp", all.Bool = true;
    E::Stub* stub = Open(&all);
    const struct { const char* from; const char* to; bool pastes; } cases[] = {
        {"SliderF", "Float", true},       {"SliderF", "EditSliderF", true}, {"SliderF", "Int", false},
        {"Float", "SliderF", true},       {"Int", "Float", false},          {"EditSliderI", "Int", true},
        {"EditSliderI", "SliderI", true}, {"Shade", "Shade2", true},        {"Shade", "Size", false},
        {"Shade", "Int", false},          {"ImageFile", "Name", true},      {"Name", "XmlFile", true},
        {"Bool", "Int", false},           {"Vec3", "Vec4", false},          {"Vec2", "Vec2i", false},
    };
    for (const auto& c : cases) {
        stub->FocusRow(Row(stub, c.from));
        ASSERT_TRUE(stub->Copy()) << c.from;
        EXPECT_EQ(std::string(cClassExplorer_ClipBoard.GetQuoteName()),
                  std::string(E::GetClipBoardName(stub->GetRows()[Row(stub, c.from)]->cls,
                                                  stub->GetRows()[Row(stub, c.from)]->extra)));
        stub->FocusRow(Row(stub, c.to));
        stub->OnRender();  // the tool bar follows the focus
        EXPECT_EQ(stub->ClipBoardIsCompatible(), c.pastes) << c.from << " -> " << c.to;
        EXPECT_EQ(stub->GetToolControl("Paste")->IsEnabled(), c.pastes) << c.from << " -> " << c.to;
        EXPECT_EQ(stub->Paste(), c.pastes) << c.from << " -> " << c.to;
    }
    EXPECT_TRUE(all.Float == 1.25f && all.EditSliderF == 1.25f && all.Int == 6 && all.Shade2 == 30u);
    EXPECT_EQ(std::string(all.Name), "Textures/a.bmp");
    EXPECT_EQ(std::string(all.XmlFile), "Textures/a.bmp");
    // A paste is an edit like any other.
    stub->FocusRow(Row(stub, "Name"));
    EXPECT_TRUE(stub->UpdateUndoRedo(-1));  // XmlFile back to empty
    EXPECT_EQ(std::string(all.XmlFile), "");
    EXPECT_TRUE(stub->UpdateUndoRedo(-1));
    EXPECT_EQ(std::string(all.Name), "start");
    // Rows without a value copy nothing.
    stub->FocusRow(Row(stub, "Child"));
    EXPECT_FALSE(stub->Copy());
    stub->FocusRow(Row(stub, "&cExplorerAll::Bump"));
    EXPECT_FALSE(stub->Copy());
}

TEST_F(Explorer, ExchangeAsksTheObjectFirstThenEnablesAndLocksRows) {
    cExplorerAll all;
    E::Stub* stub = Open(&all);
    int before = all.Processed;
    all.Lock = true;
    stub->DoExchange();
    EXPECT_EQ(all.Processed, before + 1);
    EXPECT_FALSE(stub->GetRowControl("Float")->IsEnabled());
    EXPECT_TRUE(static_cast<cEdit*>(stub->GetRowControl("Name"))->IsReadOnly());
    TypeInto(stub->GetRowControl("Name"), "typed");
    EXPECT_EQ(std::string(all.Name), "start");
    all.Lock = false;
    all.Int = 31;  // changed behind the panel's back: shown at the next exchange
    stub->DoExchange();
    EXPECT_TRUE(stub->GetRowControl("Float")->IsEnabled());
    EXPECT_FALSE(static_cast<cEdit*>(stub->GetRowControl("Name"))->IsReadOnly());
    EXPECT_EQ(std::string(static_cast<cEdit*>(stub->GetRowControl("Int"))->GetBuffer()), "31");
}

TEST_F(Explorer, ListEntriesAreAddedMovedAndDeleted) {
    cExplorerItem item;
    cExplorerItemB itemB;
    cClass_RegClass(&item);
    cClass_RegClass(&itemB);
    cClassList<cExplorerItem> list;
    E::Stub* stub = Open(&list, "List");
    auto values = [&] {
        std::string s;
        for (int i = 0; i < list.Count(); i++) s += std::to_string(list[i]->Value) + " ";
        return s;
    };
    ASSERT_EQ(stub->GetRows().Count(), 0);
    Tool(stub, "Add");
    Tool(stub, "Add");
    Tool(stub, "Add");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(std::string(list.GetElementID(0)), "cExplorerItemB");
    for (int i = 0; i < 3; i++) list[i]->Value = i + 1;
    ASSERT_EQ(stub->GetRows().Count(), 3);
    EXPECT_EQ(stub->GetFocusRow(), 2);  // the new entry
    stub->FocusRow(0);
    Tool(stub, "Move Down");
    EXPECT_EQ(values(), "2 1 3 ");
    EXPECT_EQ(stub->GetFocusRow(), 1);
    EXPECT_FALSE(stub->MoveEntry(-2));
    Tool(stub, "Move Up");
    Tool(stub, "Move Up");  // already first: nothing
    EXPECT_EQ(values(), "1 2 3 ");
    // An entry visited and then deleted leaves no record behind.
    stub->StepInto(1);
    EXPECT_EQ(stub->GetObject(), list[1]);
    stub->GoBack();
    stub->FocusRow(1);
    Tool(stub, "Delete");
    EXPECT_EQ(values(), "1 3 ");
    EXPECT_EQ(E::s_Objects.Count(), 1);
    EXPECT_FALSE(stub->GoForward());
    EXPECT_EQ(stub->GetObject(), &list);
    // Not a list: the list tools stay off.
    cExplorerAll all;
    stub->GoToObject(E::AddObject("All", &all, nullptr));
    stub->FocusRow(1);
    stub->OnRender();
    for (const char* c : {"Add", "Move Up", "Move Down", "Delete"}) EXPECT_FALSE(stub->GetToolControl(c)->IsEnabled()) << c;
    EXPECT_FALSE(stub->AddEntry());
    EXPECT_FALSE(stub->DeleteEntry());
}

namespace {
cStr s_DialogFile;
cStr s_DialogStart;
bool FakeDialog(const char*, cStr* file) {
    s_DialogStart = *file;
    *file = s_DialogFile;
    return true;
}
bool CancelDialog(const char*, cStr*) { return false; }
}  // namespace

TEST_F(Explorer, SaveAndLoadGoThroughTheXmlDialogs) {
    cExplorerAll all;
    all.Int = -5, all.Float = 3.25f, all.Name = "saved", all.Shade = 10, all.Vec3[2] = 7.5f, all.Bool = true;
    E::Stub* stub = Open(&all);
    std::string path = std::string(ZOZUD_BINARY_DIR) + "/explorer_roundtrip.xml";
    std::remove(path.c_str());
    EXPECT_FALSE(stub->SaveFile());  // no dialog lent
    E::FileDialogHooks hooks;
    hooks.load = CancelDialog;
    hooks.save = CancelDialog;
    E::SetFileDialogHooks(hooks);
    EXPECT_FALSE(stub->SaveFile());
    hooks.load = hooks.save = FakeDialog;
    E::SetFileDialogHooks(hooks);
    s_DialogFile = path.c_str();
    cIO::SetXmlDialogInitialPath("/tmp/xmls/");
    cIO::SetXmlDialogInitialFile("start.xml");
    Tool(stub, "Save...");
    EXPECT_EQ(std::string(s_DialogStart), "/tmp/xmls/start.xml");
    EXPECT_EQ(std::string(cIO::GetXmlDialogInitialFile()), "explorer_roundtrip.xml");
    EXPECT_EQ(std::string(E::s_Objects[0].file), path);

    all.Int = 0, all.Float = 0, all.Name = "changed", all.Shade = 30, all.Vec3[2] = 0, all.Bool = false;
    TypeInto(stub->GetRowControl("Int"), "99");
    Tool(stub, "Load...");
    EXPECT_EQ(std::string(s_DialogStart), path);  // the object's own file next time
    EXPECT_TRUE(all.Int == -5 && all.Float == 3.25f && all.Shade == 10u && all.Vec3[2] == 7.5f && all.Bool);
    EXPECT_EQ(std::string(all.Name), "saved");
    EXPECT_EQ(std::string(static_cast<cEdit*>(stub->GetRowControl("Name"))->GetBuffer()), "saved");
    EXPECT_FALSE(stub->UpdateUndoRedo(-1));  // a load starts a new history of edits

    s_DialogFile = (path + ".missing").c_str();
    EXPECT_FALSE(stub->LoadFile());
    EXPECT_EQ(std::string(all.Name), "saved");
    // Reloading from the file, as the application asks for it, shows the file's values.
    all.Int = 3;
    EXPECT_TRUE(E::ReloadObject(&all, path.c_str()));
    EXPECT_EQ(std::string(static_cast<cEdit*>(E::GetClassExplorer()->GetRowControl("Int"))->GetBuffer()), "-5");
    EXPECT_FALSE(E::ReloadObject(&all, (path + ".missing").c_str()));
    std::remove(path.c_str());
}

TEST_F(Explorer, HistoryGoesBackAndForwardAndForgetsTheForwardPartOnANewVisit) {
    cExplorerAll a, b, c;
    E::Stub* stub = Open(&a, "A");
    int ib = E::AddObject("B", &b, nullptr), ic = E::AddObject("C", &c, nullptr);
    EXPECT_FALSE(stub->GoBack());
    TypeInto(stub->GetRowControl("Int"), "10");
    stub->GoToObject(ib);
    EXPECT_FALSE(stub->UpdateUndoRedo(-1));  // each object keeps its own edits
    stub->FocusRow(3);
    stub->GoToObject(ic);
    EXPECT_TRUE(stub->GoBack());
    EXPECT_EQ(stub->GetObject(), &b);
    EXPECT_EQ(stub->GetFocusRow(), 3);  // the view state remembered for B
    EXPECT_TRUE(stub->GoBack());
    EXPECT_EQ(stub->GetObject(), &a);
    EXPECT_TRUE(stub->UpdateUndoRedo(-1));
    EXPECT_EQ(a.Int, 0);
    EXPECT_FALSE(stub->GoBack());
    EXPECT_TRUE(stub->GoForward());
    EXPECT_EQ(stub->GetObject(), &b);
    stub->GoToObject(0);  // drops C from the forward part
    EXPECT_FALSE(stub->GoForward());
    // The "Object" box lists the registered objects and picks one.
    cComboBox* box = static_cast<cComboBox*>(stub->GetToolControl("Object"));
    ASSERT_EQ(box->GetItems().Count(), 3);
    EXPECT_EQ(box->GetIndex(), 0);
    stub->FocusRow(-1);
    box->SelectedItem(2);
    EXPECT_EQ(E::GetClassExplorer()->GetObject(), &c);
    E::FocusObject(&b);
    EXPECT_EQ(E::GetClassExplorer()->GetObject(), &b);
}

TEST_F(Explorer, TogglingTwiceLeavesNoWindowAndKeepsThePlacement) {
    cExplorerAll all;
    E::AddObject("All", &all, nullptr);
    EXPECT_EQ(E::s_ClassExplorerID, -1);
    E::ToggleClassExplorer();
    E::Stub* stub = E::GetClassExplorer();
    ASSERT_NE(stub, nullptr);
    EXPECT_EQ(cWidgets::GetWidgetLayer(stub), 3);  // the layer checked empty below
    // The default column: 544..16 left of the right edge, 16 from top and bottom.
    EXPECT_EQ(stub->GetRect(), cRect(1280 - 544, 16, 1280 - 16, 1024 - 16));
    stub->SetRect(cRect(100, 200, 500, 900));
    E::ToggleClassExplorer();
    EXPECT_EQ(E::s_ClassExplorerID, -1);
    EXPECT_FALSE(E::GetVisible());
    cWidgets::Render();  // nothing of the window is left to draw, not even for one frame
    for (cWidget* w : cWidgets::GetLayer(3)) EXPECT_EQ(w, nullptr);
    // Reopened where it was left, also after the view area grew (its corners keep their edges).
    E::s_ViewArea = cRect(0, 0, 1600, 1200);
    E::ToggleClassExplorer();
    ASSERT_TRUE(E::GetVisible());
    EXPECT_EQ(E::GetClassExplorer()->GetRect(), cRect(420, 200, 820, 1076));
    E::ToggleClassExplorer();

    // The main menu the same way; its buttons open the explorer on their object.
    cExplorerAll menuObject;
    E::AddMenuObject("Scene Settings", &menuObject, "Xmls/Scene.xml");
    E::ToggleMainMenu();
    E::Stub* menu = E::GetMainMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetRows().Count(), 1);
    menu->AlignControls();
    Click(Centre(menu->GetRows()[0]->control));
    ASSERT_TRUE(E::GetVisible());
    EXPECT_EQ(E::GetClassExplorer()->GetObject(), &menuObject);
    E::ToggleMainMenu();
    E::ToggleMainMenu();
    EXPECT_NE(E::GetMainMenu(), nullptr);
    E::ToggleMainMenu();
    EXPECT_EQ(E::s_MainMenuID, -1);
}
