// The command line: garvo takes none but --help and --version, as a gauge started at login needs.
#include "command_line.h"

#include "version.h"

#if defined(GARVO_WAYLAND) && defined(GARVO_X11)
#define FRONT_ENDS "Wayland, X11"
#elif defined(GARVO_WAYLAND)
#define FRONT_ENDS "Wayland"
#else
#define FRONT_ENDS "X11"
#endif

#include <string.h>

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
            "It shows itself on Wayland when the compositor has a layer shell, else on X11;\n"
            "GARVO_BACKEND=wayland or GARVO_BACKEND=x11 forces one. Built for: " FRONT_ENDS ".\n"
            "\n"
            "The settings are ./garvo.ini when the current directory has one (the file that\n"
            "garvo.exe uses), else $XDG_CONFIG_HOME/garvo/garvo.ini, by default\n"
            "~/.config/garvo/garvo.ini. This run's: %s\n",
            settings);
}

int AnswerCommandLine(int argc, char** argv, const char* settings)
{
    if (argc == 2 && strcmp(argv[1], "--version") == 0) {
        printf("garvo %s (" FRONT_ENDS ")%s%s\n", GARVO_VERSION,
               *GARVO_COMMIT ? " from commit " : "", GARVO_COMMIT);
        return 0;
    }
    bool help = argc == 2 && strcmp(argv[1], "--help") == 0;
    PrintUsage(help ? stdout : stderr, settings);
    return help ? 0 : 2;
}
