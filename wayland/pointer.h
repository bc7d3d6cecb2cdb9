// The seats' pointers, their events told to the gauge in the global logical space.
#pragma once

#include <stdint.h>

struct wl_seat;

namespace wayland
{

// A seat the compositor offers, by its global's name: its pointer, and its relative motion where
// the compositor offers that, are taken whenever the seat has a pointer, and let go of when it
// has none.
void AddSeat(uint32_t name, wl_seat* seat);
// The global of that name went: if it was a seat, its pointer is let go of. Whether it was one.
bool RemoveSeat(uint32_t name);
// Once events are dispatched: a surface the pointer was over, made anew or let go since, is left,
// and no button holds the pointer any more.
void CheckPointerSurface();

} // namespace wayland
