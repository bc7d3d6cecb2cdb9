// The bar: a framed strip filled in proportion to the memory load, with a threshold marker.
#include "gauge.h"
#include "meminfo.h"
#include "meter_state.h"

#include "../meter/meter.h"

#include <fcntl.h>
#include <unistd.h>

void OpenMemorySource()
{
    meter.meminfo = open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
}

static uint32_t SampleMemoryLoad()
{
    // Kept open: reading from the start again gives a fresh sample.
    char text[4096];
    ssize_t size = meter.meminfo >= 0 ? pread(meter.meminfo, text, sizeof text, 0) : -1;
    return size > 0 ? MemoryLoadFromMeminfo(text, size_t(size)) : 0;
}

static void Fill(Drawable target, unsigned long pixel, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top) return;
    XSetForeground(meter.display, meter.gc, pixel);
    XFillRectangle(meter.display, target, meter.gc, left, top, unsigned(right - left),
                   unsigned(bottom - top));
}

// A one-pixel black outline around a white interior, as the Windows image's Rectangle draws.
void DrawFrame(Drawable target, int width, int height)
{
    Fill(target, meter.white, 0, 0, width, height);
    XSetForeground(meter.display, meter.gc, meter.black);
    XDrawRectangle(meter.display, target, meter.gc, 0, 0, unsigned(width - 1),
                   unsigned(height - 1));
}

static bool SameLayout(const BarLayout& a, const BarLayout& b)
{
    return a.fill.right == b.fill.right && a.markerX == b.markerX && a.fillColour == b.fillColour;
}

// Sent to the server only when the picture changes: an idle gauge costs the X server, and a
// compositor, nothing. Whatever else covers the bar, the server reports as an exposure.
void RefreshBar()
{
    meter.loadPercent = SampleMemoryLoad();
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    BarLayout layout = ComputeBarLayout(client, meter.loadPercent, meter.warnPercent);
    if (meter.barDrawn && SameLayout(layout, meter.drawnLayout)) return;
    Drawable image = meter.barImage;
    DrawFrame(image, BAR_WIDTH, BAR_HEIGHT);
    Fill(image, layout.fillColour == COLOUR_RED ? meter.red : meter.blue, layout.fill.left,
         layout.fill.top, layout.fill.right, layout.fill.bottom);
    Fill(image, meter.black, layout.markerX, client.top, layout.markerX + 1, client.bottom);
    meter.drawnLayout = layout;
    meter.barDrawn = true;
    ShowBarImage();
}
