// Test programs of the platform shell: the shell lends the framework its
// services (log dialog, clipboard, text input) before the first test, as
// its main does.
#include "platform/linux/LinuxMain.h"

namespace {

const bool s_Lent = (cLinuxMain_LendServices(), true);

}  // namespace
