// The monitor a bar belongs on, and its place there.
#include "placement.h"

static MeterRect AreaFor(const Settings& settings, const MonitorList& monitors)
{
    int at =
        NearestMonitor(monitors.rects, monitors.count, monitors.primary, settings.x, settings.y);
    return at >= 0 ? monitors.rects[at] : MeterRect{0, 0, 0, 0};
}

Settings ClampOntoMonitors(const Settings& wanted, const MonitorList& monitors, int barWidth,
                           int barHeight)
{
    return ClampSettingsIn(wanted.x, wanted.y, wanted.s, AreaFor(wanted, monitors), barWidth,
                           barHeight);
}

void BarCorner(const Settings& clamped, const MonitorList& monitors, int32_t& left, int32_t& top)
{
    MeterRect area = AreaFor(clamped, monitors);
    left = clamped.x == UNSET_X ? area.left : clamped.x;
    top = clamped.x == UNSET_X ? area.top : clamped.y;
}
