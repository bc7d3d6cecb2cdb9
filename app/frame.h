// The window class and the two windows: the hidden info box and the bar it owns.
#pragma once

#include "../platform/win32.h"

void RegisterMeterClass(HINSTANCE instance);
// Creates both windows, shows the bar without activating it and arms the refresh timer.
bool CreateMeterWindows(HINSTANCE instance);
