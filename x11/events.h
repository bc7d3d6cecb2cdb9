// X11's events, translated into the gauge's reports: one small handler per event.
#pragma once

#include <stdint.h>

namespace x11
{

// Waits for events until `timeoutMs` (-1: no limit) and reports what they say.
void WaitForEvents(int64_t timeoutMs);

} // namespace x11
