// cFilePn: a path field with a browse button. Typing in the field reports
// message 8 like any text field; the button opens the file dialog (the
// shell's, installed with SetBrowseHook) and a chosen file that differs
// becomes the path, also reported as message 8 with this control's id.
// Surprises: toolkit thread only, no locks. Without a hook the button does
// nothing.
#pragma once

#include "zozud/widgets/Control.h"

namespace zozud {

class cEdit;
class cButton;

class cFilePn : public cControl {
public:
    // Shows a file dialog titled title at *file; true and *file set when one was chosen.
    using BrowseHook = bool (*)(const char* title, cStr* file);
    static void SetBrowseHook(BrowseHook hook);

    cFilePn(cWnd* parent, cStr* path, const char* caption, bool visible = true, bool enabled = true);

    void CalcRects() override;
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;
    void OnRender() override { PaintCaption(); }
    int  GetType() const override { return 16; }

    cEdit*   GetEdit() const { return m_Edit; }
    cButton* GetBrowseButton() const { return m_Browse; }

private:
    cStr*    m_Path;
    cEdit*   m_Edit = nullptr;
    cButton* m_Browse = nullptr;
};

}  // namespace zozud
