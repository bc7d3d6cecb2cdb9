// What the two windows show, computed without any platform call.
#pragma once

#include <stdint.h>

// Same shape as the platform's RECT: right and bottom are exclusive.
struct MeterRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Same layout as the platform's COLORREF: 0x00BBGGRR.
typedef uint32_t MeterColour;

const MeterColour COLOUR_BLUE = 0x00FF0000;
const MeterColour COLOUR_RED = 0x000000FF;

const int BAR_WIDTH = 126;
const int BAR_HEIGHT = 6;
const int INFO_WIDTH = 126;
const int INFO_HEIGHT = 24;
const int TEXT_SIZE = 128;

struct BarLayout {
    MeterRect frame;
    MeterRect fill;
    int32_t markerX;
    MeterColour fillColour;
};

BarLayout ComputeBarLayout(MeterRect client, uint32_t load, int32_t threshold);
int32_t ThresholdFromPoint(int32_t x, MeterRect client);
// Writes e.g. "63%use(w:75%)" and returns its length.
int FormatInfoText(uint32_t load, int32_t threshold, char (&text)[TEXT_SIZE]);
