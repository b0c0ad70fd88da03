// cBindButton: shows the name of a bound input code (cInput::ToString);
// clicked, it waits for the next key, mouse button or game pad button, binds
// that code and sends message 1 with the old and new code. The release of
// the click that started the wait does not count.
// Surprises: toolkit thread only, no locks. While waiting it holds the capture.
#pragma once

#include "zozud/widgets/Button.h"

namespace zozud {

class cBindButton : public cButton {
public:
    cBindButton(cWnd* parent, int* code, const char* caption, float x, float y, int width, bool visible = true,
                bool enabled = true);

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnChar(int ch, int key) override;
    void OnRender() override;
    bool OnSetToolTip(cStr*, const cTheme**) override { return false; }
    int  GetType() const override { return 2; }
    bool IsWaiting() const { return m_Waiting; }

protected:
    void OnClick() override;

private:
    int* m_Code;
    bool m_Waiting = false;
};

}  // namespace zozud
