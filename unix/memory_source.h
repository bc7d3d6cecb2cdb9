// Where the gauge samples the memory load on Linux: /proc/meminfo, kept open.
#pragma once

#include <stdint.h>

// Opens /proc/meminfo once; a sample then costs one read.
void OpenMemorySource();
// The memory load now, 0 to 100; 0 when it cannot be read.
uint32_t SampleMemoryLoad();
