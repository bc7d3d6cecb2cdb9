// The gauge's Wayland front end: two layer surfaces on the compositor WAYLAND_DISPLAY names.
#pragma once

#include "../unix/front_end.h"

#include <stddef.h>

// Connects and learns the outputs and the seat; false, with why, when there is no compositor or
// it lacks what the gauge needs, which is named.
bool OpenWayland(FrontEnd& frontEnd, char* why, size_t size);
