// Entry point of the X11 gauge: load the settings, run the two windows until one is closed or
// the session ends, save the settings.
#include "gauge.h"
#include "meter_state.h"

#include <signal.h>
#include <stdio.h>
#include <sys/resource.h>
#include <unistd.h>

// The X server went away, as it does at a logout: save what the session changed, then end.
static int OnDisplayLost(Display*)
{
    if (meter.bar) RecordBarPosition();
    SaveSettings();
    _exit(0);
}

int main()
{
    // Well below normal work: a gauge should never compete with what it measures.
    setpriority(PRIO_PROCESS, 0, 10);
    // A write to a server that has gone must end in OnDisplayLost, not in SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    CatchEndingSignals();

    meter.display = XOpenDisplay(nullptr);
    if (!meter.display) {
        const char* name = XDisplayName(nullptr);
        if (*name)
            fprintf(stderr, "garvo: cannot open the X display \"%s\"\n", name);
        else
            fprintf(stderr, "garvo: no X display to show the gauge on (DISPLAY is not set)\n");
        return 1;
    }
    XSetIOErrorHandler(OnDisplayLost);
    meter.root = DefaultRootWindow(meter.display);

    int width, height;
    ScreenSize(width, height);
    LoadSettings(width, height);
    OpenMemorySource();
    CreateMeterWindows();
    RunEventLoop();
    SaveSettings();
    XCloseDisplay(meter.display);
    return 0;
}
