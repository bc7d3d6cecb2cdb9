// The event loop: one small handler per X event, as a window procedure has one per message, and
// the two timers that the Windows image gets from the platform.
#include "gauge.h"
#include "meter_state.h"

#include "../meter/meter.h"

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <time.h>

static volatile sig_atomic_t endSignal;

int64_t NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void RecordBarPosition()
{
    meter.barX = meter.barLeft;
    meter.barY = meter.barTop;
}

static bool IsMeterWindow(Window window)
{
    return window == meter.bar || window == meter.info;
}

static void OnRefresh()
{
    RefreshBar();
    meter.raiseDone = false;
    if (meter.raisePending) {
        meter.raisePending = false;
        KeepOnTop();
    }
}

// The platform's double-click: a second press of the left button on the same window within
// 500 ms and 2 pixels of the first. A third press starts a new pair.
static bool IsDoubleClick(const XButtonEvent& press)
{
    bool isDouble =
        press.window == meter.lastClickWindow && press.time - meter.lastClickTime <= 500 &&
        abs(press.x_root - meter.lastClickX) <= 2 && abs(press.y_root - meter.lastClickY) <= 2;
    meter.lastClickWindow = isDouble ? None : press.window;
    meter.lastClickTime = press.time;
    meter.lastClickX = press.x_root;
    meter.lastClickY = press.y_root;
    return isDouble;
}

static void OnDoubleClick(const XButtonEvent& press)
{
    if (press.window != meter.bar) return;
    // From the bar's own pixels, so that the same spot gives the same threshold at every scale.
    MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
    meter.warnPercent = ThresholdFromPoint(press.x / meter.scale, client);
    ShowInfo();
}

static void OnButtonPress(const XButtonEvent& press)
{
    if (press.button != Button1) return; // the right button acts on its release
    if (IsDoubleClick(press)) {
        OnDoubleClick(press);
        return;
    }
    // The window follows the pointer until the button comes up; the press grabs the pointer.
    meter.dragging = press.window;
    meter.dragX = press.x;
    meter.dragY = press.y;
}

static void OnButtonRelease(const XButtonEvent& release)
{
    if (release.button == Button1) meter.dragging = None;
    if (release.button != Button3) return;
    // The press grabbed the pointer: a release away from the window that was pressed is no click.
    int width = BAR_WIDTH * meter.scale;
    int height = (release.window == meter.bar ? BAR_HEIGHT : INFO_HEIGHT) * meter.scale;
    if (release.x < 0 || release.y < 0 || release.x >= width || release.y >= height) return;
    // Only the bar's own close records where it stands; closing the box keeps the start one.
    if (release.window == meter.bar) RecordBarPosition();
    meter.ending = true;
}

static void OnMotion(XMotionEvent& motion)
{
    // The release can go astray (a window unmapped under the pointer ends its grab): a motion
    // without the button down ends the drag all the same.
    if (!(motion.state & Button1Mask)) meter.dragging = None;
    if (!meter.dragging) {
        if (motion.window == meter.bar) ShowInfo();
        return;
    }
    // Only the latest of the movements waiting in a row matters; none after the release.
    XEvent next;
    while (XPending(meter.display)) {
        XPeekEvent(meter.display, &next);
        if (next.type != MotionNotify || next.xmotion.window != motion.window) break;
        XNextEvent(meter.display, &next);
        motion = next.xmotion;
    }
    XMoveWindow(meter.display, meter.dragging, motion.x_root - meter.dragX,
                motion.y_root - meter.dragY);
}

static void OnEnter(const XCrossingEvent& crossing)
{
    // Entering is a movement over the bar too; grabs and drags are not.
    if (crossing.window == meter.bar && crossing.mode == NotifyNormal && !meter.dragging)
        ShowInfo();
}

// What was lost is shown again from the picture garvo keeps.
static void OnExpose(const XExposeEvent& expose)
{
    if (expose.count > 0) return;
    if (expose.window == meter.bar) ShowBarImage();
    if (expose.window == meter.info && meter.infoShown) ShowInfoImage();
}

static void OnConfigure(const XConfigureEvent& configure)
{
    if (configure.window == meter.bar) {
        meter.barLeft = configure.x;
        meter.barTop = configure.y;
    }
    if (configure.window == meter.info) {
        meter.infoLeft = configure.x;
        meter.infoTop = configure.y;
    }
    // Menus and tooltips, and other windows that keep themselves on top, may stay above.
    if (!IsMeterWindow(configure.window) && !configure.override_redirect)
        OnOtherRestacked(configure.window, configure.above);
}

static void OnMap(const XMapEvent& map)
{
    if (!IsMeterWindow(map.window) && !map.override_redirect) KeepOnTop();
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
    }
}

static void OnEndSignal(int)
{
    endSignal = 1;
}

// The mask the loop waits with: the one garvo was started with, less the ending signals.
static sigset_t waitingMask;

void CatchEndingSignals()
{
    // Blocked but while the loop waits, so that none slips in between a check of the flag and
    // the wait, and none ends the program while it saves. Until now they ended it at once.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGHUP);
    sigprocmask(SIG_BLOCK, &ending, &waitingMask);
    sigdelset(&waitingMask, SIGTERM);
    sigdelset(&waitingMask, SIGINT);
    sigdelset(&waitingMask, SIGHUP);
    struct sigaction action = {}, hangup = {};
    action.sa_handler = OnEndSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // Started with a hang-up ignored (nohup), garvo keeps ignoring it.
    sigaction(SIGHUP, nullptr, &hangup);
    if (hangup.sa_handler != SIG_IGN) sigaction(SIGHUP, &action, nullptr);
}

void RunEventLoop()
{
    Display* display = meter.display;
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    // Each XPending reads the connection: not after a wait that found nothing to read.
    bool readable = true;
    while (!meter.ending) {
        while (readable && !meter.ending && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            HandleEvent(event);
        }
        if (endSignal) {
            // A logout or a shutdown: saved as a close of the bar would be.
            RecordBarPosition();
            return;
        }
        unsigned long requests = NextRequest(display);
        int64_t now = NowMs();
        if (TakeTick(meter.refresh, now)) OnRefresh();
        if (TakeTick(meter.hover, now)) CheckHover();
        if (meter.ending) continue;
        // Ticks that made requests have them sent, and what their replies brought in handled,
        // which the wait on the connection would not see. Ticks that made none read nothing.
        readable = NextRequest(display) != requests && XPending(display);
        if (readable) continue;
        int64_t wait = WaitFor(meter.refresh, meter.hover, NowMs());
        timespec timeout = {time_t(wait / 1000), long(wait % 1000) * 1000000};
        connection.revents = 0;
        ppoll(&connection, 1, wait < 0 ? nullptr : &timeout, &waitingMask);
        readable = connection.revents != 0;
    }
}
