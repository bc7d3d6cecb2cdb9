// The table the gauge drives X11 through.
#include "x11_front_end.h"

#include "connection.h"
#include "events.h"
#include "monitors.h"
#include "stacking.h"
#include "surface.h"

namespace x11
{

// X11's coordinates are the screen's device pixels: the layout and the pictures take the
// desktop's scale alike, the one copy that its changes are compared with.
static double Scale()
{
    return server.scale;
}

static double PictureScale(SurfaceId)
{
    return server.scale;
}

static void Place(SurfaceId surface, const MeterRect& at)
{
    PlaceSurface(SurfaceOf(surface), at);
}

static void ShowPicture(SurfaceId surface, const Canvas& picture, const char* words)
{
    ShowCanvas(SurfaceOf(surface), picture, words);
}

static void Show(SurfaceId surface)
{
    ShowSurface(SurfaceOf(surface));
    // Just above the bar, which may itself lie under another window.
    if (surface == BOX) StackAbove(box, bar.window);
}

static void Hide(SurfaceId surface)
{
    HideSurface(SurfaceOf(surface));
}

} // namespace x11

using namespace x11;

bool OpenX11(FrontEnd& frontEnd, char* why, size_t size)
{
    if (!OpenXcb(why, size)) return false;
    if (!OpenConnection(why, size)) {
        CloseXcb();
        return false;
    }
    // Made at once at a size of one pixel; the gauge places and sizes them.
    CreateSurface(box, {0, 0, 1, 1});
    CreateSurface(bar, {0, 0, 1, 1});
    // Other windows' restacking is watched, to stay above them; the root's properties, for the
    // scale, which is read only once that watch is asked for, so that no change slips between.
    const uint32_t watch = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(server.connection, server.root, XCB_CW_EVENT_MASK, &watch);
    ReadScale();
    frontEnd = {ReadMonitors, Scale, PictureScale,  Place, ShowPicture,
                Show,         Hide,  WaitForEvents, false};
    return true;
}
