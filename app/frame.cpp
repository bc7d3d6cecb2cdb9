// Registers the window class both windows share and creates them, the info box first.
#include "frame.h"

#include "meter_state.h"
#include "../meter/meter.h"
#include "../res/resource.h"
#include "../ui/ui.h"

static const char CLASS_NAME[] = "garvowclass";
static const char TITLE[] = "garvow";

static HICON LoadMeterIcon(HINSTANCE instance, int size)
{
    return HICON(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_GARVO), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void RegisterMeterClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MeterWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadMeterIcon(instance, 32);
    windowClass.hIconSm = LoadMeterIcon(instance, 16);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    // No background brush: every paint covers the whole client area itself.
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassExA(&windowClass);
}

static HWND CreateMeterWindow(int width, int height, HWND owner)
{
    return CreateWindowExA(WS_EX_TOPMOST, CLASS_NAME, TITLE, WS_POPUP, meter.barX, meter.barY,
                           width, height, owner, NULL, meter.instance, NULL);
}

bool CreateMeterWindows(HINSTANCE instance)
{
    meter.instance = instance;
    HWND info = CreateMeterWindow(1, 1, NULL);
    if (!info) return false;
    meter.infoWindow = info;

    // Owned by the info box, so destroying the box destroys the bar too.
    HWND bar = CreateMeterWindow(BAR_WIDTH, BAR_HEIGHT, info);
    if (!bar) return false;
    ShowWindow(bar, SW_SHOWNA); // the window that has the focus keeps it
    UpdateWindow(bar);          // first paint, and with it the first sample
    SetTimer(bar, TIMER_REFRESH, TIMER_PERIOD_MS, NULL);
    return true;
}
