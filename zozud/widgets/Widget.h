// cWidget: anything on screen that takes input or draws itself. cWidgets:
// the static registry of 33 layers that owns every widget, routes the queued
// input events to them once a frame and draws them layer by layer.
// A widget id is layer << 16 | slot; -1 names none. Within a layer the order
// list says who is drawn first (the back) and who gets input first (the
// front, the last of the list). Freed slots are reused last-in first-out, so
// an id may name another widget later: holders drop ids of freed widgets.
// Surprises: toolkit (render) thread only, no locks. While the registry
// iterates (HandleInputEvents, Render) deferred frees and every BringToFront
// are queued and applied once the iteration is over; dispatch walks a copy
// of each order, so even an immediate free of another widget is safe.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Vec2.h"
#include "zozud/render/Theme.h"
#include "zozud/widgets/Input.h"

namespace zozud {

class cWidget {
public:
    virtual ~cWidget() = default;
    // Input; a true result consumes the event.
    virtual bool OnButtonDown(int button) { (void)button; return false; }
    virtual bool OnButtonUp(int button) { (void)button; return false; }
    virtual bool OnMouseMove();             // true when this widget holds the capture
    virtual bool OnChar(int ch, int key);   // true when this widget holds the capture
    // Touches and gestures reach every widget; nothing consumes them.
    virtual void OnMultitouchDown(int touch) { (void)touch; }
    virtual void OnMultitouchUp(int touch) { (void)touch; }
    virtual void OnMultitouchMove(int touch) { (void)touch; }
    virtual void OnGestureDown(cGestureType::Enum type, const cVec2& pos) { (void)type; (void)pos; }
    virtual void OnGestureMove(const cVec2& pos, const cVec2& delta, float rotation, float scale) {
        (void)pos; (void)delta; (void)rotation; (void)scale;
    }
    virtual void OnGestureUp() {}
    virtual void OnRender() {}
    virtual bool IsDead() { return false; }  // true: the next frame frees it
    // Asked of every widget each frame; hotFound tells whether one before it
    // is the hot one (under the mouse) already.
    virtual bool IsHot(bool hotFound) { (void)hotFound; return false; }
    virtual bool OnSetCursor(cInput::Cursor::Enum* cursor) { (void)cursor; return false; }
    virtual bool OnSetToolTip(cStr* text, const cTheme** theme) { (void)text; (void)theme; return false; }
    virtual void OnBringToFront() {}
};

class cWidgets {
public:
    static const int LayerCount = 33;
    static const int ToolTipLayer = 4;  // tool tips are drawn after this layer

    static int  MakeID(int layer, int slot) { return layer << 16 | slot; }
    static int  GetLayerOfID(int id) { return id < 0 ? -1 : id >> 16; }
    static int  GetSlotOfID(int id) { return id < 0 ? -1 : id & 0xffff; }

    // ---- Registry ----
    // Takes the widget over; -1 (and the widget stays the caller's) for null
    // or a layer outside 0..32.
    static int      AddWidget(cWidget* widget, int layer);
    static cWidget* GetWidget(int id);               // null for a bad or free id
    static int      GetWidgetID(const cWidget* widget);     // -1 when absent
    static int      GetWidgetLayer(const cWidget* widget);  // -1 when absent
    // A layer's lists; layer 0's for an index outside 0..32.
    static cList<cWidget*>& GetLayer(int layer);
    static cList<int>&      GetLayerFreeSlots(int layer);
    static cList<int>&      GetLayerOrder(int layer);

    // Deletes the widget, now or (deferred, during iteration) once the
    // iteration is over. The capture goes with it.
    static void FreeWidget(int id, bool deferred = false);
    static void FreeWidget(const cWidget* widget, bool deferred = false);
    static void FreeLayer(int layer);
    static void FreeAll();
    static void FreeDead();  // every widget whose IsDead is true

    // Moves it to the front of its layer and calls its OnBringToFront.
    static void BringToFront(int id);
    static void BringToFront(const cWidget* widget);

    // ---- Capture: the first one wins until released ----
    static void SetCapture();  // the widget being called now
    static void SetCapture(const cWidget* widget);
    static void SetCapture(int id);
    static void ReleaseCapture();
    static bool IsCaptured();
    static bool IsCaptured(const cWidget* widget);
    static bool IsCaptured(int id);
    static int  GetCaptureID() { return m_idSendTo; }
    static int  GetCurProcessingID() { return m_idCurProcessing; }
    static cWidget* GetHotWidget();  // as found by the last HandleInputEvents

    static bool IsInCriticalSection() { return s_CriticalSection; }
    static void ApplyWithinCriticalSectionQueries();

    // ---- Once a frame ----
    static void HandleInputEvents();
    static void Render(int layer = -1);

    // ---- Tool tip ----
    static const cStr&  GetToolTipStr() { return s_ToolTipStr; }
    static const cVec2& GetToolTipPos() { return s_ToolTipPos; }
    static float        GetToolTipLagSec() { return s_ToolTipLagSec; }

private:
    static bool Iterating() { return s_CriticalSection; }
    static void Release(int layer, int slot);
    static void Dispatch(cInput::Event* event);
    static void UpdateHot();  // hover states at the current mouse position
    static void UpdateToolTip(cWidget* hot);

    static int   m_idSendTo;
    static int   m_idCurProcessing;
    static int   s_idHot;
    static bool  s_CriticalSection;
    static cList<int> s_ToFree;
    static cList<int> s_BringToFront;
    static cStr  s_ToolTipStr;
    static const cTheme* s_ToolTipTheme;
    static cVec2 s_ToolTipPos;
    static const cWidget* s_ToolTipBlock;  // compared only, never called
    static float s_ToolTipLagSec;
};

}  // namespace zozud
