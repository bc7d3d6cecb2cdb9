// Where the bar stands among the desktop's monitors, by one rule at start, when the monitors
// change and at the end of a drag.
#pragma once

#include "../app/settings_rules.h"

const int MAX_MONITORS = 16;

struct MonitorList {
    MeterRect rects[MAX_MONITORS];
    int count;   // 0 while the display has no monitor
    int primary; // the primary monitor's index, or -1
};

// A coordinate kept within 32 bits, whatever a display reports, and clear of the unset x.
int32_t Within(int64_t at);
// A rectangle of that place and size, cut to the 32-bit space it may reach past.
MeterRect RectAt(int64_t left, int64_t top, int64_t width, int64_t height);
// The point kept on the monitors, as a display keeps its pointer: moved to the nearest edge of the
// monitor it belongs on when it lies beyond.
void KeepOnMonitors(const MonitorList& monitors, double& x, double& y);
// The index of the monitor a corner belongs on: the one that holds it, else the nearest one; the
// primary one on a tie, and for an unset x. -1 when no monitor has an area.
int NearestMonitor(const MonitorList& monitors, int32_t x, int32_t y);
// The monitor a corner belongs on: the one that holds it, else the nearest, the primary one for
// an unset x. False when there is no monitor.
bool MonitorFor(const MonitorList& monitors, int32_t x, int32_t y, MeterRect& area);
// Where a surface of that size with its corner wanted at (x, y) stands: one pixel inside the
// monitor that corner belongs on; with an unset x, at that monitor's top-left corner, as a pop-up
// starts on Windows. False, with left and top untouched, when there is no monitor.
bool PlaceOnMonitors(const MonitorList& monitors, int32_t x, int32_t y, int width, int height,
                     int32_t& left, int32_t& top);
// Moves a corner so that a surface of that size stands one pixel inside the area, as the bar
// stands on its monitor.
void KeepInside(const MeterRect& area, int width, int height, int32_t& left, int32_t& top);
