// The X events, each told to the gauge in its own terms, and the wait on the connection.
#include "events.h"

#include "connection.h"
#include "monitors.h"
#include "stacking.h"
#include "surface.h"

#include "../unix/ending.h"
#include "../unix/front_end.h"
#include "../unix/timer.h"

#include <X11/Xatom.h>
#include <poll.h>

namespace x11
{

static bool leftDown;    // the left button went down on one of garvo's windows
static int lastX, lastY; // where the pointer was last reported while it was down
static double scaleNow;  // the scale the gauge was last told of

static bool IsMeterWindow(Window window)
{
    return window == bar.window || window == box.window;
}

static SurfaceId Which(Window window)
{
    return window == bar.window ? BAR : BOX;
}

static Button ButtonOf(unsigned button)
{
    return button == Button1 ? LEFT_BUTTON : button == Button3 ? RIGHT_BUTTON : OTHER_BUTTON;
}

static void OnButtonPress(const XButtonEvent& press)
{
    if (!IsMeterWindow(press.window)) return;
    if (press.button == Button1) leftDown = true;
    lastX = press.x_root;
    lastY = press.y_root;
    // The press grabs the pointer: motion and the release come to this window until then.
    PointerPressed(Which(press.window), ButtonOf(press.button), press.x_root, press.y_root,
                   uint32_t(press.time));
}

static void OnButtonRelease(const XButtonEvent& release)
{
    if (!IsMeterWindow(release.window)) return;
    if (release.button == Button1) leftDown = false;
    PointerReleased(ButtonOf(release.button), release.x_root, release.y_root);
}

static void OnMotion(XMotionEvent& motion)
{
    // The release can go astray (a window unmapped under the pointer ends its grab): a motion
    // without the button down is its release all the same, where the pointer last was.
    if (leftDown && !(motion.state & Button1Mask)) {
        leftDown = false;
        PointerReleased(LEFT_BUTTON, lastX, lastY);
    }
    // Only the latest of the movements waiting in a row matters.
    XEvent next;
    while (XPending(server.display)) {
        XPeekEvent(server.display, &next);
        if (next.type != MotionNotify || next.xmotion.window != motion.window) break;
        XNextEvent(server.display, &next);
        motion = next.xmotion;
    }
    lastX = motion.x_root;
    lastY = motion.y_root;
    PointerMoved(motion.x_root, motion.y_root);
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
    // Menus and tooltips, and other windows that keep themselves on top, may stay above.
    if (!IsMeterWindow(configure.window) && !configure.override_redirect)
        OnOtherRestacked(configure.window, configure.above);
}

static void OnMap(const XMapEvent& map)
{
    if (!IsMeterWindow(map.window) && !map.override_redirect) KeepOnTop();
}

// Xft.dpi lives in the resource manager's property: a desktop that changes it says so there.
static void OnProperty(const XPropertyEvent& property)
{
    if (property.window != server.root || property.atom != XA_RESOURCE_MANAGER) return;
    double scale = ReadScale();
    if (scale == scaleNow) return;
    scaleNow = scale;
    ScaleChanged(BAR);
}

static void HandleEvent(XEvent& event)
{
    switch (event.type) {
    case Expose: OnExpose(event.xexpose); break;
    case ButtonPress: OnButtonPress(event.xbutton); break;
    case ButtonRelease: OnButtonRelease(event.xbutton); break;
    case MotionNotify: OnMotion(event.xmotion); break;
    case EnterNotify:
        if (IsMeterWindow(event.xcrossing.window))
            PointerEntered(Which(event.xcrossing.window), event.xcrossing.x_root,
                           event.xcrossing.y_root);
        break;
    case LeaveNotify:
        if (IsMeterWindow(event.xcrossing.window)) PointerLeft(Which(event.xcrossing.window));
        break;
    case ConfigureNotify: OnConfigure(event.xconfigure); break;
    case MapNotify: OnMap(event.xmap); break;
    case UnmapNotify: OnOtherGone(event.xunmap.window); break;
    case DestroyNotify: OnOtherGone(event.xdestroywindow.window); break;
    case PropertyNotify: OnProperty(event.xproperty); break;
    default:
        if (IsMonitorChange(event)) {
            MonitorsChanged();
            // RandR may bring a new screen size, and with it a new cap on the scale.
            double scale = ReadScale();
            if (scale != scaleNow) {
                scaleNow = scale;
                ScaleChanged(BAR);
            }
        }
    }
}

void WaitForEvents(int64_t timeoutMs)
{
    Display* display = server.display;
    if (!scaleNow) scaleNow = ReadScale();
    int64_t now = NowMs(), due = RaiseDue();
    if (due >= 0 && due <= now) RaiseIfDue(now);
    due = RaiseDue();
    if (due >= 0 && (timeoutMs < 0 || due - now < timeoutMs)) timeoutMs = due > now ? due - now : 0;
    // Events already read (with a reply, say) are handled at once; else what the gauge asked for
    // is sent, and the connection read only when the wait found something there. Xlib reads the
    // connection whenever it flushes: an idle tick, which asked for nothing, flushes nothing.
    static unsigned long sent;
    if (!XEventsQueued(display, QueuedAlready)) {
        if (NextRequest(display) != sent) XFlush(display);
        sent = NextRequest(display);
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        if (poll(&connection, 1, int(timeoutMs)) <= 0) return;
    }
    while (!EndRequested() && XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        HandleEvent(event);
    }
    // Whatever the handlers asked for, the last XPending sent.
    sent = NextRequest(display);
}

} // namespace x11
