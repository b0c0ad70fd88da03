// The application of test programs that link the framework without the host
// program: cMain_OnPreInit returns at once; every other hook keeps the
// shell's do-nothing default.
#include "zozud/core/Main.h"

zozud::cStr cMain_Title("zozud tests");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

void cMain_OnPreInit() {}
