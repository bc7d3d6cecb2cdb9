// The event loop: one small handler per X event, and the two timers.
#include "event_loop.h"

#include "connection.h"
#include "monitors.h"
#include "pictures.h"
#include "stacking.h"
#include "surface.h"

#include "../unix/double_click.h"
#include "../unix/ending.h"
#include "../unix/gauge.h"

#include <initializer_list>
#include <poll.h>

namespace x11
{

namespace
{

// What the pointer's buttons have started.
struct Pointer {
    Window dragging;  // the window that follows the pointer while the left button is down
    int dragX, dragY; // the pointer's offset from that window's corner
    LastClick lastClick;
    Window rightPressed; // where the right button went down: a click needs its release there too
};

} // namespace

static Pointer pointer;
static MonitorList* monitorList;
static bool closing;

void RecordBarPosition()
{
    gauge.settings.x = bar.left;
    gauge.settings.y = bar.top;
}

static bool IsMeterWindow(Window window)
{
    return window == bar.window || window == box.window;
}

static void OnRefresh()
{
    RefreshBar();
    OnStackingTick();
}

static void OnDoubleClick(const XButtonEvent& press)
{
    if (press.window != bar.window) return;
    // From the bar's own pixels, so that the same spot gives the same threshold at every scale.
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    gauge.settings.s = ThresholdFromPoint(Unscaled(press.x, gauge.scale), client);
    ShowInfo();
}

static void OnButtonPress(const XButtonEvent& press)
{
    if (press.button == Button3) pointer.rightPressed = press.window;
    if (press.button != Button1) return; // the right button acts on its release
    if (IsDoubleClick(pointer.lastClick, press.window, uint32_t(press.time), press.x_root,
                      press.y_root)) {
        OnDoubleClick(press);
        return;
    }
    // The window follows the pointer until the button comes up; the press grabs the pointer.
    pointer.dragging = press.window;
    pointer.dragX = press.x;
    pointer.dragY = press.y;
}

static void OnButtonRelease(const XButtonEvent& release)
{
    if (release.button == Button1) pointer.dragging = None;
    if (release.button != Button3) return;
    // A click is a press and a release on the same window of garvo's. The press grabbed the
    // pointer: a release away from that window is none; and with no window manager, a press
    // elsewhere grabs nothing and leaves a release over the bar alone.
    Window pressed = pointer.rightPressed;
    pointer.rightPressed = None;
    const Surface& surface = release.window == bar.window ? bar : box;
    if (pressed != release.window || release.x < 0 || release.y < 0 || release.x >= surface.width ||
        release.y >= surface.height)
        return;
    // Only the bar's own close records where it stands; closing the box keeps the start one.
    if (release.window == bar.window) RecordBarPosition();
    closing = true;
}

static void OnMotion(XMotionEvent& motion)
{
    // The release can go astray (a window unmapped under the pointer ends its grab): a motion
    // without the button down ends the drag all the same.
    if (!(motion.state & Button1Mask)) pointer.dragging = None;
    if (!pointer.dragging) {
        if (motion.window == bar.window) ShowInfo();
        return;
    }
    // Only the latest of the movements waiting in a row matters; none after the release.
    XEvent next;
    while (XPending(server.display)) {
        XPeekEvent(server.display, &next);
        if (next.type != MotionNotify || next.xmotion.window != motion.window) break;
        XNextEvent(server.display, &next);
        motion = next.xmotion;
    }
    XMoveWindow(server.display, pointer.dragging, motion.x_root - pointer.dragX,
                motion.y_root - pointer.dragY);
}

static void OnEnter(const XCrossingEvent& crossing)
{
    // Entering is a movement over the bar too; grabs and drags are not.
    if (crossing.window == bar.window && crossing.mode == NotifyNormal && !pointer.dragging)
        ShowInfo();
}

// What was lost is shown again from the picture garvo keeps.
static void OnExpose(const XExposeEvent& expose)
{
    if (expose.count > 0) return;
    if (expose.window == bar.window) Repaint(bar);
    if (expose.window == box.window && box.shown) Repaint(box);
}

static void OnConfigure(const XConfigureEvent& configure)
{
    for (Surface* surface : {&bar, &box}) {
        if (configure.window != surface->window) continue;
        surface->left = configure.x;
        surface->top = configure.y;
    }
    // Menus and tooltips, and other windows that keep themselves on top, may stay above.
    if (!IsMeterWindow(configure.window) && !configure.override_redirect)
        OnOtherRestacked(configure.window, configure.above);
}

static void OnMap(const XMapEvent& map)
{
    if (!IsMeterWindow(map.window) && !map.override_redirect) KeepOnTop();
}

// Monitors came or went: a bar left off every monitor comes back onto the nearest one.
static void OnMonitorsChanged()
{
    Settings here = {bar.left, bar.top, gauge.settings.s};
    Settings placed = ClampOntoMonitors(here, *monitorList, bar.width, bar.height);
    if (placed.x != bar.left || placed.y != bar.top) MoveSurface(bar, placed.x, placed.y);
}

static void HandleEvent(XEvent& event)
{
    switch (event.type) {
    case Expose: OnExpose(event.xexpose); break;
    case ButtonPress: OnButtonPress(event.xbutton); break;
    case ButtonRelease: OnButtonRelease(event.xbutton); break;
    case MotionNotify: OnMotion(event.xmotion); break;
    case EnterNotify: OnEnter(event.xcrossing); break;
    case ConfigureNotify: OnConfigure(event.xconfigure); break;
    case MapNotify: OnMap(event.xmap); break;
    case UnmapNotify: OnOtherGone(event.xunmap.window); break;
    case DestroyNotify: OnOtherGone(event.xdestroywindow.window); break;
    default:
        if (MonitorsChanged(event, *monitorList)) OnMonitorsChanged();
    }
}

void RunEventLoop(MonitorList& monitors)
{
    monitorList = &monitors;
    Display* display = server.display;
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    // Each XPending reads the connection: not after a wait that found nothing to read.
    bool readable = true;
    while (!closing) {
        while (readable && !closing && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            HandleEvent(event);
        }
        if (EndRequested()) {
            // A logout or a shutdown: saved as a close of the bar would be.
            RecordBarPosition();
            return;
        }
        unsigned long requests = NextRequest(display);
        int64_t now = NowMs();
        if (TakeTick(gauge.refresh, now)) OnRefresh();
        if (TakeTick(gauge.hover, now)) CheckHover();
        if (closing) continue;
        // Ticks that made requests have them sent, and what their replies brought in handled,
        // which the wait on the connection would not see. Ticks that made none read nothing.
        readable = NextRequest(display) != requests && XPending(display);
        if (readable) continue;
        int64_t wait = WaitFor(gauge.refresh, gauge.hover, NowMs());
        connection.revents = 0;
        poll(&connection, 1, int(wait));
        readable = connection.revents != 0;
    }
}

} // namespace x11
