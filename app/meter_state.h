// The one program-wide state record.
#pragma once

#include "../platform/win32.h"

const UINT_PTR TIMER_REFRESH = 10;
const UINT_PTR TIMER_HOVER = 20;
const UINT TIMER_PERIOD_MS = 500;

struct MeterState {
    INT32 barX; // CW_USEDEFAULT when no position is known
    INT32 barY;
    INT32 warnPercent;
    UINT32 loadPercent;
    HWND infoWindow; // any other window of the class is the bar
    HINSTANCE instance;
    bool infoShown;
    bool infoBusy;
};

extern MeterState meter;
