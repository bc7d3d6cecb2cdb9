// The X11 connection: the server, its root window, the visual the gauge draws in, and the
// desktop's scale.
#pragma once

#include "pixels.h"

#include <stddef.h>
#include "xcb_library.h"

namespace x11
{

struct Server {
    xcb_connection_t* connection;
    xcb_window_t root;
    int width, height; // the screen's size, as of the latest RandR change
    // The TrueColor visual the windows are made in; a colormap of their own where it is not the
    // root's.
    uint8_t depth;
    xcb_visualid_t visual;
    xcb_colormap_t colormap;
    PixelFormat format;
    double scale; // the desktop's, read at start and whenever a change is announced
};

extern Server server;

// Opens the display that DISPLAY names; false, with why in `why`, when there is none to open or
// it has no TrueColor visual.
bool OpenConnection(char* why, size_t size);
// Ends the run in an orderly way when the connection has broken: saved as at a logout when the
// server went away, else with the reason.
void CheckConnection();
// Reads the screen's size anew, after RandR has said it changed.
void ReadScreenSize();
// Reads the desktop's scale anew, from GDK_SCALE or the Xft.dpi resource on the root window,
// capped to the screen; whether it differs from the one read before.
bool ReadScale();

} // namespace x11
