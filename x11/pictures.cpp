// The bar's and the box's pictures reach the server only when they change: an idle gauge costs
// the X server, and a compositor, nothing. Whatever covers them, the server reports as exposed.
#include "pictures.h"

#include "connection.h"
#include "surface.h"

#include "../unix/gauge.h"
#include "../unix/memory_source.h"
#include "../unix/render.h"

#include <string.h>

namespace x11
{

static BarLayout drawnLayout;
static bool barDrawn;           // the bar's picture shows drawnLayout
static char boxText[TEXT_SIZE]; // the box's text, which is also its window's name

static bool SameLayout(const BarLayout& a, const BarLayout& b)
{
    return a.fill.right == b.fill.right && a.markerX == b.markerX && a.fillColour == b.fillColour;
}

void RefreshBar()
{
    gauge.load = SampleMemoryLoad();
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    BarLayout layout = ComputeBarLayout(client, gauge.load, gauge.settings.s);
    if (barDrawn && SameLayout(layout, drawnLayout)) return;
    ShowCanvas(bar, DrawBar(layout, gauge.scale));
    drawnLayout = layout;
    barDrawn = true;
}

void ShowInfo()
{
    char text[TEXT_SIZE];
    FormatInfoText(gauge.load, gauge.settings.s, text);
    bool changed = strcmp(text, boxText) != 0;
    if (changed) {
        strcpy(boxText, text);
        XStoreName(server.display, box.window, boxText);
        ShowCanvas(box, DrawBox(boxText, gauge.scale));
    }
    // Placed only on the way from hidden to shown: a shown box stays where it is.
    if (!box.shown) {
        MoveSurface(box, bar.left, bar.top - box.height);
        ShowSurface(box);
    }
    ArmTimer(gauge.hover, NowMs());
}

void CheckHover()
{
    Window root, under = None;
    int rootX, rootY, x, y;
    unsigned buttons;
    XQueryPointer(server.display, server.root, &root, &under, &rootX, &rootY, &x, &y, &buttons);
    if (under == bar.window || under == box.window) return;
    KillTimer(gauge.hover);
    HideSurface(box);
}

} // namespace x11
