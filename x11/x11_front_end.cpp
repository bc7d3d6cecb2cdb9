// The table the gauge drives X11 through.
#include "x11_front_end.h"

#include "connection.h"
#include "events.h"
#include "monitors.h"
#include "stacking.h"
#include "surface.h"

namespace x11
{

static double scale; // the desktop's, read at each question: its changes are reported as they come

static double LayoutScale()
{
    return scale = ReadScale();
}

// X11's coordinates are the screen's device pixels: a picture is drawn at the layout's scale.
static double PictureScale(SurfaceId)
{
    return scale;
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
    if (surface == BOX) {
        // Just above the bar, which may itself lie under another window.
        XWindowChanges changes = {};
        changes.sibling = bar.window;
        changes.stack_mode = Above;
        XConfigureWindow(server.display, box.window, CWSibling | CWStackMode, &changes);
    }
}

static void Hide(SurfaceId surface)
{
    HideSurface(SurfaceOf(surface));
}

} // namespace x11

using namespace x11;

bool OpenX11(FrontEnd& frontEnd, char* why, size_t size)
{
    if (!OpenConnection(why, size)) return false;
    // Made at once at a size of one pixel; the gauge places and sizes them.
    CreateSurface(box, {0, 0, 1, 1});
    CreateSurface(bar, {0, 0, 1, 1});
    // Other windows' restacking is watched, to stay above them; the root's properties, for the
    // scale.
    XSelectInput(server.display, server.root, SubstructureNotifyMask | PropertyChangeMask);
    frontEnd = {ReadMonitors, LayoutScale, PictureScale,  Place, ShowPicture,
                Show,         Hide,        WaitForEvents, false};
    return true;
}
