// The floor as a program of its own, run by the benchmark beside garvo.
#include "floor_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    if (!CreateFloorWindows(instance)) return 1;
    MSG message = {};
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}
