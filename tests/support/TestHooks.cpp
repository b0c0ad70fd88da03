// The application of test programs that link the framework without the host
// program: the framework starts before the first test (every seam filled,
// as the shell's main does it), cMain_OnPreInit returns at once and every
// other hook keeps its do-nothing default.
#include "zozud/core/Main.h"
#include "zozud/view/Framework.h"

zozud::cStr cMain_Title("zozud tests");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

void cMain_OnPreInit() {}

namespace {

const bool s_Started = (zozud::cFramework::Start(), true);

}  // namespace
