// The seat's pointer, its events told to the gauge in the global logical space.
#pragma once

namespace wayland
{

// Binds the seat's pointer, and its relative motion where the compositor offers it.
void WatchPointer();
// Once events are dispatched: a surface the pointer was over, made anew or let go since, is left,
// and no button holds the pointer any more.
void CheckPointerSurface();

} // namespace wayland
