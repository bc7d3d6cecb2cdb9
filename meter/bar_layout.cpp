// Where the bar's fill ends, where the threshold marker stands, and which colour the fill takes.
#include "meter.h"

BarLayout ComputeBarLayout(MeterRect client, uint32_t load, int32_t threshold)
{
    // The frame's outline and one white pixel inside it leave a 2-pixel margin on every side.
    int64_t inner = int64_t(client.right) - client.left - 4;
    int32_t fillLength = int32_t(inner * load / 100);
    int32_t markerOffset = int32_t(inner * threshold / 100);

    BarLayout layout;
    layout.frame = client;
    layout.fill.left = client.left + 2;
    layout.fill.top = client.top + 2;
    layout.fill.right = client.left + 2 + fillLength;
    layout.fill.bottom = client.bottom - 2;
    layout.markerX = client.left + 2 + markerOffset;
    layout.fillColour = int64_t(load) < threshold ? COLOUR_BLUE : COLOUR_RED;
    return layout;
}

int32_t ThresholdFromPoint(int32_t x, MeterRect client)
{
    if (x <= 2) return 0;
    if (x >= int64_t(client.right) - 2) return 100;
    // Only a client narrower than the margins gets here with nothing to divide by.
    int64_t span = (int64_t(client.right) - 2) - (int64_t(client.left) + 2);
    if (span <= 0) return 100;
    int64_t threshold = (int64_t(x) - 2) * 100 / span;
    return threshold > 100 ? 100 : int32_t(threshold);
}
