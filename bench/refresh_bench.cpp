// The cost of one refresh tick: garvo's window procedure against the floor's empty paint, each
// driven synchronously in this process. Prints microseconds per tick.
#include "floor_window.h"

#include "../app/frame.h"
#include "../app/meter_state.h"
#include "../ui/ui.h"

#include <cstdio>
#include <cstdlib>

static double Seconds()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

template <typename Tick> static double MicrosecondsPerTick(int ticks, Tick tick)
{
    for (int i = 0; i < ticks / 100; ++i)
        tick(); // warm up
    double start = Seconds();
    for (int i = 0; i < ticks; ++i)
        tick();
    return (Seconds() - start) * 1e6 / ticks;
}

int main(int argc, char** argv)
{
    int ticks = argc > 1 ? std::atoi(argv[1]) : 100000;
    HINSTANCE instance = GetModuleHandleA(NULL);

    meter.barX = 200;
    meter.barY = 300;
    meter.warnPercent = 75;
    RegisterMeterClass(instance);
    if (!CreateMeterWindows(instance)) return 1;
    HWND bar = NULL; // the window of the class that is not the info window
    do
        bar = FindWindowExA(NULL, bar, "garvowclass", NULL);
    while (bar && bar == meter.infoWindow);
    HWND floor = CreateFloorWindows(instance);
    if (!bar || !floor) return 1;

    double garvo =
        MicrosecondsPerTick(ticks, [&] { MeterWndProc(bar, WM_TIMER, TIMER_REFRESH, 0); });
    double empty = MicrosecondsPerTick(ticks, [&] { FloorWndProc(floor, WM_PAINT, 0, 0); });
    std::printf("ticks %d\ngarvo_us %.2f\nfloor_us %.2f\n", ticks, garvo, empty);
    return 0;
}
