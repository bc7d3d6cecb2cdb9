// Process entry without the C runtime's start-up code: garvo uses nothing that needs it, and
// the image stays a few kilobytes with no runtime DLL to map.
#include "../platform/win32.h"

extern "C" void GarvoEntry()
{
    ExitProcess(UINT(WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWDEFAULT)));
}
