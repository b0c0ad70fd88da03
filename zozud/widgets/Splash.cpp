// cSplash: showing, timing out and closing the start-up splash.
#include "zozud/widgets/SplashWindow.h"

#include "zozud/core/Timer.h"
#include "zozud/render/Render.h"
#include "zozud/render/Theme.h"
#include "zozud/widgets/Input.h"

namespace zozud {

namespace {
cSplash_Window* s_Window = nullptr;
}

cSplash_Window::cSplash_Window(const cSplash_Data& data, const cSplash_Image& image, const cTheme* theme)
    : m_Data(data), m_Image(image), m_Theme(theme) {}

cSplash_Window::~cSplash_Window() {
    if (s_Window == this) s_Window = nullptr;
}

bool cSplash_Window::IsHot(bool hotFound) {
    m_Hot = !hotFound && !m_Dead && m_Data.Rect.Contains(cInput::GetMousePosition());
    return m_Hot;
}

bool cSplash_Window::OnButtonDown(int button) {
    (void)button;
    if (!m_Hot || m_Dead) return false;
    if (s_Window == this) cSplash::DestroyNow();
    return true;
}

void cSplash_Window::OnRender() {
    if (!m_Theme || m_Dead) return;
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::Splash;
    args.Rect = m_Data.Rect;
    args.Text = m_Data.Text;
    args.TextureID = m_Image.TextureID;
    cRender::PushClipRect();
    cRender::SetClipRect(m_Data.Rect);
    m_Theme->Draw(args);
    cRender::PopClipRect();
}

bool cSplash::Show(const ShowArgs& args) {
    if (args.Rect.IsEmpty()) return false;
    DestroyNow();
    cSplash_Data data;
    data.Rect = args.Rect;
    data.Text = args.Text;
    data.EndTimeSec = cTimer::AcquireClockSeconds() + (args.Seconds > 0 ? args.Seconds : 0);
    cSplash_Image image;
    image.TextureID = args.TextureID;
    cSplash_Window* w = new cSplash_Window(data, image, args.Theme);
    if (cWidgets::AddWidget(w, Layer) < 0) {
        delete w;
        return false;
    }
    s_Window = w;
    return true;
}

cSplash_Window* cSplash::GetWindow() { return s_Window; }

void cSplash::DestroyLater() {
    if (s_Window && cTimer::AcquireClockSeconds() >= s_Window->GetData().EndTimeSec) DestroyNow();
}

// The registry frees the closed window with the other dead widgets.
void cSplash::DestroyNow() {
    if (!s_Window) return;
    s_Window->Close();
    s_Window = nullptr;
}

}  // namespace zozud
