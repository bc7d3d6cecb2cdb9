// Entry point of the native gauge: answer the command line, or run the gauge on the desktop's
// display, Wayland's where the compositor has a layer shell, else X11's, until it is closed or
// the session ends.
#include "command_line.h"

#include "../unix/diagnostic.h"
#include "../unix/ending.h"
#include "../unix/run.h"
#include "../unix/settings_file.h"
#ifdef GARVO_X11
#include "../x11/x11_front_end.h"
#endif
#ifdef GARVO_WAYLAND
#include "../wayland/wayland_front_end.h"
#endif

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <unistd.h>

// Well below normal work, and never less nice than it was started: a gauge should never compete
// with what it measures.
static void StayNice()
{
    const int NICE = 10;
    errno = 0;
    int now = getpriority(PRIO_PROCESS, 0);
    if (errno == 0 && now < NICE) setpriority(PRIO_PROCESS, 0, NICE);
}

// A launcher may start the gauge with standard input, output or error closed: the display's
// connection or the settings file would take that number, and a line meant for standard error
// would be written into it. Each closed one leads nowhere instead.
static void KeepStandardFilesOpen()
{
    for (int fd = 0; fd <= 2; ++fd)
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) open("/dev/null", O_RDWR);
}

int main(int argc, char** argv)
{
    // A session manager may end what it has just started: held until the run can take them.
    HoldEndingSignals();
    KeepStandardFilesOpen();
    // The alarm is the gauge's own, for the grace period after an ending signal: one a launcher
    // left pending across exec is no reason to end.
    alarm(0);
    signal(SIGALRM, SIG_IGN);
    const char* settings = ChooseSettingsFile();
    if (argc > 1) return AnswerCommandLine(argc, argv, settings);
    const char* forced = getenv("GARVO_BACKEND");
    if (forced && !*forced) forced = nullptr;
    if (forced && strcmp(forced, "wayland") != 0 && strcmp(forced, "x11") != 0) {
        Diagnostic("GARVO_BACKEND is \"%s\"; it must be wayland or x11", forced);
        return 2;
    }

    StayNice();
    // A write to a display that has gone must end in an orderly way, not in SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    CatchEndingOfRun();
    char wayland[160] = "", x11[160] = "";
    FrontEnd frontEnd;
    if (!forced || strcmp(forced, "wayland") == 0) {
#ifdef GARVO_WAYLAND
        if (OpenWayland(frontEnd, wayland, sizeof wayland)) {
            MaySaveSettings();
            return RunGauge(frontEnd);
        }
#else
        if (forced) snprintf(wayland, sizeof wayland, "not built in");
#endif
    }
    if (!forced || strcmp(forced, "x11") == 0) {
#ifdef GARVO_X11
        if (OpenX11(frontEnd, x11, sizeof x11)) {
            MaySaveSettings();
            return RunGauge(frontEnd);
        }
#else
        snprintf(x11, sizeof x11, "not built in");
#endif
    }
    // One line: each display tried, and why it would not do.
    Diagnostic("no display to show the gauge on:%s%s%s%s%s", *wayland ? " Wayland: " : "", wayland,
               *wayland && *x11 ? ";" : "", *x11 ? " X11: " : "", x11);
    return 1;
}
