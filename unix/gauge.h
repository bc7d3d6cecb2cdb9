// What the gauge knows whatever display it is shown on: the settings it will save, the latest
// sample, the scale it draws at and its two timers.
#pragma once

#include "timer.h"

#include "../app/settings_rules.h"

#include <stdint.h>

struct Gauge {
    Settings settings; // what a save writes: the bar's place once recorded, and the threshold
    uint32_t load;     // the latest sample, in percent
    double scale;      // device pixels to a pixel of the Windows image's windows
    Timer refresh, hover;
};

// Zero at process start, as the Windows image's state is.
extern Gauge gauge;
