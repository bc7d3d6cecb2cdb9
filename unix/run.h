// A run of the gauge on a display: start, the loop with its two timers, the end and the save.
#pragma once

#include "front_end.h"

// From now on an ending signal ends the run with success: before a display is opened, so that a
// logout while one opens, or while the bar first shows, is no failure. Once the settings are read
// the end saves them, with the bar where it was placed.
void CatchEndingOfRun();
// Shows the gauge through that front end until it is closed or the session ends, then saves the
// settings; the exit status. The front end's monitor, scale and display reports are defined here.
int RunGauge(const FrontEnd& display);
