// Staying above other programs' windows. garvo's windows are override-redirect, so no window
// manager keeps them on top: garvo goes back above an ordinary window that comes over it, and only
// just above that one, so that menus, tooltips and other keep-on-top windows stay above it.
#include "gauge.h"
#include "meter_state.h"

static bool Overlaps(const XWindowAttributes& other, int left, int top, int width, int height)
{
    int right = other.x + other.width + 2 * other.border_width;
    int bottom = other.y + other.height + 2 * other.border_width;
    return other.x < left + width && right > left && other.y < top + height && bottom > top;
}

// The topmost viewable ordinary window that lies above one of garvo's windows and over it.
static Window FindCover()
{
    Display* display = meter.display;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, meter.root, &root, &parent, &children, &count)) return None;
    Window cover = None;
    bool aboveOurs = false; // the list runs from the bottom of the stack to its top
    for (unsigned i = 0; i < count; ++i) {
        Window window = children[i];
        if (window == meter.bar || window == meter.info) {
            aboveOurs = aboveOurs || window == meter.bar || meter.infoShown;
            continue;
        }
        XWindowAttributes other;
        if (!aboveOurs || !XGetWindowAttributes(display, window, &other) ||
            other.map_state != IsViewable || other.override_redirect)
            continue;
        int scale = meter.scale;
        if (Overlaps(other, meter.barLeft, meter.barTop, BAR_WIDTH * scale, BAR_HEIGHT * scale) ||
            (meter.infoShown && Overlaps(other, meter.infoLeft, meter.infoTop, INFO_WIDTH * scale,
                                         INFO_HEIGHT * scale)))
            cover = window;
    }
    if (children) XFree(children);
    return cover;
}

void KeepOnTop()
{
    if (meter.raiseDone) {
        meter.raisePending = true;
        return;
    }
    Window cover = FindCover();
    if (!cover || cover == meter.yieldTo) return;
    meter.raiseDone = true;
    XWindowChanges changes = {};
    changes.sibling = cover;
    changes.stack_mode = Above;
    XConfigureWindow(meter.display, meter.bar, CWSibling | CWStackMode, &changes);
    if (meter.infoShown) {
        changes.sibling = meter.bar;
        XConfigureWindow(meter.display, meter.info, CWSibling | CWStackMode, &changes);
    }
    if (cover != meter.lastCover) meter.fights = 0;
    meter.lastCover = cover;
    meter.lastRestackMs = NowMs();
}

void OnOtherRestacked(Window window, Window below)
{
    // A window that takes the top back at once, each time, keeps itself on top: one of the two
    // must give way, and garvo does, rather than trade places with it for ever. Only a restack
    // straight over garvo's windows counts; a move does not.
    bool overOurs = below == meter.bar || below == meter.info;
    if (window == meter.lastCover && overOurs && NowMs() - meter.lastRestackMs < 150 &&
        ++meter.fights >= 2)
        meter.yieldTo = window;
    KeepOnTop();
}

void OnOtherGone(Window window)
{
    if (window == meter.yieldTo) meter.yieldTo = None;
    if (window == meter.lastCover) meter.lastCover = None;
}
