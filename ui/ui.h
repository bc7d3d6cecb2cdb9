// The window procedure both windows share, and the painting and hover box it drives.
#pragma once

#include "../meter/meter.h"
#include "../platform/win32.h"

inline MeterRect ToMeterRect(const RECT& rect)
{
    MeterRect converted = {rect.left, rect.top, rect.right, rect.bottom};
    return converted;
}

LRESULT CALLBACK MeterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Samples the memory load and draws frame, fill and threshold marker.
void PaintBar(HDC dc, const RECT& client);
void DrawBar(HDC dc, const BarLayout& layout);

// Sets the hover text, shows the box above the bar if it is hidden, and restarts the hover timer.
void ShowInfo(HWND bar);
void PaintInfo(HDC dc, const RECT& client);
// Hides the box once the cursor is over neither window.
void CheckHover(HWND bar);
