// Range rules for the settings: threshold 0-100, bar kept on a screen or within an area of it.
#include "settings_rules.h"

// Sums are formed in 64 bits so that values near the ends of the 32-bit range do not wrap.
static int32_t ClampEdge(int32_t edge, int32_t size, int32_t start, int32_t end)
{
    int64_t clamped = edge;
    if (clamped + size >= end) clamped = int64_t(end) - size - 1;
    if (clamped < start) clamped = start;
    return int32_t(clamped);
}

Settings ClampSettingsIn(int32_t x, int32_t y, int32_t s, MeterRect area, int32_t barWidth,
                         int32_t barHeight)
{
    Settings clamped;
    clamped.s = s < 0 ? 0 : s > 100 ? 100 : s;
    clamped.x = x == UNSET_X ? x : ClampEdge(x, barWidth, area.left, area.right);
    clamped.y = ClampEdge(y, barHeight, area.top, area.bottom);
    return clamped;
}

Settings ClampSettings(int32_t x, int32_t y, int32_t s, int32_t width, int32_t height)
{
    MeterRect screen = {0, 0, width, height};
    return ClampSettingsIn(x, y, s, screen, BAR_WIDTH, BAR_HEIGHT);
}
