// The one window procedure: a table of which message goes where, for the bar and the info box.
#include "ui.h"

#include "../app/meter_state.h"
#include "../app/settings.h"
#include "../meter/meter.h"

static bool IsInfo(HWND window)
{
    return window == meter.infoWindow;
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    if (IsInfo(window))
        PaintInfo(dc, client);
    else
        PaintBar(dc, client);
    EndPaint(window, &paint);
}

static void PaintNow(HWND window, void (*paint)(HDC, const RECT&))
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    if (!dc) return;
    paint(dc, client);
    ReleaseDC(window, dc);
}

// Drawn straight through the window's DC: nothing is invalidated, so no WM_PAINT follows.
static void OnRefresh(HWND bar)
{
    PaintNow(bar, PaintBar);
    if (IsWindowVisible(meter.infoWindow)) PaintNow(meter.infoWindow, PaintInfo);
}

static void RecordBarPosition(HWND bar)
{
    RECT rect;
    if (!GetWindowRect(bar, &rect)) return;
    meter.barX = rect.left;
    meter.barY = rect.top;
}

static void OnClose(HWND window)
{
    // Only the bar's own close records where it stands; closing the info box keeps the start one.
    if (!IsInfo(window)) RecordBarPosition(window);
    DestroyWindow(window);
}

// A logoff or shutdown ends the process without a close request and without returning from the
// message loop: save now, as a close of the bar would, or a session's changes are lost.
static void OnEndSession(HWND window, WPARAM ending)
{
    if (!ending || IsInfo(window)) return;
    RecordBarPosition(window);
    SaveSettings();
}

static void OnDoubleClick(HWND bar, LPARAM lParam)
{
    RECT client;
    GetClientRect(bar, &client);
    POINT point = {SignedLowWord(lParam), SignedHighWord(lParam)};
    ScreenToClient(bar, &point);
    meter.warnPercent = ThresholdFromPoint(point.x, ToMeterRect(client));
    ShowInfo(bar);
}

static void OnTimer(HWND bar, WPARAM id)
{
    if (id == TIMER_REFRESH) OnRefresh(bar);
    if (id == TIMER_HOVER) CheckHover(bar);
}

LRESULT CALLBACK MeterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_ENDSESSION: OnEndSession(window, wParam); return 0;
    // Every point answers as caption: the platform drags the window and sends all mouse input
    // in its non-client form, with screen coordinates.
    case WM_NCHITTEST: return HTCAPTION;
    case WM_NCMOUSEMOVE: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        if (!IsInfo(window)) ShowInfo(window);
        return result;
    }
    // The caption's own double-click and right-button handling must never run.
    case WM_NCLBUTTONDBLCLK:
        if (!IsInfo(window)) OnDoubleClick(window, lParam);
        return 0;
    case WM_NCRBUTTONDOWN: return 0;
    case WM_NCRBUTTONUP: PostMessageA(window, WM_CLOSE, 0, 0); return 0;
    case WM_TIMER: OnTimer(window, wParam); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
