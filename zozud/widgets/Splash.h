// cSplash: the start-up splash window. Only its removal exists so far: the
// log dialog closes a splash at once so that nothing hides the dialog.
#pragma once

namespace zozud {

class cSplash {
public:
    static bool Exists();       // a splash window is up
    static void DestroyNow();   // closes the splash window; nothing without one
};

}  // namespace zozud
