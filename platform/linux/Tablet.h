// The pen tablet's state, owned by the device code and filled in by the
// window's mouse handlers from each event's device and axes.
#pragma once

#include <gdk/gdk.h>

struct cLinuxMain_TabletState {
    GdkDevice* Stylus = nullptr;  // the devices found by cLinuxMain_InitTablet
    GdkDevice* Eraser = nullptr;
    bool   PenPressed = false;
    bool   EraserUsed = false;
    int    CurPressure = 0;           // 0..650
    float  CurTilt[2] = {0, 0};       // x and y, each -1..1
    double EndTimeSec = -1;           // when a pen stroke ended, -1 when none has just ended
};

cLinuxMain_TabletState& cLinuxMain_Tablet();

// Bookkeeping for a button or motion event of `device`: `pressed` says
// whether the pen touches now; `axes` are the event's axis values (may be
// null) read with the device's axis ranges; `nowSec` is the monotonic clock.
void cLinuxMain_TabletFollow(GdkDevice* device, bool pressed, const gdouble* axes, double nowSec);
