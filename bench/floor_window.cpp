// The floor's windows: garvo's shapes without garvo's work.
#include "floor_window.h"

LRESULT CALLBACK FloorWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER: return 0;
    case WM_NCHITTEST: return HTCAPTION;
    case WM_NCRBUTTONUP: PostMessageA(window, WM_CLOSE, 0, 0); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateFloorWindows(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.lpszClassName = "floorclass";
    RegisterClassExA(&windowClass);

    HWND info = CreateWindowExA(WS_EX_TOPMOST, "floorclass", "floor", WS_POPUP, 200, 300, 1, 1,
                                NULL, NULL, instance, NULL);
    if (!info) return NULL;
    HWND bar = CreateWindowExA(WS_EX_TOPMOST, "floorclass", "floor", WS_POPUP, 200, 300, 126, 6,
                               info, NULL, instance, NULL);
    if (!bar) return NULL;
    ShowWindow(bar, SW_SHOWNA);
    UpdateWindow(bar);
    SetTimer(bar, 10, 500, NULL);
    return bar;
}
