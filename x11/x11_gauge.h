// The gauge on an X11 display.
#pragma once

// Runs the gauge on the display that DISPLAY names until it is closed or the session ends, then
// saves the settings; the exit status. With no display to use: one line on standard error, 1.
int RunX11Gauge();
