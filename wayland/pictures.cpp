// The bar's and the box's pictures, drawn by the shared renderer at each surface's scale.
#include "pictures.h"

#include "surface.h"

#include "../unix/gauge.h"
#include "../unix/memory_source.h"

#include <string.h>

namespace wayland
{

static BarLayout drawnLayout;
static char boxText[TEXT_SIZE];

void RefreshBar()
{
    gauge.load = SampleMemoryLoad();
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    BarLayout layout = ComputeBarLayout(client, gauge.load, gauge.settings.s);
    if (layout.fill.right == drawnLayout.fill.right && layout.markerX == drawnLayout.markerX &&
        layout.fillColour == drawnLayout.fillColour)
        return;
    drawnLayout = layout;
    bar.dirty = true;
}

void ShowInfo()
{
    char text[TEXT_SIZE];
    FormatInfoText(gauge.load, gauge.settings.s, text);
    if (strcmp(text, boxText) != 0) {
        strcpy(boxText, text);
        box.dirty = true;
    }
    // Placed only on the way from hidden to shown: a shown box stays where it is.
    if (!IsOpen(box) && IsOpen(bar)) OpenSurface(box, bar.output, bar.left, bar.top - box.height);
    ArmTimer(gauge.hover, NowMs());
}

void CheckHover(const Surface* under)
{
    if (under == &bar || under == &box) return;
    KillTimer(gauge.hover);
    CloseSurface(box);
}

void PaintSurfaces()
{
    if (IsOpen(bar) && bar.configured && bar.dirty)
        ShowCanvas(bar, DrawBar(drawnLayout, SurfaceScale(bar)));
    if (IsOpen(box) && box.configured && box.dirty)
        ShowCanvas(box, DrawBox(boxText, SurfaceScale(box)));
}

} // namespace wayland
