// g_Settings and the class explorer, joined by the framework's start-up: the
// settings open the explorer on the first frame when asked, and settings
// freed with the widget registry leave the explorer's list.
#include <gtest/gtest.h>

#include "zozud/view/ClassExplorer.h"
#include "zozud/widgets/Settings.h"

using namespace zozud;

TEST(SettingsExplorer, FreedSettingsLeaveTheListAndStartupOpensTheExplorer) {
    cSettings* s = cSettings::Create();
    ASSERT_EQ(g_Settings, s);
    cClassExplorer::AddObject("Settings", s, "Settings.xml");
    ASSERT_GE(cClassExplorer::FindObject(s), 0);
    s->ShowClassExplorerOnStartup = true;
    cWidgets::Render();
    EXPECT_TRUE(cClassExplorer::GetVisible());
    cClassExplorer::ToggleClassExplorer();
    EXPECT_FALSE(cClassExplorer::GetVisible());

    cWidgets::FreeAll();
    EXPECT_EQ(nullptr, g_Settings);
    EXPECT_EQ(-1, cClassExplorer::FindObject(s));
    cClassExplorer::ClearObjects();
}
