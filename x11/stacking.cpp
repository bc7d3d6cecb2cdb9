// Staying above other programs' windows. garvo's windows are override-redirect, so no window
// manager keeps them on top: garvo goes back above an ordinary window that comes over it, and only
// just above that one, so that menus, tooltips and other keep-on-top windows stay above it.
#include "stacking.h"

#include "connection.h"
#include "surface.h"

#include "../unix/timer.h"

namespace x11
{

namespace
{

struct Stacking {
    int64_t lastRaiseMs; // kept above other windows at most once a period
    bool raisePending;
    Window lastCover; // the window garvo last went above, and when
    int64_t lastRestackMs;
    int fights;     // times that window took the top back at once
    Window yieldTo; // a window that keeps itself on top: garvo leaves it there
};

} // namespace

static Stacking stacking;

static bool Overlaps(const XWindowAttributes& other, const Surface& ours)
{
    int right = other.x + other.width + 2 * other.border_width;
    int bottom = other.y + other.height + 2 * other.border_width;
    return other.x < ours.at.right && right > ours.at.left && other.y < ours.at.bottom &&
           bottom > ours.at.top;
}

// The topmost viewable ordinary window that lies above one of garvo's windows and over it.
static Window FindCover()
{
    Display* display = server.display;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, server.root, &root, &parent, &children, &count)) return None;
    Window cover = None;
    bool aboveOurs = false; // the list runs from the bottom of the stack to its top
    for (unsigned i = 0; i < count; ++i) {
        Window window = children[i];
        if (window == bar.window || window == box.window) {
            aboveOurs = aboveOurs || window == bar.window || box.shown;
            continue;
        }
        XWindowAttributes other;
        if (!aboveOurs || !XGetWindowAttributes(display, window, &other) ||
            other.map_state != IsViewable || other.override_redirect)
            continue;
        if (Overlaps(other, bar) || (box.shown && Overlaps(other, box))) cover = window;
    }
    if (children) XFree(children);
    return cover;
}

void KeepOnTop()
{
    int64_t now = NowMs();
    if (stacking.lastRaiseMs && now - stacking.lastRaiseMs < TIMER_PERIOD_MS) {
        stacking.raisePending = true;
        return;
    }
    stacking.raisePending = false;
    Window cover = FindCover();
    if (!cover || cover == stacking.yieldTo) return;
    stacking.lastRaiseMs = now;
    XWindowChanges changes = {};
    changes.sibling = cover;
    changes.stack_mode = Above;
    XConfigureWindow(server.display, bar.window, CWSibling | CWStackMode, &changes);
    if (box.shown) {
        changes.sibling = bar.window;
        XConfigureWindow(server.display, box.window, CWSibling | CWStackMode, &changes);
    }
    if (cover != stacking.lastCover) stacking.fights = 0;
    stacking.lastCover = cover;
    stacking.lastRestackMs = now;
}

int64_t RaiseDue()
{
    return stacking.raisePending ? stacking.lastRaiseMs + TIMER_PERIOD_MS : -1;
}

void RaiseIfDue(int64_t now)
{
    if (stacking.raisePending && now >= RaiseDue()) KeepOnTop();
}

void OnOtherRestacked(Window window, Window below)
{
    // A window that takes the top back at once, each time, keeps itself on top: one of the two
    // must give way, and garvo does, rather than trade places with it for ever. Only a restack
    // straight over garvo's windows counts; a move does not.
    bool overOurs = below == bar.window || below == box.window;
    if (window == stacking.lastCover && overOurs && NowMs() - stacking.lastRestackMs < 150 &&
        ++stacking.fights >= 2)
        stacking.yieldTo = window;
    KeepOnTop();
}

void OnOtherGone(Window window)
{
    if (window == stacking.yieldTo) stacking.yieldTo = None;
    if (window == stacking.lastCover) stacking.lastCover = None;
}

} // namespace x11
