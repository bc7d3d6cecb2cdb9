// The pointer. Wayland tells a client where the pointer is only on its own surfaces, and in their
// coordinates; the gauge wants the global space. Over a surface that is its corner plus the point.
// While a button holds the pointer, compositors differ in what a point is measured against: sway
// and KWin keep to where the surface stood at the press, labwc to where it stands in its own view,
// which lags the gauge's moves (its enter too); and none says anything when only the surface
// moved. So a point is read against each corner the surface stood at lately, and taken where a
// reading agrees with where the pointer is expected: a held pointer is followed by its relative
// motion, kept on the outputs as the cursor is. Events are acted on at the end of their frame,
// whatever order the compositor sent them in.
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

// A seat of the compositor's, and its pointer while it has one.
struct Seat {
    uint32_t name; // the global's; 0 for a free entry
    wl_seat* seat;
    wl_pointer* pointer;
    zwp_relative_pointer_v1* relative;
    bool framed; // the pointer ends its frames: before version 5 each event is one
};

struct Pointer {
    Surface* over;           // the surface under it, or none
    wl_surface* entered;     // that surface's wl_surface: one made anew since is another
    const Seat* from;        // the seat whose pointer entered it
    uint32_t grab;           // the buttons pressed on it since it was entered, by bit
    double x, y;             // in the global space
    double originX, originY; // the pressed surface's corner at the latest press
    double followX, followY; // x and y, followed by the relative motion
};

struct ButtonEvent {
    uint32_t time, code, state;
};

// What a frame has said so far.
struct Frame {
    bool moved;
    double localX, localY; // its latest surface-local point
    bool shifted;
    double dx, dy; // its relative motion, summed
    int buttons;
    ButtonEvent button[4];
};

} // namespace

// A desktop has one seat, now and then a second (a remote session's, say).
const int MAX_SEATS = 4;

static Pointer pointer;
static Frame frame;
static Seat seats[MAX_SEATS];

// How far a reading of the pointer lies from where it is expected.
struct Reading {
    double x, y, off;
};

static void Consider(Reading& best, double x, double y)
{
    double off = Distance(x, pointer.followX) + Distance(y, pointer.followY);
    if (off < best.off) best = {x, y, off};
}

// Where a surface-local point lies in the global space. Of the readings against each corner the
// compositor may have measured it from (the press's, those the surface stood at lately), the one
// that agrees with where the pointer is expected to be. With none, a held pointer keeps to its
// follower (or, without relative motion, to the press), one not held to where the surface stands.
static void ReadPoint(double localX, double localY)
{
    const Surface& surface = *pointer.over;
    double nowX = surface.at.left + localX, nowY = surface.at.top + localY;
    Reading best = {nowX, nowY, 1e300};
    Consider(best, nowX, nowY);
    if (pointer.grab) Consider(best, pointer.originX + localX, pointer.originY + localY);
    for (int i = 0; i < surface.pastCount; ++i)
        Consider(best, surface.pastLeft[i] + localX, surface.pastTop[i] + localY);
    if (best.off > 2 && pointer.grab && pointer.from && pointer.from->relative) return;
    if (best.off > 2)
        best = pointer.grab ? Reading{pointer.originX + localX, pointer.originY + localY, 0}
                            : Reading{nowX, nowY, 0};
    pointer.followX = best.x;
    pointer.followY = best.y;
}

static Button ButtonOf(uint32_t code)
{
    return code == BTN_LEFT ? LEFT_BUTTON : code == BTN_RIGHT ? RIGHT_BUTTON : OTHER_BUTTON;
}

static void EndFrame()
{
    Frame done = frame;
    frame = {};
    if (!pointer.over) return;
    if (done.shifted) {
        pointer.followX += done.dx;
        pointer.followY += done.dy;
        MonitorList monitors;
        ListOutputs(monitors);
        KeepOnMonitors(monitors, pointer.followX, pointer.followY);
    }
    if (done.moved) ReadPoint(done.localX, done.localY);
    if (pointer.followX != pointer.x || pointer.followY != pointer.y) {
        pointer.x = pointer.followX;
        pointer.y = pointer.followY;
        PointerMoved(pointer.x, pointer.y);
    }
    for (int i = 0; i < done.buttons && pointer.over; ++i) {
        const ButtonEvent& button = done.button[i];
        uint32_t bit = 1u << ((button.code - BTN_MOUSE) & 31);
        if (button.state == WL_POINTER_BUTTON_STATE_PRESSED) {
            if (!pointer.grab) {
                pointer.originX = pointer.over->at.left;
                pointer.originY = pointer.over->at.top;
            }
            pointer.grab |= bit;
            PointerPressed(Which(*pointer.over), ButtonOf(button.code), pointer.x, pointer.y,
                           button.time);
        } else {
            pointer.grab &= ~bit;
            PointerReleased(ButtonOf(button.code), pointer.x, pointer.y);
        }
    }
}

static void Gathered(void* seat)
{
    if (!static_cast<const Seat*>(seat)->framed) EndFrame();
}

// A new focus, or none: whatever buttons held the pointer on a surface of garvo's hold it no more.
static void Unfocus()
{
    if (pointer.over) PointerLeft(Which(*pointer.over));
    pointer.over = nullptr;
    pointer.entered = nullptr;
    pointer.from = nullptr;
    pointer.grab = 0;
    PointerReleasedAll();
}

static void OnEnter(void* seat, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x,
                    wl_fixed_t y)
{
    EndFrame();
    Unfocus();
    pointer.over = Find(surface);
    if (!pointer.over) return;
    pointer.entered = surface;
    pointer.from = static_cast<const Seat*>(seat);
    // Read as a motion from where the pointer last was: it may not have moved since it left,
    // only the surface came under it.
    ReadPoint(wl_fixed_to_double(x), wl_fixed_to_double(y));
    pointer.x = pointer.followX;
    pointer.y = pointer.followY;
    PointerEntered(Which(*pointer.over), pointer.x, pointer.y);
}

static void OnLeave(void* seat, wl_pointer*, uint32_t, wl_surface*)
{
    EndFrame();
    // Another seat's pointer leaving says nothing of the one over the gauge.
    if (seat == pointer.from) Unfocus();
}

static void OnMotion(void* seat, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    frame.moved = true;
    frame.localX = wl_fixed_to_double(x);
    frame.localY = wl_fixed_to_double(y);
    Gathered(seat);
}

static void OnRelativeMotion(void* seat, zwp_relative_pointer_v1*, uint32_t, uint32_t,
                             wl_fixed_t dx, wl_fixed_t dy, wl_fixed_t, wl_fixed_t)
{
    frame.shifted = true;
    frame.dx += wl_fixed_to_double(dx);
    frame.dy += wl_fixed_to_double(dy);
    Gathered(seat);
}

static const zwp_relative_pointer_v1_listener relativeListener = {OnRelativeMotion};

static void OnButton(void* seat, wl_pointer*, uint32_t, uint32_t time, uint32_t code,
                     uint32_t state)
{
    // A frame holds a button or two; more, and the earlier ones are acted on now.
    if (frame.buttons == int(sizeof frame.button / sizeof frame.button[0])) EndFrame();
    frame.button[frame.buttons++] = {time, code, state};
    Gathered(seat);
}

static void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
static void OnFrame(void*, wl_pointer*)
{
    EndFrame();
}
static void OnAxisSource(void*, wl_pointer*, uint32_t) {}
static void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
static void OnAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

// Filled in with the first seat: newer libraries' listeners have members for events of versions
// later than the one bound, which never come.
static wl_pointer_listener pointerListener;

static void ListenToPointers()
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
}

// The seat's pointer is gone (unplugged, a receiver asleep), or the seat is: whatever it held
// ends, and a later one is taken anew.
static void LetGoOfPointer(Seat& seat)
{
    if (!seat.pointer) return;
    EndFrame();
    if (pointer.from == &seat) Unfocus();
    if (seat.relative) zwp_relative_pointer_v1_destroy(seat.relative);
    if (wl_pointer_get_version(seat.pointer) >= WL_POINTER_RELEASE_SINCE_VERSION)
        wl_pointer_release(seat.pointer);
    else
        wl_pointer_destroy(seat.pointer);
    seat.pointer = nullptr;
    seat.relative = nullptr;
}

static void OnCapabilities(void* data, wl_seat* wlSeat, uint32_t capabilities)
{
    Seat& seat = *static_cast<Seat*>(data);
    if (!(capabilities & WL_SEAT_CAPABILITY_POINTER)) return LetGoOfPointer(seat);
    if (seat.pointer) return;
    seat.pointer = wl_seat_get_pointer(wlSeat);
    seat.framed = wl_pointer_get_version(seat.pointer) >= WL_POINTER_FRAME_SINCE_VERSION;
    wl_pointer_add_listener(seat.pointer, &pointerListener, &seat);
    if (wl.relativePointer) {
        seat.relative =
            zwp_relative_pointer_manager_v1_get_relative_pointer(wl.relativePointer, seat.pointer);
        zwp_relative_pointer_v1_add_listener(seat.relative, &relativeListener, &seat);
    }
}

static void OnSeatName(void*, wl_seat*, const char*) {}

static const wl_seat_listener seatListener = {OnCapabilities, OnSeatName};

void AddSeat(uint32_t name, wl_seat* wlSeat)
{
    if (!pointerListener.enter) ListenToPointers();
    for (Seat& seat : seats) {
        if (seat.name) continue;
        seat = {name, wlSeat, nullptr, nullptr, false};
        wl_seat_add_listener(wlSeat, &seatListener, &seat);
        return;
    }
    // More seats than any desktop has: this one's pointer is not followed.
    wl_seat_destroy(wlSeat);
}

bool RemoveSeat(uint32_t name)
{
    for (Seat& seat : seats) {
        if (!name || seat.name != name) continue;
        LetGoOfPointer(seat);
        if (wl_seat_get_version(seat.seat) >= WL_SEAT_RELEASE_SINCE_VERSION)
            wl_seat_release(seat.seat);
        else
            wl_seat_destroy(seat.seat);
        seat = {};
        return true;
    }
    return false;
}

void CheckPointerSurface()
{
    // A surface made anew, or let go, under the pointer: the compositor says nothing more of the
    // old one, not even the release of a button that held it.
    if (pointer.over && pointer.over->objects.surface != pointer.entered) Unfocus();
}

} // namespace wayland
