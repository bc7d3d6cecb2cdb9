// A run of the gauge on a display: start, the loop with its two timers, the end and the save.
#pragma once

#include "front_end.h"

// Shows the gauge through that front end until it is closed or the session ends, then saves the
// settings; the exit status. The front end's monitor, scale and display reports are defined here.
int RunGauge(const FrontEnd& display);
