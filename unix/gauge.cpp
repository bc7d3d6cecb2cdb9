// The gauge's state, and what each refresh and each hover make of it on any display.
#include "gauge.h"

#include "memory_source.h"

#include <string.h>

Gauge gauge;

bool SampleBar(BarLayout& shown)
{
    gauge.load = SampleMemoryLoad();
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    BarLayout layout = ComputeBarLayout(client, gauge.load, gauge.settings.s);
    // A layout never shown has no fill at all, unlike any the arithmetic makes.
    if (layout.fill.right == shown.fill.right && layout.markerX == shown.markerX &&
        layout.fillColour == shown.fillColour)
        return false;
    shown = layout;
    return true;
}

bool UpdateInfoText(char (&text)[TEXT_SIZE])
{
    char now[TEXT_SIZE];
    FormatInfoText(gauge.load, gauge.settings.s, now);
    if (strcmp(now, text) == 0) return false;
    strcpy(text, now);
    return true;
}
