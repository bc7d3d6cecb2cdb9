// The hover box: load and threshold as one line of text just above the bar.
#include "ui.h"

#include "../app/meter_state.h"
#include "../meter/meter.h"

void ShowInfo(HWND bar)
{
    // Showing and painting the box send messages that can lead back here.
    if (meter.infoBusy) return;
    meter.infoBusy = true;

    char text[TEXT_SIZE];
    FormatInfoText(meter.loadPercent, meter.warnPercent, text);
    SetWindowTextA(meter.infoWindow, text);

    if (!meter.infoShown) {
        meter.infoShown = true;
        RECT barRect;
        GetWindowRect(bar, &barRect);
        // Placed only on the way from hidden to shown: a shown box stays where it is.
        MoveWindow(meter.infoWindow, barRect.left, barRect.top - INFO_HEIGHT, INFO_WIDTH,
                   INFO_HEIGHT, FALSE);
        ShowWindow(meter.infoWindow, SW_SHOWNA);
        UpdateWindow(meter.infoWindow);
    } else {
        KillTimer(bar, TIMER_HOVER);
    }
    SetTimer(bar, TIMER_HOVER, TIMER_PERIOD_MS, NULL);
    meter.infoBusy = false;
}

void PaintInfo(HDC dc, const RECT& client)
{
    char text[TEXT_SIZE];
    int length = GetWindowTextA(meter.infoWindow, text, TEXT_SIZE);
    RECT box = client;
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
    DrawTextA(dc, text, length, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CheckHover(HWND bar)
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    if (under == meter.infoWindow || under == bar) {
        UpdateWindow(meter.infoWindow);
        return;
    }
    KillTimer(bar, TIMER_HOVER);
    meter.infoShown = false;
    ShowWindow(meter.infoWindow, SW_HIDE);
}
