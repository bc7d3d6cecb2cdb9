// The bar: a framed strip filled in proportion to the memory load, with a threshold marker.
#include "ui.h"

#include "../app/meter_state.h"
#include "../meter/meter.h"

static RECT ToRect(const MeterRect& rect)
{
    RECT converted = {rect.left, rect.top, rect.right, rect.bottom};
    return converted;
}

void DrawBar(HDC dc, const BarLayout& layout)
{
    RECT fill = ToRect(layout.fill);
    HBRUSH brush = CreateSolidBrush(layout.fillColour);
    // The outline and white interior cover every pixel, so the class needs no background brush.
    Rectangle(dc, layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.bottom);
    if (brush) FillRect(dc, &fill, brush);
    MoveToEx(dc, layout.markerX, layout.frame.top, NULL);
    LineTo(dc, layout.markerX, layout.frame.bottom);
    if (brush) DeleteObject(brush);
}

void PaintBar(HDC dc, const RECT& client)
{
    MEMORYSTATUS status;
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    meter.loadPercent = status.dwMemoryLoad;
    DrawBar(dc, ComputeBarLayout(ToMeterRect(client), meter.loadPercent, meter.warnPercent));
}
