// Entry point: load the settings, run the two windows until the quit message, save the settings.
#include "frame.h"
#include "meter_state.h"
#include "settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    LoadSettings();
    RegisterMeterClass(instance);

    int status = 1; // the loop never ran: no quit code to return
    if (CreateMeterWindows(instance)) {
        MSG message = {};
        while (GetMessageA(&message, NULL, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        status = int(message.wParam);
    }
    SaveSettings();
    return status;
}
