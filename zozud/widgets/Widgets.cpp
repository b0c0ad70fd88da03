// The widget registry: layers, slots, capture, dispatch and drawing order.
#include <cmath>

#include "zozud/core/Timer.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

int   cWidgets::m_idSendTo = -1;
int   cWidgets::m_idCurProcessing = -1;
int   cWidgets::s_idHot = -1;
bool  cWidgets::s_CriticalSection = false;
cList<int> cWidgets::s_ToFree;
cList<int> cWidgets::s_BringToFront;
cStr  cWidgets::s_ToolTipStr;
const cTheme* cWidgets::s_ToolTipTheme = nullptr;
cVec2 cWidgets::s_ToolTipPos(0, 0);
const cWidget* cWidgets::s_ToolTipBlock = nullptr;
float cWidgets::s_ToolTipLagSec = cTheme::ToolTipDelaySec;

bool cWidget::OnMouseMove() { return cWidgets::IsCaptured(this); }
bool cWidget::OnChar(int, int) { return cWidgets::IsCaptured(this); }

namespace {

// Created on first use, so that registering from static constructors works.
struct Layers {
    cList<cWidget*> widgets[cWidgets::LayerCount];
    cList<int> freeSlots[cWidgets::LayerCount];
    cList<int> order[cWidgets::LayerCount];
};

Layers& L() {
    static Layers* layers = new Layers;  // lives until exit, like the widgets it owns
    return *layers;
}

int Checked(int layer) { return layer >= 0 && layer < cWidgets::LayerCount ? layer : 0; }

// One widget as it was when an iteration began.
struct Entry {
    int id;
    cWidget* widget;
};

// Every widget in input order: layers 32 down to 0, each from the front of
// its order to the back.
void InputOrder(cList<Entry>* out) {
    out->Clear();
    Layers& l = L();
    for (int layer = cWidgets::LayerCount - 1; layer >= 0; layer--) {
        const cList<int>& order = l.order[layer];
        for (int i = order.Count() - 1; i >= 0; i--) {
            int slot = order[i];
            out->Add({cWidgets::MakeID(layer, slot), l.widgets[layer][slot]});
        }
    }
}

// Still the same widget in the same slot (it may have been freed meanwhile).
bool Alive(const Entry& e) { return cWidgets::GetWidget(e.id) == e.widget; }

}  // namespace

// ---- Registry ----

int cWidgets::AddWidget(cWidget* widget, int layer) {
    if (!widget || layer < 0 || layer >= LayerCount) return -1;
    Layers& l = L();
    cList<int>& free = l.freeSlots[layer];
    int slot;
    if (!free.IsEmpty()) {
        slot = free.GetLast();
        free.RemoveAt(free.Count() - 1);
        l.widgets[layer][slot] = widget;
    } else {
        if (l.widgets[layer].Count() > 0xffff) return -1;
        slot = l.widgets[layer].Add(widget);
    }
    l.order[layer].Add(slot);
    return MakeID(layer, slot);
}

cWidget* cWidgets::GetWidget(int id) {
    if (id < 0) return nullptr;
    int layer = GetLayerOfID(id), slot = GetSlotOfID(id);
    if (layer >= LayerCount) return nullptr;
    const cList<cWidget*>& widgets = L().widgets[layer];
    return slot < widgets.Count() ? widgets[slot] : nullptr;
}

int cWidgets::GetWidgetID(const cWidget* widget) {
    if (!widget) return -1;
    Layers& l = L();
    for (int layer = 0; layer < LayerCount; layer++)
        for (int slot = 0; slot < l.widgets[layer].Count(); slot++)
            if (l.widgets[layer][slot] == widget) return MakeID(layer, slot);
    return -1;
}

int cWidgets::GetWidgetLayer(const cWidget* widget) { return GetLayerOfID(GetWidgetID(widget)); }

cList<cWidget*>& cWidgets::GetLayer(int layer) { return L().widgets[Checked(layer)]; }
cList<int>& cWidgets::GetLayerFreeSlots(int layer) { return L().freeSlots[Checked(layer)]; }
cList<int>& cWidgets::GetLayerOrder(int layer) { return L().order[Checked(layer)]; }

// Empties the slot and deletes its widget. The slot leaves the lists before
// the destructor runs, so a destructor that frees other widgets sees a
// consistent registry.
void cWidgets::Release(int layer, int slot) {
    Layers& l = L();
    cWidget* widget = l.widgets[layer][slot];
    if (!widget) return;
    int id = MakeID(layer, slot);
    if (m_idSendTo == id) m_idSendTo = -1;
    if (s_idHot == id) s_idHot = -1;
    if (s_ToolTipBlock == widget) s_ToolTipBlock = nullptr;
    l.widgets[layer][slot] = nullptr;
    l.order[layer].Remove(slot);
    l.freeSlots[layer].Add(slot);
    delete widget;
}

void cWidgets::FreeWidget(int id, bool deferred) {
    if (!GetWidget(id)) return;
    if (deferred && Iterating()) {
        if (!s_ToFree.Contains(id)) s_ToFree.Add(id);
        return;
    }
    Release(GetLayerOfID(id), GetSlotOfID(id));
}

void cWidgets::FreeWidget(const cWidget* widget, bool deferred) { FreeWidget(GetWidgetID(widget), deferred); }

void cWidgets::FreeLayer(int layer) {
    if (layer < 0 || layer >= LayerCount) return;
    cList<cWidget*>& widgets = L().widgets[layer];
    for (int slot = 0; slot < widgets.Count(); slot++) Release(layer, slot);
    L().order[layer].Clear();
}

void cWidgets::FreeAll() {
    for (int layer = 0; layer < LayerCount; layer++) FreeLayer(layer);
}

void cWidgets::FreeDead() {
    // Freeing a window orphans its children, which are then dead too:
    // repeat until a pass frees nothing.
    for (bool freed = true; freed;) {
        freed = false;
        Layers& l = L();
        for (int layer = 0; layer < LayerCount; layer++)
            for (int slot = 0; slot < l.widgets[layer].Count(); slot++) {
                cWidget* widget = l.widgets[layer][slot];
                if (widget && widget->IsDead()) {
                    Release(layer, slot);
                    freed = true;
                }
            }
    }
}

void cWidgets::BringToFront(int id) {
    cWidget* widget = GetWidget(id);
    if (!widget) return;
    if (Iterating()) {
        if (!s_BringToFront.Contains(id)) s_BringToFront.Add(id);
        return;
    }
    cList<int>& order = L().order[GetLayerOfID(id)];
    order.Remove(GetSlotOfID(id));
    order.Add(GetSlotOfID(id));
    widget->OnBringToFront();
}

void cWidgets::BringToFront(const cWidget* widget) { BringToFront(GetWidgetID(widget)); }

void cWidgets::ApplyWithinCriticalSectionQueries() {
    // Taken out first: a destructor or OnBringToFront may queue more, which
    // then waits for the next application.
    cList<int> toFree(std::move(s_ToFree));
    cList<int> toFront(std::move(s_BringToFront));
    for (int id : toFree) FreeWidget(id, false);
    for (int id : toFront) BringToFront(id);
}

// ---- Capture ----

void cWidgets::SetCapture() { SetCapture(m_idCurProcessing); }
void cWidgets::SetCapture(const cWidget* widget) { SetCapture(GetWidgetID(widget)); }
void cWidgets::SetCapture(int id) {
    if (m_idSendTo == -1 && GetWidget(id)) m_idSendTo = id;
}
void cWidgets::ReleaseCapture() { m_idSendTo = -1; }
bool cWidgets::IsCaptured() { return m_idSendTo != -1; }
bool cWidgets::IsCaptured(const cWidget* widget) { return widget && GetWidget(m_idSendTo) == widget; }
bool cWidgets::IsCaptured(int id) { return id != -1 && m_idSendTo == id; }
cWidget* cWidgets::GetHotWidget() { return GetWidget(s_idHot); }

// ---- Once a frame ----

void cWidgets::UpdateToolTip(cWidget* hot) {
    cWidget* captured = GetWidget(m_idSendTo);
    if (captured) s_ToolTipBlock = captured;
    if (s_ToolTipBlock != hot) s_ToolTipBlock = nullptr;

    cStr text;
    const cTheme* theme = nullptr;
    bool wants = false;
    if (hot) {
        m_idCurProcessing = s_idHot;
        wants = hot->OnSetToolTip(&text, &theme);
    }
    float before = s_ToolTipLagSec;
    float frame = cTimer::GetFrameTimeSec();
    s_ToolTipLagSec += wants && hot != s_ToolTipBlock ? -frame : frame;
    if (s_ToolTipLagSec < 0) s_ToolTipLagSec = 0;
    if (s_ToolTipLagSec > cTheme::ToolTipDelaySec) s_ToolTipLagSec = cTheme::ToolTipDelaySec;

    if (s_ToolTipLagSec == 0 && wants) {
        s_ToolTipStr = text;
        s_ToolTipTheme = theme;
        if (before > 0) s_ToolTipPos = cInput::GetMousePosition();
    } else {
        s_ToolTipStr = cStr();
    }
}

namespace {

// Button, move and character events: true when the widget consumed it.
bool SendConsumable(cWidget* w, const cInput::Event& e) {
    switch (e.Type) {
    case cInput::EventType::Button: return e.IsPressed ? w->OnButtonDown(e.Code) : w->OnButtonUp(e.Code);
    case cInput::EventType::MouseMove: return w->OnMouseMove();
    default: return w->OnChar(e.Char, e.Code);
    }
}

// Touch and gesture events, which nobody consumes.
void SendToAll(cWidget* w, const cInput::Event& e) {
    if (e.Type == cInput::EventType::Touch) {
        bool still = std::fabs(e.Delta.x) <= 0.001f && std::fabs(e.Delta.y) <= 0.001f;
        if (!still) w->OnMultitouchMove(e.Code);
        else if (e.IsPressed) w->OnMultitouchDown(e.Code);
        else w->OnMultitouchUp(e.Code);
    } else if (e.GesturePhase == 1) {
        w->OnGestureDown((cGestureType::Enum)e.GestureType, e.GesturePos);
    } else if (e.GesturePhase == 2) {
        w->OnGestureMove(e.GesturePos, e.GestureDelta, e.GestureRotation, e.GestureScale);
    } else if (e.GesturePhase == 3) {
        w->OnGestureUp();
    }
}

}  // namespace

// The captured widget first, then everyone else in input order.
void cWidgets::Dispatch(cInput::Event* e) {
    cList<Entry> all;
    InputOrder(&all);
    bool consumable = e->Type == cInput::EventType::Button || e->Type == cInput::EventType::MouseMove ||
                      e->Type == cInput::EventType::Char;
    if (!consumable && e->Type != cInput::EventType::Touch && e->Type != cInput::EventType::Gesture) return;

    int capturedID = m_idSendTo;
    if (consumable && GetWidget(capturedID)) {
        m_idCurProcessing = capturedID;
        if (SendConsumable(GetWidget(capturedID), *e)) return;
    }
    for (const Entry& entry : all) {
        if ((consumable && entry.id == capturedID) || !Alive(entry)) continue;
        m_idCurProcessing = entry.id;
        if (!consumable) SendToAll(entry.widget, *e);
        else if (SendConsumable(entry.widget, *e)) return;
    }
}

// The hot widget: the captured one when it says so, else the first to
// answer. Everyone is asked so that each can clear its hover state.
void cWidgets::UpdateHot() {
    s_idHot = -1;
    cList<Entry> all;
    InputOrder(&all);
    int capturedID = m_idSendTo;
    if (cWidget* captured = GetWidget(capturedID)) {
        m_idCurProcessing = capturedID;
        if (captured->IsHot(false)) s_idHot = capturedID;
    }
    for (const Entry& entry : all) {
        if (entry.id == capturedID || !Alive(entry)) continue;
        m_idCurProcessing = entry.id;
        if (entry.widget->IsHot(s_idHot != -1) && s_idHot == -1) s_idHot = entry.id;
    }
}

void cWidgets::HandleInputEvents() {
    if (s_CriticalSection) return;  // called from a handler: the outer call drains the queue
    FreeDead();
    s_CriticalSection = true;

    UpdateHot();
    cWidget* hot = GetWidget(s_idHot);
    cInput::Cursor::Enum cursor = cInput::Cursor::Default;
    if (hot) {
        m_idCurProcessing = s_idHot;
        if (!hot->OnSetCursor(&cursor)) cursor = cInput::Cursor::Default;
    }
    cInput::SetCursor(cursor);

    UpdateToolTip(hot);

    // A pointer that moves and clicks within one frame: the click goes to
    // what lies under it now, so the hover states follow each event that
    // moved the pointer before the next event is handed out.
    cVec2 hoverPos = cInput::GetMousePosition();
    while (cInput::Event* event = cInput::GetEvent()) {
        const cVec2& pos = cInput::GetMousePosition();
        if (pos.x != hoverPos.x || pos.y != hoverPos.y) {
            hoverPos = pos;
            UpdateHot();
        }
        Dispatch(event);
        delete event;
    }
    m_idCurProcessing = -1;
    s_CriticalSection = false;
    ApplyWithinCriticalSectionQueries();
}

void cWidgets::Render(int layer) {
    bool outer = !s_CriticalSection;
    s_CriticalSection = true;
    cList<Entry> entries;
    for (int i = 0; i < LayerCount; i++) {
        if (layer != -1 && layer != i) continue;
        entries.Clear();
        for (int slot : L().order[i]) entries.Add({MakeID(i, slot), L().widgets[i][slot]});
        for (const Entry& entry : entries) {
            if (!Alive(entry)) continue;
            m_idCurProcessing = entry.id;
            entry.widget->OnRender();
        }
        if (i == ToolTipLayer && !s_ToolTipStr.IsEmpty() && s_ToolTipTheme) {
            cTheme::DrawArgs args;
            args.Part = cTheme::Parts::ToolTip;
            args.Text = s_ToolTipStr;
            args.Pos = s_ToolTipPos;
            args.Rect = cRect(s_ToolTipPos.x, s_ToolTipPos.y, s_ToolTipPos.x, s_ToolTipPos.y);
            s_ToolTipTheme->Draw(args);
        }
    }
    m_idCurProcessing = -1;
    if (outer) {
        s_CriticalSection = false;
        ApplyWithinCriticalSectionQueries();
    }
}

}  // namespace zozud
