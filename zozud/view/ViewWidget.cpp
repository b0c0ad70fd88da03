#include "zozud/view/ViewWidget.h"

namespace zozud {

namespace {
cViewWidget* s_Capture = nullptr;
cList<cViewWidget*>& Widgets() {
    static cList<cViewWidget*> s_Widgets;
    return s_Widgets;
}

bool Route(cViewWidget* w, const cInput::Event& event) {
    if (event.Type == cInput::EventType::Button)
        return event.IsPressed ? w->OnButtonDown(event.Code) : w->OnButtonUp(event.Code);
    if (event.Type == cInput::EventType::MouseMove) return w->OnMouseMove();
    return false;
}
}  // namespace

cViewWidget::~cViewWidget() {
    Remove(this);
    ReleaseCapture(this);
}

void cViewWidget::SetCapture(cViewWidget* widget) { s_Capture = widget; }
cViewWidget* cViewWidget::GetCapture() { return s_Capture; }
void cViewWidget::ReleaseCapture(cViewWidget* widget) {
    if (s_Capture == widget) s_Capture = nullptr;
}

void cViewWidget::Add(cViewWidget* widget) {
    if (widget && !Widgets().Contains(widget)) Widgets().Add(widget);
}

void cViewWidget::Remove(cViewWidget* widget) {
    int i = Widgets().IndexOf(widget);
    if (i >= 0) Widgets().RemoveAt(i);
}

bool cViewWidget::Dispatch(const cInput::Event& event) {
    cViewWidget* captured = s_Capture;
    if (captured && Route(captured, event)) return true;
    // A copy: handlers may add or remove widgets.
    cList<cViewWidget*> widgets = Widgets();
    for (int i = widgets.Count() - 1; i >= 0; i--) {
        if (widgets[i] == captured || !Widgets().Contains(widgets[i])) continue;
        if (Route(widgets[i], event)) return true;
    }
    return false;
}

void cViewWidget::DispatchEvents() {
    while (cInput::Event* e = cInput::GetEvent()) {
        Dispatch(*e);
        delete e;
    }
}

void cViewWidget::RenderAll() {
    cList<cViewWidget*> widgets = Widgets();
    for (int i = 0; i < widgets.Count(); i++) widgets[i]->OnRender();
}

}  // namespace zozud
