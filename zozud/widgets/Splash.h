// cSplash: the start-up splash: a picture with a line of text on the top
// layer for a given time. The render cycle calls DestroyLater each frame,
// which removes the splash once its time is over; a click on it, or
// DestroyNow (the log dialog must not be hidden), removes it at once.
// cSplash_Window is the widget, cSplash_Image the picture it shows,
// cSplash_Data what Show was given and when the splash ends.
// Surprises: toolkit thread only, no locks. One splash at a time: Show
// replaces a splash still up.
#pragma once

#include "zozud/core/Str.h"
#include "zozud/math/Rect.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

class cTheme;

struct cSplash_Image {
    int TextureID = -1;  // -1: no picture, only the text
};

struct cSplash_Data {
    cRect  Rect = cRect::Empty;  // screen, y up
    cStr   Text;
    double EndTimeSec = 0;       // on the clock of cTimer::AcquireClockSeconds
};

class cSplash_Window : public cWidget {
public:
    cSplash_Window(const cSplash_Data& data, const cSplash_Image& image, const cTheme* theme);
    ~cSplash_Window() override;

    bool OnButtonDown(int button) override;
    bool IsHot(bool hotFound) override;
    bool IsDead() override { return m_Dead; }
    void OnRender() override;

    const cSplash_Data&  GetData() const { return m_Data; }
    const cSplash_Image& GetImage() const { return m_Image; }
    void Close() { m_Dead = true; }

private:
    cSplash_Data  m_Data;
    cSplash_Image m_Image;
    const cTheme* m_Theme;
    bool m_Dead = false, m_Hot = false;
};

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
