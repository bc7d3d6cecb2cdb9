// Entry point of the native gauge: answer the command line, or run the gauge on the desktop's
// display until it is closed or the session ends.
#include "command_line.h"
#include "gauge.h"
#include "settings_file.h"

#include "../x11/x11_gauge.h"

#include <signal.h>
#include <sys/resource.h>

Gauge gauge;

int main(int argc, char** argv)
{
    const char* settings = ChooseSettingsFile();
    if (argc > 1) return AnswerCommandLine(argc, argv, settings);

    // Well below normal work: a gauge should never compete with what it measures.
    setpriority(PRIO_PROCESS, 0, 10);
    // A write to a display that has gone must end in an orderly way, not in SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    MaySaveSettings();
    return RunX11Gauge();
}
