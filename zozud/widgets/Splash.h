// cSplash: the start-up splash: a picture with a line of text on the top
// layer for a given time. The render cycle calls DestroyLater each frame,
// which removes the splash once its time is over; a click on it, or
// DestroyNow (the log dialog must not be hidden), removes it at once.
// The widget itself is in SplashWindow.h; this header stays free of the
// widget and theme headers so that shell files with X11 can include it.
// Surprises: toolkit thread only, no locks. One splash at a time: Show
// replaces a splash still up.
#pragma once

#include "zozud/core/Str.h"
#include "zozud/math/Rect.h"

namespace zozud {

class cTheme;

class cSplash_Window;

class cSplash {
public:
    static constexpr int Layer = 32;  // above everything else

    struct ShowArgs {
        cRect  Rect = cRect::Empty;  // screen, y up; nothing is shown when empty
        int    TextureID = -1;
        cStr   Text;
        float  Seconds = 2.0f;
        const cTheme* Theme = nullptr;  // nothing is painted without one
    };

    static bool Show(const ShowArgs& args);  // false for an empty rectangle
    static cSplash_Window* GetWindow();      // null when no splash is up
    static bool Exists() { return GetWindow() != nullptr; }
    static void DestroyLater();              // removes the splash once its time is over
    static void DestroyNow();                // removes it at once; nothing without one
};

}  // namespace zozud
