// The X events, each told to the gauge in its own terms, and the wait on the connection.
#include "events.h"

#include "connection.h"
#include "monitors.h"
#include "stacking.h"
#include "surface.h"

#include "../unix/ending.h"
#include "../unix/front_end.h"
#include "../unix/timer.h"

#include <poll.h>
#include <stdlib.h>

namespace x11
{

static bool IsMeterWindow(xcb_window_t window)
{
    return window == bar.window || window == box.window;
}

static SurfaceId Which(xcb_window_t window)
{
    return window == bar.window ? BAR : BOX;
}

static Button ButtonOf(uint8_t button)
{
    return button == 1 ? LEFT_BUTTON : button == 3 ? RIGHT_BUTTON : OTHER_BUTTON;
}

static void OnButtonPress(const xcb_button_press_event_t& press)
{
    if (!IsMeterWindow(press.event)) return;
    // The press grabs the pointer: motion and the release come to this window until then.
    PointerPressed(Which(press.event), ButtonOf(press.detail), press.root_x, press.root_y,
                   press.time);
}

static void OnButtonRelease(const xcb_button_release_event_t& release)
{
    if (!IsMeterWindow(release.event)) return;
    PointerReleased(ButtonOf(release.detail), release.root_x, release.root_y);
}

static void OnMotion(const xcb_motion_notify_event_t& motion)
{
    // A release can go astray (a window unmapped under the pointer ends its grab): a motion
    // with neither button down says that none holds it.
    if (!(motion.state & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_3))) PointerReleasedAll();
    PointerMoved(motion.root_x, motion.root_y);
}

// What was lost is shown again from the picture garvo keeps.
static void OnExpose(const xcb_expose_event_t& expose)
{
    if (expose.count > 0) return;
    if (expose.window == bar.window) Repaint(bar);
    if (expose.window == box.window && box.shown) Repaint(box);
}

static void OnConfigure(const xcb_configure_notify_event_t& configure, uint32_t sequence)
{
    if (IsMeterWindow(configure.window)) {
        // Another program moved or resized it. One that tells of a place from before garvo's own
        // latest change is old news; the size is the gauge's, and goes back; a move, the
        // gauge's idea of where it stands follows.
        Surface& surface = SurfaceOf(Which(configure.window));
        if (int32_t(sequence - surface.lastMove) < 0) return;
        int32_t width = surface.at.right - surface.at.left;
        int32_t height = surface.at.bottom - surface.at.top;
        if (configure.width != width || configure.height != height) KeepSize(surface);
        if (configure.x == surface.at.left && configure.y == surface.at.top) return;
        surface.at = {configure.x, configure.y, configure.x + width, configure.y + height};
        SurfaceMoved(Which(configure.window), configure.x, configure.y);
        return;
    }
    // Menus and tooltips, and other windows that keep themselves on top, may stay above.
    if (!configure.override_redirect) OnOtherRestacked(configure.window, configure.above_sibling);
}

static void OnMap(const xcb_map_notify_event_t& map)
{
    if (!IsMeterWindow(map.window) && !map.override_redirect) KeepOnTop();
}

// Xft.dpi lives in the resource manager's property: a desktop that changes it says so there.
static void OnProperty(const xcb_property_notify_event_t& property)
{
    if (property.window != server.root || property.atom != XCB_ATOM_RESOURCE_MANAGER) return;
    if (ReadScale()) ScaleChanged(BAR);
}

static void OnMonitorChange()
{
    ReadScreenSize();
    MonitorsChanged();
    // A new screen size brings a new cap on the scale.
    if (ReadScale()) ScaleChanged(BAR);
}

static void HandleEvent(const xcb_generic_event_t& event)
{
    const void* e = &event;
    switch (event.response_type & 0x7f) {
    case 0: break; // an error garvo lives with: a window gone between two requests, say
    case XCB_EXPOSE: OnExpose(*static_cast<const xcb_expose_event_t*>(e)); break;
    case XCB_BUTTON_PRESS: OnButtonPress(*static_cast<const xcb_button_press_event_t*>(e)); break;
    case XCB_BUTTON_RELEASE:
        OnButtonRelease(*static_cast<const xcb_button_release_event_t*>(e));
        break;
    case XCB_MOTION_NOTIFY: OnMotion(*static_cast<const xcb_motion_notify_event_t*>(e)); break;
    case XCB_ENTER_NOTIFY: {
        const auto& enter = *static_cast<const xcb_enter_notify_event_t*>(e);
        if (IsMeterWindow(enter.event))
            PointerEntered(Which(enter.event), enter.root_x, enter.root_y);
        break;
    }
    case XCB_LEAVE_NOTIFY: {
        const auto& leave = *static_cast<const xcb_leave_notify_event_t*>(e);
        if (IsMeterWindow(leave.event)) PointerLeft(Which(leave.event));
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        OnConfigure(*static_cast<const xcb_configure_notify_event_t*>(e), event.full_sequence);
        break;
    case XCB_MAP_NOTIFY: OnMap(*static_cast<const xcb_map_notify_event_t*>(e)); break;
    case XCB_UNMAP_NOTIFY:
        OnOtherGone(static_cast<const xcb_unmap_notify_event_t*>(e)->window);
        break;
    case XCB_DESTROY_NOTIFY:
        OnOtherGone(static_cast<const xcb_destroy_notify_event_t*>(e)->window);
        break;
    case XCB_PROPERTY_NOTIFY:
        OnProperty(*static_cast<const xcb_property_notify_event_t*>(e));
        break;
    default:
        if (IsMonitorChange(event)) OnMonitorChange();
    }
}

// Of the movements waiting in a row, only the latest matters: one is held back until an event of
// another kind, or the end of what was read, shows that it is the latest.
static xcb_motion_notify_event_t heldMotion;
static bool motionHeld;

static void Dispatch(xcb_generic_event_t* event)
{
    bool motion = (event->response_type & 0x7f) == XCB_MOTION_NOTIFY;
    if (motionHeld && !(motion && reinterpret_cast<xcb_motion_notify_event_t*>(event)->event ==
                                      heldMotion.event)) {
        motionHeld = false;
        OnMotion(heldMotion);
    }
    if (motion) {
        heldMotion = *reinterpret_cast<xcb_motion_notify_event_t*>(event);
        motionHeld = true;
    } else {
        HandleEvent(*event);
    }
    free(event);
}

void WaitForEvents(int64_t timeoutMs)
{
    xcb_connection_t* c = server.connection;
    int64_t now = NowMs(), due = RaiseDue();
    if (due >= 0 && due <= now) RaiseIfDue(now);
    due = RaiseDue();
    if (due >= 0 && (timeoutMs < 0 || due - now < timeoutMs)) timeoutMs = due > now ? due - now : 0;
    // Events already read (with a reply, say) are handled at once; else what the gauge asked for
    // is sent, and the connection read only when the wait found something there.
    xcb_generic_event_t* event = xcb_poll_for_queued_event(c);
    if (!event) {
        xcb_flush(c);
        CheckConnection();
        pollfd connection = {xcb_get_file_descriptor(c), POLLIN, 0};
        if (poll(&connection, 1, int(timeoutMs)) <= 0) return;
        event = xcb_poll_for_event(c);
    }
    for (; event && !EndRequested(); event = xcb_poll_for_event(c))
        Dispatch(event);
    free(event);
    if (motionHeld) {
        motionHeld = false;
        OnMotion(heldMotion);
    }
    xcb_flush(c);
    CheckConnection();
}

} // namespace x11
