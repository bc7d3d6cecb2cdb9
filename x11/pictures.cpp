// The bar's and the box's pictures reach the server only when they change: an idle gauge costs
// the X server, and a compositor, nothing. Whatever covers them, the server reports as exposed.
#include "pictures.h"

#include "connection.h"
#include "surface.h"

#include "../unix/gauge.h"
#include "../unix/render.h"

namespace x11
{

static BarLayout drawnLayout;   // what the bar's picture shows
static char boxText[TEXT_SIZE]; // the box's text, which is also its window's name

void RefreshBar()
{
    if (SampleBar(drawnLayout)) ShowCanvas(bar, DrawBar(drawnLayout, gauge.scale));
}

void ShowInfo()
{
    if (UpdateInfoText(boxText)) {
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
