// The native gauge's counterpart of memory_load.exe: prints the memory load as /proc/meminfo
// gives it; with "hold MB", also keeps that much memory in use until killed.
#include "../../unix/meminfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        size_t size = size_t(std::atoi(argv[2])) << 20;
        void* held =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (held == MAP_FAILED) return 1;
        std::memset(held, 1, size);
        std::printf("held\n");
        std::fflush(stdout);
        pause();
    }
    char text[4096];
    int fd = open("/proc/meminfo", O_RDONLY);
    ssize_t size = fd >= 0 ? read(fd, text, sizeof text) : -1;
    std::printf("%u\n", size > 0 ? MemoryLoadFromMeminfo(text, size_t(size)) : 0);
    return 0;
}
