// Entry point of the native gauge: answer the command line, or run the gauge on the desktop's
// display, Wayland's where the compositor has a layer shell, else X11's, until it is closed or
// the session ends.
#include "command_line.h"
#include "gauge.h"
#include "settings_file.h"

#include "../x11/x11_gauge.h"
#ifdef GARVO_WAYLAND
#include "../wayland/wayland_gauge.h"
#endif

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    const char* settings = ChooseSettingsFile();
    if (argc > 1) return AnswerCommandLine(argc, argv, settings);
    const char* forced = getenv("GARVO_BACKEND");
    if (forced && !*forced) forced = nullptr;
    if (forced && strcmp(forced, "wayland") != 0 && strcmp(forced, "x11") != 0) {
        fprintf(stderr, "garvo: GARVO_BACKEND is \"%s\"; it must be wayland or x11\n", forced);
        return 2;
    }

    // Well below normal work: a gauge should never compete with what it measures.
    setpriority(PRIO_PROCESS, 0, 10);
    // A write to a display that has gone must end in an orderly way, not in SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    char wayland[160] = "", x11[160] = "";
#ifdef GARVO_WAYLAND
    if (!forced || strcmp(forced, "wayland") == 0) {
        if (OpenWayland(wayland, sizeof wayland)) {
            MaySaveSettings();
            return RunWaylandGauge();
        }
    }
#else
    if (forced && strcmp(forced, "wayland") == 0) snprintf(wayland, sizeof wayland, "not built in");
#endif
    if (!forced || strcmp(forced, "x11") == 0) {
        if (OpenX11(x11, sizeof x11)) {
            MaySaveSettings();
            return RunX11Gauge();
        }
    }
    // One line: each display tried, and why it would not do.
    fprintf(stderr, "garvo: no display to show the gauge on:%s%s%s%s%s\n",
            *wayland ? " Wayland: " : "", wayland, *wayland && *x11 ? ";" : "",
            *x11 ? " X11: " : "", x11);
    return 1;
}
