// The pointer. Wayland tells a client where the pointer is only on its own surfaces, and in their
// coordinates; the gauge wants the global space. Over a surface that is its corner plus the
// position. While a button holds the pointer, sway keeps reporting from where the surface stood at
// the press, however it has moved since; other compositors report from where it stands now, which
// lags the gauge's moves. So a held pointer is also followed by its relative motion, kept on the
// outputs as the cursor is: where the press-based position agrees with it, that exact position
// wins and the follower takes it up; where it does not, the follower serves.
#include "pointer.h"

#include "client.h"

#include "globals.h"
#include "outputs.h"
#include "surface.h"

#include "../unix/front_end.h"
#include "../unix/numbers.h"
#include "relative-pointer.h"

#include <linux/input-event-codes.h>

namespace wayland
{

namespace
{

struct Pointer {
    Surface* over;           // the surface under it, or none
    double x, y;             // in the global space
    int held;                // buttons down
    double originX, originY; // the pressed surface's corner at the press
    double followX, followY; // the held pointer, followed by its relative motion
};

} // namespace

static Pointer pointer;
static wl_pointer* seatPointer;
static zwp_relative_pointer_v1* relative;

static void OnEnter(void*, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    pointer.over = Find(surface);
    if (!pointer.over) return;
    pointer.x = pointer.over->at.left + wl_fixed_to_double(x);
    pointer.y = pointer.over->at.top + wl_fixed_to_double(y);
    PointerEntered(Which(*pointer.over), pointer.x, pointer.y);
}

static void OnLeave(void*, wl_pointer*, uint32_t, wl_surface*)
{
    if (pointer.over) PointerLeft(Which(*pointer.over));
    pointer.over = nullptr;
}

static void OnMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    if (!pointer.held) {
        if (!pointer.over) return;
        pointer.x = pointer.over->at.left + wl_fixed_to_double(x);
        pointer.y = pointer.over->at.top + wl_fixed_to_double(y);
    } else {
        double pressedX = pointer.originX + wl_fixed_to_double(x);
        double pressedY = pointer.originY + wl_fixed_to_double(y);
        bool agree = Distance(pressedX, pointer.followX) <= 1.5 &&
                     Distance(pressedY, pointer.followY) <= 1.5;
        if (!relative || agree) {
            pointer.followX = pressedX;
            pointer.followY = pressedY;
        }
        pointer.x = pointer.followX;
        pointer.y = pointer.followY;
    }
    PointerMoved(pointer.x, pointer.y);
}

static void OnRelativeMotion(void*, zwp_relative_pointer_v1*, uint32_t, uint32_t, wl_fixed_t dx,
                             wl_fixed_t dy, wl_fixed_t, wl_fixed_t)
{
    if (!pointer.held) return;
    pointer.followX += wl_fixed_to_double(dx);
    pointer.followY += wl_fixed_to_double(dy);
    MonitorList monitors;
    ListOutputs(monitors);
    KeepOnMonitors(monitors, pointer.followX, pointer.followY);
}

static const zwp_relative_pointer_v1_listener relativeListener = {OnRelativeMotion};

static void OnButton(void*, wl_pointer*, uint32_t, uint32_t time, uint32_t code, uint32_t state)
{
    Button button = code == BTN_LEFT    ? LEFT_BUTTON
                    : code == BTN_RIGHT ? RIGHT_BUTTON
                                        : OTHER_BUTTON;
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        if (!pointer.over) return;
        if (pointer.held++ == 0) {
            pointer.originX = pointer.over->at.left;
            pointer.originY = pointer.over->at.top;
            pointer.followX = pointer.x;
            pointer.followY = pointer.y;
        }
        PointerPressed(Which(*pointer.over), button, pointer.x, pointer.y, time);
        return;
    }
    if (pointer.held > 0) --pointer.held;
    PointerReleased(button, pointer.x, pointer.y);
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

} // namespace wayland
