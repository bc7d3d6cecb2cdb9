// Opening the display, the errors garvo lives with, and the desktop's scale.
#include "connection.h"

#include "scale.h"

#include "../unix/front_end.h"

#include <X11/Xatom.h>
#include <stdio.h>
#include <stdlib.h>

namespace x11
{

Server server;

// Errors garvo can live with: a window that went away between two requests, an extension
// request the server does not know. None is a reason to end without saving.
static int OnProtocolError(Display*, XErrorEvent*)
{
    return 0;
}

// The X server went away, as it does at a logout.
static int OnDisplayLost(Display*)
{
    DisplayLost(nullptr);
}

bool OpenConnection(char* why, size_t size)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = XDisplayName(nullptr);
        if (*name)
            snprintf(why, size, "cannot open the X display \"%s\"", name);
        else
            snprintf(why, size, "DISPLAY is not set");
        return false;
    }
    XSetIOErrorHandler(OnDisplayLost);
    XSetErrorHandler(OnProtocolError);
    server.display = display;
    server.root = DefaultRootWindow(display);
    server.depth = DefaultDepth(display, DefaultScreen(display));
    // Pictures come from garvo's own pixmaps, always whole: no exposure events are wanted back.
    XGCValues values = {};
    values.graphics_exposures = False;
    server.gc = XCreateGC(display, server.root, GCGraphicsExposures, &values);
    return true;
}

double ReadScale()
{
    Display* display = server.display;
    int screen = DefaultScreen(display);
    // The property as it is now: Xlib's own copy is the one the connection opened with.
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* resources = nullptr;
    XGetWindowProperty(display, server.root, XA_RESOURCE_MANAGER, 0, 65536, False, XA_STRING, &type,
                       &format, &count, &after, &resources);
    const char* text = type == XA_STRING && format == 8 ? reinterpret_cast<char*>(resources) : "";
    double scale = ScaleFor(getenv("GDK_SCALE"), text, DisplayWidth(display, screen),
                            DisplayHeight(display, screen));
    if (resources) XFree(resources);
    return scale < MAX_SCALE ? scale : MAX_SCALE;
}

} // namespace x11
