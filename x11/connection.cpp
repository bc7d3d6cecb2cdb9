// Opening the display, and the errors garvo lives with.
#include "connection.h"

#include "scale.h"

#include "../unix/render.h"

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

bool OpenConnection(int (*onLost)(Display*), char* why, size_t size)
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
    XSetIOErrorHandler(onLost);
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
    double scale = ScaleFor(getenv("GDK_SCALE"), XResourceManagerString(display),
                            DisplayWidth(display, screen), DisplayHeight(display, screen));
    return scale < MAX_SCALE ? scale : MAX_SCALE;
}

} // namespace x11
