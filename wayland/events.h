// The Wayland event loop: the pointer's events, the outputs' changes, the two timers.
#pragma once

namespace wayland
{

// Binds the seat's pointer, and its relative motion where the compositor offers it.
void WatchPointer();
// Handles events and timer ticks until a surface is closed by a click, an ending signal
// arrives, or the compositor goes away; false for the last.
bool RunEventLoop();
// Takes the bar's place as the one to save, as closing the bar does on Windows.
void RecordBarPosition();

} // namespace wayland
