// cSplash_Window: the splash widget; cSplash_Image the picture it shows,
// cSplash_Data what Show was given and when the splash ends.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/widgets/Splash.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

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

}  // namespace zozud
