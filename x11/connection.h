// The X11 connection: the display, its root window, and what drawing on it takes.
#pragma once

#include <X11/Xlib.h>

struct Server {
    Display* display;
    Window root;
    GC gc;
    int depth;
};

extern Server x11;

// Opens the display that DISPLAY names, with `onLost` called should it go away later; false,
// having said why in one line on standard error, when there is none to open.
bool OpenConnection(int (*onLost)(Display*));
// The scale the desktop asks for, from GDK_SCALE or the Xft.dpi resource, capped to the screen.
double ReadScale();
