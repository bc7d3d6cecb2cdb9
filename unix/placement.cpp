// The monitor a bar belongs on, and its place there.
#include "placement.h"

#include "numbers.h"

int32_t Within(int64_t at)
{
    return at < INT32_MIN + 1 ? INT32_MIN + 1 : at > INT32_MAX ? INT32_MAX : int32_t(at);
}

MeterRect RectAt(int64_t left, int64_t top, int64_t width, int64_t height)
{
    return {Within(left), Within(top), Within(left + width), Within(top + height)};
}

void KeepOnMonitors(const MonitorList& monitors, double& x, double& y)
{
    MeterRect area;
    if (!MonitorFor(monitors, Within(Floor(x)), Within(Floor(y)), area)) return;
    x = Clamp(x, area.left, area.right - 1.0);
    y = Clamp(y, area.top, area.bottom - 1.0);
}

// How far a point lies outside a range, capped so that two squares still fit in 64 bits.
static int64_t Outside(int32_t at, int32_t start, int32_t end)
{
    int64_t by = at < start ? int64_t(start) - at : at >= end ? int64_t(at) - end + 1 : 0;
    return by < INT32_MAX ? by : INT32_MAX;
}

int NearestMonitor(const MonitorList& monitors, int32_t x, int32_t y)
{
    int best = -1;
    int64_t bestDistance = 0;
    for (int i = 0; i < monitors.count; ++i) {
        const MeterRect& m = monitors.rects[i];
        if (m.right <= m.left || m.bottom <= m.top) continue;
        int64_t dx = x == UNSET_X ? 0 : Outside(x, m.left, m.right);
        int64_t dy = x == UNSET_X ? 0 : Outside(y, m.top, m.bottom);
        int64_t distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance ||
            (distance == bestDistance && i == monitors.primary)) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

bool MonitorFor(const MonitorList& monitors, int32_t x, int32_t y, MeterRect& area)
{
    int at = NearestMonitor(monitors, x, y);
    if (at < 0) return false;
    area = monitors.rects[at];
    return true;
}

bool PlaceOnMonitors(const MonitorList& monitors, int32_t x, int32_t y, int width, int height,
                     int32_t& left, int32_t& top)
{
    MeterRect area;
    if (!MonitorFor(monitors, x, y, area)) return false;
    if (x == UNSET_X) {
        x = area.left;
        y = area.top;
    }
    left = x;
    top = y;
    KeepInside(area, width, height, left, top);
    return true;
}

void KeepInside(const MeterRect& area, int width, int height, int32_t& left, int32_t& top)
{
    Settings kept = ClampSettingsIn(left, top, 0, area, width, height);
    left = kept.x;
    top = kept.y;
}
