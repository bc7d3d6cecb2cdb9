// The monitor a bar belongs on, and its place there.
#include "placement.h"

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
