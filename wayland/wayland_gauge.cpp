// Start and end of the Wayland gauge: the settings, the bar on its output, the loop.
#include "wayland_gauge.h"

#include "events.h"
#include "globals.h"
#include "outputs.h"
#include "pictures.h"
#include "surface.h"

#include "../unix/ending.h"
#include "../unix/gauge.h"
#include "../unix/memory_source.h"
#include "../unix/settings_file.h"
#include "../unix/text.h"

#include <wayland-client.h>

using namespace wayland;

bool OpenWayland(char* why, size_t size)
{
    return ConnectWayland(why, size);
}

static void SaveWhereTheBarStands()
{
    RecordBarPosition();
    SaveSettings(gauge.settings);
}

int RunWaylandGauge()
{
    // What the outputs and the seat say of themselves.
    WatchOutputs(wl.outputManager);
    WatchPointer();
    wl_display_roundtrip(wl.display);
    MonitorList monitors;
    Output* which[MAX_MONITORS];
    ListOutputs(monitors, which);
    gauge.settings = LoadSettings(monitors, bar.width, bar.height);
    // With no saved position, the bar starts at the global point (0, y).
    if (gauge.settings.x == UNSET_X)
        gauge.settings = ClampOntoMonitors({0, gauge.settings.y, gauge.settings.s}, monitors,
                                           bar.width, bar.height);
    bar.left = gauge.settings.x;
    bar.top = gauge.settings.y;
    int at = NearestMonitor(monitors.rects, monitors.count, monitors.primary, bar.left, bar.top);
    OpenMemorySource();
    OpenTextFont();
    RefreshBar();
    if (at >= 0) OpenSurface(bar, which[at], bar.left, bar.top);
    ArmTimer(gauge.refresh, NowMs());
    CatchEndingSignals(SaveWhereTheBarStands);

    // The compositor going away ends the session as a logout does: saved all the same.
    bool closed = RunEventLoop();
    HoldEndingSignals();
    if (!closed) RecordBarPosition();
    SaveSettings(gauge.settings);
    return 0;
}
