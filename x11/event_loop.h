// The X11 event loop: one small handler per event, as a window procedure has one per message,
// and the two timers that the Windows image gets from the platform.
#pragma once

#include "../unix/placement.h"

namespace x11
{

// Handles events and timer ticks until a window is closed or an ending signal arrives. The
// monitors are kept up to date as they change.
void RunEventLoop(MonitorList& monitors);
// Takes the bar's place as the one to save, as closing the bar does on Windows.
void RecordBarPosition();

} // namespace x11
