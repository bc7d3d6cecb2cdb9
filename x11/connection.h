// The X11 connection: the display, its root window, and what drawing on it takes.
#pragma once

#include <X11/Xlib.h>
#include <stddef.h>

namespace x11
{

struct Server {
    Display* display;
    Window root;
    GC gc;
    int depth;
};

extern Server server;

// Opens the display that DISPLAY names, with a loss reported to the gauge from then on; false,
// with why in `why`, when there is none to open.
bool OpenConnection(char* why, size_t size);
// The scale the desktop asks for now, from GDK_SCALE or the Xft.dpi resource on the root window,
// capped to the screen.
double ReadScale();

} // namespace x11
