// The one program-wide state record of the X11 gauge.
#pragma once

#include "timer.h"

#include <X11/Xlib.h>
#include <stdint.h>

struct MeterState {
    int32_t barX; // UNSET_X when no position is known
    int32_t barY;
    int32_t warnPercent;
    uint32_t loadPercent;
    bool infoShown;
    int meminfo; // the open /proc/meminfo

    Display* display;
    Window root, bar, info;
    Pixmap barImage, infoImage; // drawn whole, then copied: the screen never shows half a paint
    GC gc;
    XFontStruct* font;
    unsigned long black, white, blue, red;
    char infoText[128]; // the box's text, which is also its window name

    int barLeft, barTop; // where the bar stands now
    Timer refresh, hover;

    Window dragging;  // the window that follows the pointer while the left button is down
    int dragX, dragY; // the pointer's offset from that window's corner
    Window lastClickWindow;
    Time lastClickTime;
    int lastClickX, lastClickY;

    bool raiseDone, raisePending; // kept above other windows, at most once a refresh tick
    bool ending;
};

extern MeterState meter;
