// RandR monitors. Monitors came with RandR 1.5; an older server would refuse the request, and
// there the screen is the one monitor.
#include "monitors.h"

#include "connection.h"

#include <X11/extensions/Xrandr.h>

namespace x11
{

static int randrEvent = -1; // the first RandR event's number, or -1 without RandR 1.5
static bool asked;

static bool HasMonitors()
{
    int base, error, major = 0, minor = 0;
    if (!asked && XRRQueryExtension(server.display, &base, &error) &&
        XRRQueryVersion(server.display, &major, &minor) && major * 100 + minor >= 105) {
        randrEvent = base;
        XRRSelectInput(server.display, server.root,
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask |
                           RROutputChangeNotifyMask);
    }
    asked = true;
    return randrEvent >= 0;
}

void ReadMonitors(MonitorList& monitors)
{
    Display* display = server.display;
    monitors.count = 1;
    monitors.primary = 0;
    monitors.rects[0] = {0, 0, DisplayWidth(display, DefaultScreen(display)),
                         DisplayHeight(display, DefaultScreen(display))};
    if (!HasMonitors()) return;
    int count = 0, kept = 0;
    XRRMonitorInfo* found = XRRGetMonitors(display, server.root, True, &count);
    monitors.primary = -1;
    for (int i = 0; i < count && kept < MAX_MONITORS; ++i) {
        const XRRMonitorInfo& m = found[i];
        if (m.width <= 0 || m.height <= 0) continue;
        if (m.primary) monitors.primary = kept;
        monitors.rects[kept++] = {m.x, m.y, m.x + m.width, m.y + m.height};
    }
    if (found) XRRFreeMonitors(found);
    monitors.count = kept > 0 ? kept : 1;
    if (kept == 0) monitors.primary = 0;
}

bool IsMonitorChange(XEvent& event)
{
    if (randrEvent < 0 ||
        (event.type != randrEvent + RRScreenChangeNotify && event.type != randrEvent + RRNotify))
        return false;
    // Xlib's idea of the screen's size follows only if told.
    XRRUpdateConfiguration(&event);
    return true;
}

} // namespace x11
