// The run: settings read, the bar placed on the monitors, the timers, and the save at the end,
// whichever way the end comes.
#include "run.h"

#include "diagnostic.h"
#include "ending.h"
#include "gauge.h"
#include "gestures.h"
#include "memory_source.h"
#include "settings_file.h"

#include <unistd.h>

static bool running;      // the settings are read and the loop runs: an end now saves them
static bool settingsRead; // an ending signal saves them

static void SaveWhereTheBarStands()
{
    if (!settingsRead) return;
    RecordBarPosition();
    SaveSettings(gauge.settings);
}

void DisplayLost(const char* reason)
{
    // During start-up there is nothing of the session's yet, and the file is left as it was.
    if (!running) {
        Diagnostic("lost the display while starting%s%s", reason ? ": " : "", reason ? reason : "");
        _exit(1);
    }
    HoldEndingSignals();
    SaveWhereTheBarStands();
    if (!reason) _exit(0);
    Diagnostic("%s", reason);
    _exit(1);
}

void MonitorsChanged()
{
    gauge.display->readMonitors(gauge.monitors);
    // A bar that has never stood anywhere takes its saved place; one that has stays where it is
    // on a monitor still there, else comes onto the nearest one, as at start.
    int32_t x = gauge.placed ? shown.bar.left : gauge.settings.x;
    int32_t y = gauge.placed ? shown.bar.top : gauge.settings.y;
    if (Dragging()) {
        MeterRect area;
        // A drag goes on over monitors that merely changed, while the bar stays on one of them.
        if (MonitorFor(gauge.monitors, x, y, area) && x >= area.left && y >= area.top &&
            shown.bar.right <= area.right && shown.bar.bottom <= area.bottom)
            return;
        CancelDrag();
    }
    ShowBarOnMonitors(x, y);
}

void ScaleChanged(SurfaceId surface)
{
    double layout = gauge.display->layoutScale();
    if (layout == gauge.layoutScale) {
        Redraw(surface);
        return;
    }
    // Every size follows: the bar is placed again at its new size, the box goes until hovered.
    gauge.layoutScale = layout;
    HideInfo();
    CancelDrag();
    if (gauge.placed) ShowBarOnMonitors(shown.bar.left, shown.bar.top);
}

void CatchEndingOfRun()
{
    CatchEndingSignals(SaveWhereTheBarStands);
}

int RunGauge(const FrontEnd& display)
{
    gauge = {};
    shown = {};
    gauge.display = &display;
    gauge.settings = ReadSettings();
    // A logout that came while the display was opened, or comes while the bar first shows, is
    // seen at the loop's first turn, with the bar where it was placed.
    settingsRead = true;
    gauge.layoutScale = display.layoutScale();
    display.readMonitors(gauge.monitors);
    OpenMemorySource();
    RefreshBar(); // the first sample, before the first tick
    ShowBarOnMonitors(gauge.settings.x, gauge.settings.y);
    ArmTimer(gauge.refresh, NowMs());
    running = true;

    while (!gauge.closing) {
        if (EndRequested()) {
            // A logout or a shutdown: saved as a close of the bar would be.
            RecordBarPosition();
            break;
        }
        int64_t now = NowMs();
        if (TakeTick(gauge.refresh, now)) RefreshBar();
        // A drag holds the box, wherever the pointer is.
        if (TakeTick(gauge.hover, now) && !PointerOverGauge() && !Dragging()) HideInfo();
        display.waitForEvents(WaitFor(gauge.refresh, gauge.hover, NowMs()));
    }
    HoldEndingSignals();
    SaveSettings(gauge.settings);
    return 0;
}
