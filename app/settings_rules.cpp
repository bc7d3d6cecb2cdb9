// Range rules for the settings: threshold 0-100, bar kept on the primary screen.
#include "settings_rules.h"

#include "../meter/meter.h"

// Sums are formed in 64 bits so that values near the ends of the 32-bit range do not wrap.
static int32_t ClampEdge(int32_t edge, int32_t size, int32_t screen)
{
    int64_t clamped = edge;
    if (clamped + size >= screen) clamped = int64_t(screen) - size - 1;
    if (clamped < 0) clamped = 0;
    return int32_t(clamped);
}

Settings ClampSettings(int32_t x, int32_t y, int32_t s, int32_t width, int32_t height)
{
    Settings clamped;
    clamped.s = s < 0 ? 0 : s > 100 ? 100 : s;
    clamped.x = x == UNSET_X ? x : ClampEdge(x, BAR_WIDTH, width);
    clamped.y = ClampEdge(y, BAR_HEIGHT, height);
    return clamped;
}
