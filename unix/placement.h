// Where the bar stands among the desktop's monitors, by the same rule at start and whenever the
// monitors change.
#pragma once

#include "../app/settings_rules.h"

const int MAX_MONITORS = 16;

struct MonitorList {
    MeterRect rects[MAX_MONITORS];
    int count;
    int primary; // the primary monitor's index, or -1
};

// The settings with the threshold in range and the corner one pixel inside the monitor it belongs
// on (the one that holds it, else the nearest), for a bar of that size. An unset x stays unset.
Settings ClampOntoMonitors(const Settings& wanted, const MonitorList& monitors, int barWidth,
                           int barHeight);
// Where a bar of those clamped settings stands: at its corner, or with no x, at the top-left corner
// of the monitor it belongs on, as a pop-up starts on Windows.
void BarCorner(const Settings& clamped, const MonitorList& monitors, int32_t& left, int32_t& top);
