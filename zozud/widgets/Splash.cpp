#include "zozud/widgets/Splash.h"

namespace zozud {

// No splash window can be shown yet, so there is never one to close.
bool cSplash::Exists() { return false; }
void cSplash::DestroyNow() {}

}  // namespace zozud
