// Opening the display, and the errors garvo lives with.
#include "connection.h"

#include "scale.h"

#include "../unix/render.h"

#include <stdio.h>
#include <stdlib.h>

Server x11;

// Errors garvo can live with: a window that went away between two requests, an extension
// request the server does not know. None is a reason to end without saving.
static int OnProtocolError(Display*, XErrorEvent*)
{
    return 0;
}

bool OpenConnection(int (*onLost)(Display*))
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = XDisplayName(nullptr);
        if (*name)
            fprintf(stderr, "garvo: cannot open the X display \"%s\"\n", name);
        else
            fprintf(stderr, "garvo: no X display to show the gauge on (DISPLAY is not set)\n");
        return false;
    }
    XSetIOErrorHandler(onLost);
    XSetErrorHandler(OnProtocolError);
    x11.display = display;
    x11.root = DefaultRootWindow(display);
    x11.depth = DefaultDepth(display, DefaultScreen(display));
    // Pictures come from garvo's own pixmaps, always whole: no exposure events are wanted back.
    XGCValues values = {};
    values.graphics_exposures = False;
    x11.gc = XCreateGC(display, x11.root, GCGraphicsExposures, &values);
    return true;
}

double ReadScale()
{
    Display* display = x11.display;
    int screen = DefaultScreen(display);
    double scale = ScaleFor(getenv("GDK_SCALE"), XResourceManagerString(display),
                            DisplayWidth(display, screen), DisplayHeight(display, screen));
    return scale < MAX_SCALE ? scale : MAX_SCALE;
}
