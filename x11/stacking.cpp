// Staying above other programs' windows. garvo's windows are override-redirect, so no window
// manager keeps them on top: garvo goes back above an ordinary window that comes over it, and only
// just above that one, so that menus, tooltips and other keep-on-top windows stay above it.
#include "stacking.h"

#include "connection.h"
#include "replies.h"
#include "surface.h"

#include "../unix/timer.h"

#include <stdlib.h>

namespace x11
{

namespace
{

struct Stacking {
    int64_t lastRaiseMs; // kept above other windows at most once a period
    bool raisePending;
    xcb_window_t lastCover; // the window garvo last went above, and when
    int64_t lastRestackMs;
    int fights;           // times that window took the top back at once
    xcb_window_t yieldTo; // a window that keeps itself on top: garvo leaves it there
};

} // namespace

static Stacking stacking;

static bool Overlaps(const xcb_get_geometry_reply_t& other, const Surface& ours)
{
    int right = other.x + other.width + 2 * other.border_width;
    int bottom = other.y + other.height + 2 * other.border_width;
    return other.x < ours.at.right && right > ours.at.left && other.y < ours.at.bottom &&
           bottom > ours.at.top;
}

// Whether a window is a viewable ordinary one over one of garvo's shown windows; asked of the
// server in batches, since every window above garvo's may be one.
static bool Covers(xcb_get_window_attributes_cookie_t attributes, xcb_get_geometry_cookie_t place)
{
    xcb_connection_t* c = server.connection;
    xcb_get_window_attributes_reply_t* kind =
        xcb_get_window_attributes_reply(c, attributes, nullptr);
    xcb_get_geometry_reply_t* at = xcb_get_geometry_reply(c, place, nullptr);
    bool covers = kind && at && kind->map_state == XCB_MAP_STATE_VIEWABLE &&
                  !kind->override_redirect &&
                  (Overlaps(*at, bar) || (box.shown && Overlaps(*at, box)));
    free(kind);
    free(at);
    return covers;
}

// The topmost viewable ordinary window that lies above one of garvo's windows and over it.
static bool IsOurs(xcb_window_t window)
{
    return window == bar.window || window == box.window;
}

static xcb_window_t FindCover()
{
    xcb_connection_t* c = server.connection;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, server.root), nullptr);
    if (!tree) {
        CheckConnection();
        return XCB_NONE;
    }
    const uint8_t* children = reinterpret_cast<const uint8_t*>(tree);
    const int count = CountChildren(children, ReplyLength(tree));
    // The list runs from the bottom of the stack to its top: only what lies above garvo's counts.
    int first = count;
    for (int i = 0; i < count && first == count; ++i) {
        xcb_window_t child = ChildAt(children, i);
        if (child == bar.window || (box.shown && child == box.window)) first = i + 1;
    }
    const int BATCH = 32;
    xcb_window_t asked[BATCH];
    xcb_get_window_attributes_cookie_t kinds[BATCH];
    xcb_get_geometry_cookie_t places[BATCH];
    xcb_window_t cover = XCB_NONE;
    for (int next = first; next < count;) {
        int n = 0;
        for (; next < count && n < BATCH; ++next) {
            xcb_window_t child = ChildAt(children, next);
            if (IsOurs(child)) continue;
            asked[n] = child;
            kinds[n] = xcb_get_window_attributes(c, child);
            places[n++] = xcb_get_geometry(c, child);
        }
        for (int j = 0; j < n; ++j)
            if (Covers(kinds[j], places[j])) cover = asked[j];
    }
    free(tree);
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
    xcb_window_t cover = FindCover();
    if (!cover || cover == stacking.yieldTo) return;
    stacking.lastRaiseMs = now;
    StackAbove(bar, cover);
    if (box.shown) StackAbove(box, bar.window);
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

void OnOtherRestacked(xcb_window_t window, xcb_window_t below)
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

void OnOtherGone(xcb_window_t window)
{
    if (window == stacking.yieldTo) stacking.yieldTo = XCB_NONE;
    if (window == stacking.lastCover) stacking.lastCover = XCB_NONE;
}

} // namespace x11
