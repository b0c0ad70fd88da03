// The process entry of every application built on the framework: it starts
// the framework, lends it the shell's services, makes g_Settings (listed in
// the class explorer as "Settings"), joins the command line, installs the
// crash handler, starts GTK, builds the key tables and hands control to the
// application through cMain_OnPreInit.
#include "platform/linux/LinuxMainInternal.h"
#include "zozud/core/Thread.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/view/Framework.h"
#include "zozud/widgets/Settings.h"

int main(int argc, char** argv) {
    zozud::cFramework::Start();
    cLinuxMain_LendServices();
    zozud::cSettings::Create();  // g_Settings, a widget from now on
    zozud::cClassExplorer::AddObject("Settings", zozud::g_Settings, "Settings.xml");
    cLinuxMain_JoinCmdLine(argc, argv);
    cLinuxMain_InstallCrashHandler();
    gtk_init(nullptr, nullptr);  // the toolkit never sees the command line
    cLinuxMain_BuildKeyTables();
    zozud::cThread::CreateMutex(cLinuxMain_GetKeysMutex);
    cMain_OnPreInit();
    // Only an application whose cMain_OnPreInit returns gets here: it gets
    // the cursors and the framework's window.
    cLinuxMain_CreateCursors();
    return cLinuxMain_Run();
}
