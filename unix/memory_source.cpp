// The memory load from /proc/meminfo, read from a descriptor kept open for the whole run.
#include "memory_source.h"

#include "meminfo.h"

#include <fcntl.h>
#include <unistd.h>

static int meminfo = -1;

void OpenMemorySource()
{
    meminfo = open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
}

uint32_t SampleMemoryLoad()
{
    // Reading from the start again gives a fresh sample.
    char text[4096];
    ssize_t size = meminfo >= 0 ? pread(meminfo, text, sizeof text, 0) : -1;
    return size > 0 ? MemoryLoadFromMeminfo(text, size_t(size)) : 0;
}
