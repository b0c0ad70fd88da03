// cViewWidget: what the viewers and the transform tools need of a widget
// until the widget tree exists: the input handlers in the widget's slot
// order, one process-wide capture, and a routing list fed from the cInput
// queue. Events go to the captured widget first, then to the widgets from
// the last added (front) to the first, stopping at the first that handles
// them.
// Surprises: toolkit thread only; a widget leaves the list and drops the
// capture when it is destroyed.
#pragma once

#include "zozud/core/List.h"
#include "zozud/widgets/Input.h"

namespace zozud {

class cViewWidget {
public:
    cViewWidget() {}
    cViewWidget(const cViewWidget&) = delete;
    cViewWidget& operator=(const cViewWidget&) = delete;
    virtual ~cViewWidget();

    // Handlers: true when the event was consumed.
    virtual bool OnButtonDown(int code) { (void)code; return false; }
    virtual bool OnButtonUp(int code) { (void)code; return false; }
    virtual bool OnMouseMove() { return false; }
    virtual void OnRender() {}
    virtual bool IsHot(bool hot) { (void)hot; return false; }

    static void         SetCapture(cViewWidget* widget);
    static cViewWidget* GetCapture();
    static void         ReleaseCapture(cViewWidget* widget);  // only if it holds it

    static void Add(cViewWidget* widget);     // once; added last means in front
    static void Remove(cViewWidget* widget);
    static bool Dispatch(const cInput::Event& event);
    static void DispatchEvents();  // drains the cInput queue
    static void RenderAll();       // back to front
};

}  // namespace zozud
