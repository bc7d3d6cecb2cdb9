// Entry point of the X11 gauge: answer --help and --version, or load the settings, run the two
// windows until one is closed or the session ends, and save the settings.
#include "gauge.h"
#include "meter_state.h"
#include "version.h"

#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <unistd.h>

static void PrintUsage(FILE* out, const char* settings)
{
    fprintf(out,
            "Usage: garvo [--help | --version]\n"
            "An always-on-top gauge of how much physical memory is in use: a thin bar, blue below\n"
            "the warning threshold and red at or above it.\n"
            "\n"
            "  hover         show the load and the threshold, e.g. \"63%%use(w:75%%)\"\n"
            "  drag          move the bar, or the box above it\n"
            "  double-click  set the threshold: 0 %% at the bar's left end, 100 %% at its right\n"
            "  right-click   quit, saving the bar's position and the threshold\n"
            "\n"
            "The settings are ./garvo.ini when the current directory has one (the file that\n"
            "garvo.exe uses), else $XDG_CONFIG_HOME/garvo/garvo.ini, by default\n"
            "~/.config/garvo/garvo.ini. This run's: %s\n",
            settings);
}

// The command line, when there is one: usage or version and 0, or usage and 2 for anything else.
static int AnswerCommandLine(int argc, char** argv, const char* settings)
{
    if (argc == 2 && strcmp(argv[1], "--version") == 0) {
        printf("garvo %s\n", GARVO_VERSION);
        return 0;
    }
    bool help = argc == 2 && strcmp(argv[1], "--help") == 0;
    PrintUsage(help ? stdout : stderr, settings);
    return help ? 0 : 2;
}

// The X server went away, as it does at a logout: save what the session changed, then end. During
// start-up there is nothing of the session's yet, and the file is left as it was.
static int OnDisplayLost(Display*)
{
    if (!meter.running) {
        fprintf(stderr, "garvo: lost the X display while starting\n");
        _exit(1);
    }
    RecordBarPosition();
    SaveSettings();
    _exit(0);
}

// Errors garvo can live with: a window that went away between two requests, an extension
// request the server does not know. None is a reason to end without saving.
static int OnProtocolError(Display*, XErrorEvent*)
{
    return 0;
}

int main(int argc, char** argv)
{
    const char* settings = ChooseSettingsFile();
    if (argc > 1) return AnswerCommandLine(argc, argv, settings);

    // Well below normal work: a gauge should never compete with what it measures.
    setpriority(PRIO_PROCESS, 0, 10);
    // A write to a server that has gone must end in OnDisplayLost, not in SIGPIPE.
    signal(SIGPIPE, SIG_IGN);

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
    XSetErrorHandler(OnProtocolError);
    meter.root = DefaultRootWindow(meter.display);

    ReadScale();
    MeterRect monitors[MAX_MONITORS];
    int primary;
    int count = ReadMonitors(monitors, primary);
    LoadSettings(monitors, count, primary);
    OpenMemorySource();
    CreateMeterWindows();
    meter.running = true;
    CatchEndingSignals();
    RunEventLoop();
    SaveSettings();
    XCloseDisplay(meter.display);
    return 0;
}
