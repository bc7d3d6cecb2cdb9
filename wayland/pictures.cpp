// The bar's and the box's pictures, drawn by the shared renderer at each surface's scale.
#include "pictures.h"

#include "surface.h"

#include "../unix/gauge.h"

namespace wayland
{

static BarLayout drawnLayout;
static char boxText[TEXT_SIZE];

void RefreshBar()
{
    if (SampleBar(drawnLayout)) bar.dirty = true;
}

void ShowInfo()
{
    if (UpdateInfoText(boxText)) box.dirty = true;
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
