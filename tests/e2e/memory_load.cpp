// Prints the memory load as the platform reports it; with "hold MB", also keeps that much memory
// in use until killed, so that the bar has a visible fill on a machine with plenty to spare.
#include "../../platform/win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        // In 16 MB pieces: a 32-bit address space rarely has one large free range.
        const SIZE_T piece = SIZE_T(16) << 20;
        for (int left = std::atoi(argv[2]); left > 0; left -= 16) {
            char* held = static_cast<char*>(VirtualAlloc(NULL, piece, MEM_COMMIT, PAGE_READWRITE));
            if (!held) return 1;
            for (SIZE_T at = 0; at < piece; at += 4096)
                held[at] = 1;
        }
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(INFINITE);
    }
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    std::printf("%lu\n", static_cast<unsigned long>(status.dwMemoryLoad));
    return 0;
}
