// Range rules for the settings: threshold 0-100, bar kept on a screen or one of its monitors.
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

// How far a point lies outside a range, capped so that two squares still fit in 64 bits.
static int64_t Outside(int32_t at, int32_t start, int32_t end)
{
    int64_t by = at < start ? int64_t(start) - at : at >= end ? int64_t(at) - end + 1 : 0;
    return by < INT32_MAX ? by : INT32_MAX;
}

int NearestMonitor(const MeterRect* monitors, int count, int primary, int32_t x, int32_t y)
{
    int best = -1;
    int64_t bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const MeterRect& m = monitors[i];
        if (m.right <= m.left || m.bottom <= m.top) continue;
        int64_t dx = x == UNSET_X ? 0 : Outside(x, m.left, m.right);
        int64_t dy = x == UNSET_X ? 0 : Outside(y, m.top, m.bottom);
        int64_t distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance || (distance == bestDistance && i == primary)) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}
