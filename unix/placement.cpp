// The monitor a bar belongs on, and its place there.
#include "placement.h"

#include <math.h>

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
    if (!MonitorFor(monitors, Within(int64_t(floor(x))), Within(int64_t(floor(y))), area)) return;
    x = fmin(fmax(x, area.left), area.right - 1.0);
    y = fmin(fmax(y, area.top), area.bottom - 1.0);
}

bool MonitorFor(const MonitorList& monitors, int32_t x, int32_t y, MeterRect& area)
{
    int at = NearestMonitor(monitors.rects, monitors.count, monitors.primary, x, y);
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
    Settings placed = ClampSettingsIn(x, y, 0, area, width, height);
    left = placed.x;
    top = placed.y;
    return true;
}
