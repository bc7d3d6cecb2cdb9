// The gauge on a Wayland compositor with a layer shell.
#pragma once

#include <stddef.h>

// Connects to the compositor WAYLAND_DISPLAY names; false, with why, when there is none or it
// offers no layer shell.
bool OpenWayland(char* why, size_t size);
// Runs the gauge there until it is closed, the session ends or the compositor goes away, then
// saves the settings; the exit status.
int RunWaylandGauge();
