// The memory load from /proc/meminfo: "MemTotal:  24576000 kB", "MemAvailable:  ... kB", ...
#include "meminfo.h"

#include <string.h>

// The number after "name:" at the start of a line; false when the line is not there or its number
// does not fit in 64 bits.
static bool FindField(const char* text, size_t size, const char* name, uint64_t& value)
{
    const size_t length = strlen(name);
    for (const char* line = text; line < text + size;) {
        const char* end = static_cast<const char*>(memchr(line, '\n', size_t(text + size - line)));
        if (!end) end = text + size;
        if (size_t(end - line) > length && memcmp(line, name, length) == 0 && line[length] == ':') {
            const char* at = line + length + 1;
            while (at < end && *at == ' ')
                ++at;
            value = 0;
            const char* digits = at;
            for (; at < end && *at >= '0' && *at <= '9'; ++at) {
                uint64_t digit = uint64_t(*at - '0');
                if (value > (UINT64_MAX - digit) / 10) return false;
                value = value * 10 + digit;
            }
            return at > digits;
        }
        line = end + 1;
    }
    return false;
}

uint32_t MemoryLoadFromMeminfo(const char* text, size_t size)
{
    uint64_t total = 0, available = 0;
    if (!FindField(text, size, "MemTotal", total) || total == 0) return 0;
    if (!FindField(text, size, "MemAvailable", available) || available > total) return 0;
    uint64_t used = total - available;
    // A total too large to multiply by 100 is divided instead: its last two digits do not count.
    if (total <= UINT64_MAX / 100) return uint32_t(used * 100 / total);
    uint64_t load = used / (total / 100);
    return uint32_t(load < 100 ? load : 100);
}
