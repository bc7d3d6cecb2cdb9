// The gauge on an X11 display.
#pragma once

#include <stddef.h>

// Opens the display that DISPLAY names; false, with why, when there is none.
bool OpenX11(char* why, size_t size);
// Runs the gauge there until it is closed or the session ends, then saves the settings; the exit
// status.
int RunX11Gauge();
