// The seat's pointer, its events told to the gauge in the global logical space.
#pragma once

namespace wayland
{

// Binds the seat's pointer, and its relative motion where the compositor offers it.
void WatchPointer();

} // namespace wayland
