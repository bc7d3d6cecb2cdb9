// The gauge's X11 front end: two override-redirect windows on the display DISPLAY names.
#pragma once

#include "../unix/front_end.h"

#include <stddef.h>

// Opens the display and makes the gauge's windows; false, with why, when there is none.
bool OpenX11(FrontEnd& frontEnd, char* why, size_t size);
