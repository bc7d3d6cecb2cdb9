// The memory load as the Windows image reports it, from the text of Linux's /proc/meminfo.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The percentage of physical memory in use, 0 to 100: total less available, over total. 0 when
// either figure is missing or makes no sense.
uint32_t MemoryLoadFromMeminfo(const char* text, size_t size);
