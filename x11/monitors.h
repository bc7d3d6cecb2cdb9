// The desktop's monitors as RandR tells them, and word of their changes.
#pragma once

#include "../unix/placement.h"

#include "xcb_library.h"

namespace x11
{

// The RandR monitors, else the screen as one, and asks to hear when they change.
void ReadMonitors(MonitorList& monitors);
// Whether the event says that monitors came, went or changed.
bool IsMonitorChange(const xcb_generic_event_t& event);

} // namespace x11
