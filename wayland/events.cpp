// The pointer, as the X11 front end's handlers take it: hover, drag, double-click, right-click.
#include "events.h"

#include "globals.h"
#include "outputs.h"
#include "pictures.h"
#include "surface.h"

#include "../unix/double_click.h"
#include "../unix/ending.h"
#include "../unix/gauge.h"
#include "relative-pointer.h"

#include <errno.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <wayland-client.h>

namespace wayland
{

namespace
{

// Where the pointer is, and what its buttons have started.
struct Pointer {
    Surface* over; // the surface under it, or none
    double x, y;   // on that surface, in logical pixels
    Surface* dragging;
    int pressLeft, pressTop; // where the dragged surface stood at the press
    double pressX, pressY;   // and where on it the press was
    double movedX, movedY;   // the pointer's motion since the press
    LastClick lastClick;
    Surface* rightPressed;
};

} // namespace

static Pointer pointer;
static wl_pointer* seatPointer;
static zwp_relative_pointer_v1* relative;
static bool closing;

void RecordBarPosition()
{
    gauge.settings.x = bar.left;
    gauge.settings.y = bar.top;
}

static Surface* SurfaceOf(wl_surface* surface)
{
    if (surface && surface == bar.surface) return &bar;
    if (surface && surface == box.surface) return &box;
    return nullptr;
}

// The output a global point lies on, or the nearest one.
static Output* OutputNear(int x, int y, MeterRect& area)
{
    MonitorList monitors;
    Output* which[MAX_MONITORS];
    ListOutputs(monitors, which);
    int at = NearestMonitor(monitors.rects, monitors.count, monitors.primary, x, y);
    if (at < 0) return nullptr;
    area = monitors.rects[at];
    return which[at];
}

static int Round(double value)
{
    return int(value + (value < 0 ? -0.5 : 0.5));
}

// The dragged surface follows the pointer's motion since the press, kept one pixel inside its
// output; a release over another output takes it there.
static void Follow(bool released)
{
    Surface& surface = *pointer.dragging;
    Output* output = surface.output;
    if (!output || !output->name) return;
    int left = pointer.pressLeft + Round(pointer.movedX);
    int top = pointer.pressTop + Round(pointer.movedY);
    MeterRect area = {output->x, output->y, output->x + output->width, output->y + output->height};
    if (released) {
        MeterRect under;
        Output* there = OutputNear(left + int(pointer.pressX), top + int(pointer.pressY), under);
        if (there) {
            output = there;
            area = under;
        }
    }
    Settings placed =
        ClampSettingsIn(left, top, gauge.settings.s, area, surface.width, surface.height);
    if (output != surface.output)
        OpenSurface(surface, output, placed.x, placed.y);
    else
        MoveSurface(surface, placed.x, placed.y);
}

static void OnEnter(void*, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    pointer.over = SurfaceOf(surface);
    pointer.x = wl_fixed_to_double(x);
    pointer.y = wl_fixed_to_double(y);
    if (pointer.over == &bar && !pointer.dragging) ShowInfo();
}

static void OnLeave(void*, wl_pointer*, uint32_t, wl_surface*)
{
    pointer.over = nullptr;
}

static void OnMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    pointer.x = wl_fixed_to_double(x);
    pointer.y = wl_fixed_to_double(y);
    if (pointer.dragging && !relative) {
        // Positions during a drag are taken from where the surface stood at the press.
        pointer.movedX = pointer.x - pointer.pressX;
        pointer.movedY = pointer.y - pointer.pressY;
        Follow(false);
    } else if (pointer.over == &bar && !pointer.dragging) {
        ShowInfo();
    }
}

static void OnRelativeMotion(void*, zwp_relative_pointer_v1*, uint32_t, uint32_t, wl_fixed_t dx,
                             wl_fixed_t dy, wl_fixed_t, wl_fixed_t)
{
    if (!pointer.dragging) return;
    pointer.movedX += wl_fixed_to_double(dx);
    pointer.movedY += wl_fixed_to_double(dy);
    Follow(false);
}

static const zwp_relative_pointer_v1_listener relativeListener = {OnRelativeMotion};

static void OnLeftPress(uint32_t time)
{
    if (IsDoubleClick(pointer.lastClick, uintptr_t(pointer.over), time, pointer.x, pointer.y)) {
        if (pointer.over != &bar) return;
        MeterRect client = {0, 0, BAR_WIDTH, BAR_HEIGHT};
        gauge.settings.s = ThresholdFromPoint(int(pointer.x), client);
        RefreshBar();
        ShowInfo();
        return;
    }
    pointer.dragging = pointer.over;
    if (!pointer.dragging) return;
    pointer.pressLeft = pointer.dragging->left;
    pointer.pressTop = pointer.dragging->top;
    pointer.pressX = pointer.x;
    pointer.pressY = pointer.y;
    pointer.movedX = pointer.movedY = 0;
}

static void OnRightRelease()
{
    // A click is a press and a release over the same surface.
    Surface* pressed = pointer.rightPressed;
    pointer.rightPressed = nullptr;
    if (!pressed || pressed != pointer.over || pointer.x < 0 || pointer.y < 0 ||
        pointer.x >= pressed->width || pointer.y >= pressed->height)
        return;
    // Only the bar's own close records where it stands; closing the box keeps the start one.
    if (pressed == &bar) RecordBarPosition();
    closing = true;
}

static void OnButton(void*, wl_pointer*, uint32_t, uint32_t time, uint32_t button, uint32_t state)
{
    bool down = state == WL_POINTER_BUTTON_STATE_PRESSED;
    if (button == BTN_LEFT && down) OnLeftPress(time);
    if (button == BTN_LEFT && !down && pointer.dragging) {
        Follow(true);
        pointer.dragging = nullptr;
    }
    if (button == BTN_RIGHT && down) pointer.rightPressed = pointer.over;
    if (button == BTN_RIGHT && !down) OnRightRelease();
}

static void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
static void OnFrame(void*, wl_pointer*) {}
static void OnAxisSource(void*, wl_pointer*, uint32_t) {}
static void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
static void OnAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

// Filled in by WatchPointer: newer libraries' listeners have members for events of versions
// later than the one bound, which never come.
static wl_pointer_listener pointerListener;

static void OnCapabilities(void*, wl_seat* seat, uint32_t capabilities)
{
    bool has = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (has && !seatPointer) {
        seatPointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(seatPointer, &pointerListener, nullptr);
        if (wl.relativePointer) {
            relative = zwp_relative_pointer_manager_v1_get_relative_pointer(wl.relativePointer,
                                                                            seatPointer);
            zwp_relative_pointer_v1_add_listener(relative, &relativeListener, nullptr);
        }
    }
}

static void OnSeatName(void*, wl_seat*, const char*) {}

static const wl_seat_listener seatListener = {OnCapabilities, OnSeatName};

void WatchPointer()
{
    pointerListener.enter = OnEnter;
    pointerListener.leave = OnLeave;
    pointerListener.motion = OnMotion;
    pointerListener.button = OnButton;
    pointerListener.axis = OnAxis;
    pointerListener.frame = OnFrame;
    pointerListener.axis_source = OnAxisSource;
    pointerListener.axis_stop = OnAxisStop;
    pointerListener.axis_discrete = OnAxisDiscrete;
    if (wl.seat) wl_seat_add_listener(wl.seat, &seatListener, nullptr);
}

// Outputs came, went or changed, or the compositor closed a surface: the box goes; the bar stays
// where it is on an output still there, else comes onto the nearest output, as at start. With no
// output at all, it waits for one.
static void OnOutputsChanged()
{
    bool gone = IsOpen(bar) && (bar.closed || !bar.output->name);
    if (gone || box.closed || (IsOpen(box) && !box.output->name)) CloseSurface(box);
    MeterRect area;
    Output* output = OutputNear(bar.left, bar.top, area);
    if (!output) {
        if (gone) CloseSurface(bar);
        pointer.dragging = nullptr;
        return;
    }
    Settings placed =
        ClampSettingsIn(bar.left, bar.top, gauge.settings.s, area, bar.width, bar.height);
    // A drag goes on over outputs that merely changed, not once its surface is made anew.
    if (!IsOpen(bar) || gone || output != bar.output) {
        OpenSurface(bar, output, placed.x, placed.y);
        pointer.dragging = nullptr;
    } else if (pointer.dragging != &bar) {
        MoveSurface(bar, placed.x, placed.y);
    }
}

bool RunEventLoop()
{
    wl_display* display = wl.display;
    pollfd connection = {wl_display_get_fd(display), POLLIN, 0};
    while (!closing) {
        if (EndRequested()) {
            RecordBarPosition();
            return true;
        }
        int64_t now = NowMs();
        if (TakeTick(gauge.refresh, now)) RefreshBar();
        if (TakeTick(gauge.hover, now)) CheckHover(pointer.over);
        if (outputsChanged || bar.closed || box.closed) {
            outputsChanged = false;
            OnOutputsChanged();
        }
        PaintSurfaces();
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0) return false;
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        int64_t wait = WaitFor(gauge.refresh, gauge.hover, NowMs());
        connection.revents = 0;
        poll(&connection, 1, int(wait));
        if (connection.revents & (POLLERR | POLLHUP)) {
            wl_display_cancel_read(display);
            return false;
        }
        if (connection.revents & POLLIN) {
            if (wl_display_read_events(display) < 0) return false;
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    return true;
}

} // namespace wayland
