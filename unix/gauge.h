// What the gauge knows whatever display it is shown on: the settings it will save, the latest
// sample, the scale it draws at and its two timers.
#pragma once

#include "timer.h"

#include "../app/settings_rules.h"
#include "../meter/meter.h"

#include <stdint.h>

struct Gauge {
    Settings settings; // what a save writes: the bar's place once recorded, and the threshold
    uint32_t load;     // the latest sample, in percent
    double scale;      // device pixels to a pixel of the Windows image's windows
    Timer refresh, hover;
};

// Zero at process start, as the Windows image's state is.
extern Gauge gauge;

// Samples the memory load; true when the bar's picture is to change from `shown`, which then
// becomes the new layout. A zero layout, never shown, always changes.
bool SampleBar(BarLayout& shown);
// The box's text from the latest sample and the threshold; true when it changed.
bool UpdateInfoText(char (&text)[TEXT_SIZE]);
