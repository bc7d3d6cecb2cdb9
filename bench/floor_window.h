// The floor: the least a Win32 program with garvo's job could cost. Two windows of garvo's sizes
// and styles and a 500 ms timer, with nothing sampled and nothing painted.
#pragma once

#include "../platform/win32.h"

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Returns the bar-sized window, or NULL.
HWND CreateFloorWindows(HINSTANCE instance);
