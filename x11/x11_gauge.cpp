// Start and end of the X11 gauge: the display, the settings, the two windows, the loop.
#include "x11_gauge.h"

#include "connection.h"
#include "event_loop.h"
#include "monitors.h"
#include "pictures.h"
#include "surface.h"

#include "../unix/ending.h"
#include "../unix/gauge.h"
#include "../unix/memory_source.h"
#include "../unix/settings_file.h"
#include "../unix/text.h"

#include <stdio.h>
#include <unistd.h>

using namespace x11;

static bool running; // the settings are loaded and the windows exist: an end now saves them

static void SaveWhereTheBarStands()
{
    RecordBarPosition();
    SaveSettings(gauge.settings);
}

// The X server went away, as it does at a logout: save what the session changed, then end. During
// start-up there is nothing of the session's yet, and the file is left as it was.
static int OnDisplayLost(Display*)
{
    if (!running) {
        fprintf(stderr, "garvo: lost the X display while starting\n");
        _exit(1);
    }
    HoldEndingSignals();
    SaveWhereTheBarStands();
    _exit(0);
}

bool OpenX11(char* why, size_t size)
{
    return OpenConnection(OnDisplayLost, why, size);
}

int RunX11Gauge()
{
    gauge.scale = ReadScale();
    MonitorList monitors;
    ReadMonitors(monitors);
    int width = Scaled(BAR_WIDTH, gauge.scale), height = Scaled(BAR_HEIGHT, gauge.scale);
    gauge.settings = LoadSettings(monitors, width, height);
    int32_t left, top;
    BarCorner(gauge.settings, monitors, left, top);
    OpenMemorySource();
    OpenTextFont();

    int boxHeight = Scaled(INFO_HEIGHT, gauge.scale);
    CreateSurface(box, left, top - boxHeight, Scaled(INFO_WIDTH, gauge.scale), boxHeight);
    CreateSurface(bar, left, top, width, height);
    // Other windows' restacking is watched, to stay above them.
    XSelectInput(server.display, server.root, SubstructureNotifyMask);
    RefreshBar(); // the first sample, before the first tick
    ShowSurface(bar);
    ArmTimer(gauge.refresh, NowMs());
    running = true;
    CatchEndingSignals(SaveWhereTheBarStands);

    RunEventLoop(monitors);
    HoldEndingSignals();
    SaveSettings(gauge.settings);
    // The connection is left for the system to close: a server that stopped answering would hold
    // a closing handshake up for ever.
    return 0;
}
