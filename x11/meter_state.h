// The one program-wide state record of the X11 gauge.
#pragma once

#include "timer.h"

#include "../meter/meter.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrender.h>
#include <stdint.h>

struct MeterState {
    int32_t barX; // UNSET_X when no position is known
    int32_t barY;
    int32_t warnPercent;
    uint32_t loadPercent;
    bool infoShown;
    int meminfo; // the open /proc/meminfo
    int scale;   // screen pixels to a pixel of the Windows image's windows

    Display* display;
    Window root, bar, info;
    // Each window's picture at the Windows image's size, drawn whole and then copied (magnified at
    // a scale above 1), so that the screen never shows half a paint; also what an exposure shows
    // again.
    Pixmap barImage, infoImage;
    Picture barSource, infoSource, barTarget, infoTarget; // for magnifying, at a scale above 1
    GC gc;
    XFontStruct* font;
    unsigned long black, white, blue, red;
    char infoText[128]; // the box's text, which is also its window name
    bool barDrawn;      // barImage holds drawnLayout
    BarLayout drawnLayout;

    int barLeft, barTop;   // where the bar stands now
    int infoLeft, infoTop; // and the box
    Timer refresh, hover;

    Window dragging;  // the window that follows the pointer while the left button is down
    int dragX, dragY; // the pointer's offset from that window's corner
    Window lastClickWindow;
    Time lastClickTime;
    int lastClickX, lastClickY;

    bool raiseDone, raisePending; // kept above other windows, at most once a refresh tick
    Window lastCover;             // the window garvo last went above, and when
    int64_t lastRestackMs;
    int fights;     // times that window took the top back at once
    Window yieldTo; // a window that keeps itself on top: garvo leaves it there

    bool running; // the settings are loaded and the windows exist: an end now saves them
    bool ending;
};

extern MeterState meter;
