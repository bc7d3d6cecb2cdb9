// The gauge's state, and what it shows: the bar, sampled and drawn, and the box above it while the
// pointer is over them. Every front end's display gets the same pictures at the same places. The
// report of a surface moved by another program is defined here.
#pragma once

#include "front_end.h"
#include "timer.h"

#include "../app/settings_rules.h"
#include "../meter/meter.h"

#include <stdint.h>

struct Gauge {
    const FrontEnd* display;
    Settings settings; // what a save writes: the bar's place once it has one, and the threshold
    bool placed;       // the bar has stood on a monitor: where it stands is the user's to keep
    bool closing;      // a click asked the run to end
    MonitorList monitors;
    double layoutScale; // the front end's units for one of the Windows image's pixels
    uint32_t load;      // the latest sample, in percent
    Timer refresh, hover;
};

// What the surfaces show, and where.
struct Shown {
    MeterRect bar, box; // in the gauge's coordinates
    bool barShown, boxShown;
    BarLayout layout;     // what the bar's picture shows
    char text[TEXT_SIZE]; // what the box's picture says
};

// Zero at process start, as the Windows image's state is.
extern Gauge gauge;
extern Shown shown;

// Where a surface stands now.
const MeterRect& RectOf(SurfaceId surface);
// Puts a surface's corner at that place, at the size the layout scale gives it.
void PlaceSurface(SurfaceId surface, int64_t left, int64_t top);
// Shows the bar on the monitors, its corner wanted at (x, y) by the placement rule; with no
// monitor, takes the bar and the box off the screen until one comes. Whether it is shown.
bool ShowBarOnMonitors(int32_t x, int32_t y);
// Draws a surface's picture again at its scale, the glyphs prepared first for the box.
void Redraw(SurfaceId surface);
// Samples the memory load; the bar's picture is drawn again if it has changed.
void RefreshBar();
// The box's text from the latest sample; shows the box above the bar if it is hidden, and
// restarts the hover timer.
void ShowInfo();
// Takes the box off the screen, and stops the hover timer.
void HideInfo();
// Takes the bar's place as the one to save, as closing the bar does on Windows; nothing while
// the bar has never stood on a monitor.
void RecordBarPosition();
