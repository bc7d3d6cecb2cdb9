// The range rules for the saved position and threshold, free of any platform call.
#pragma once

#include "../meter/meter.h"

#include <stdint.h>

// The platform's CW_USEDEFAULT: no position is known.
const int32_t UNSET_X = INT32_MIN;

const int32_t DEFAULT_Y = 0;
const int32_t DEFAULT_WARN_PERCENT = 75;

struct Settings {
    int32_t x;
    int32_t y;
    int32_t s;
};

// Keeps the threshold within 0-100 and the bar one pixel inside a screen of the given size.
Settings ClampSettings(int32_t x, int32_t y, int32_t s, int32_t width, int32_t height);

// The same rules within one area of the screen, for a bar of the given size.
Settings ClampSettingsIn(int32_t x, int32_t y, int32_t s, MeterRect area, int32_t barWidth,
                         int32_t barHeight);
