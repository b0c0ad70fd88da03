// The application globals of zozud-font. The tool has its own main and never
// starts the toolkit; every hook keeps the framework's do-nothing default.
#include "zozud/core/Main.h"

zozud::cStr cMain_Title("zozud-font");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

void cMain_OnPreInit() {}
