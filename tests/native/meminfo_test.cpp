// The memory load from /proc/meminfo texts: the usual one, and ones the gauge must not trust.
#include "../../unix/meminfo.h"

#include <gtest/gtest.h>

#include <string>

TEST(MemoryLoad, FromMeminfoTexts)
{
    const struct {
        const char* text;
        uint32_t load;
    } rows[] = {
        {"MemTotal:       16000000 kB\nMemFree:         1000000 kB\n"
         "MemAvailable:    4000000 kB\nBuffers:          100 kB\n",
         75},
        {"MemTotal: 1000 kB\nMemAvailable: 1000 kB\n", 0},
        {"MemTotal: 1000 kB\nMemAvailable: 0 kB\n", 100},
        {"MemTotal: 1000 kB\nMemAvailable: 989 kB", 1},            // no line break at the end
        {"MemTotal: 24576000 kB\nMemAvailable: 24330241 kB\n", 0}, // 0.99999 % truncates
        {"MemTotal: 1000 kB\nMemFree: 10 kB\n", 0},                // no MemAvailable
        {"MemAvailable: 10 kB\n", 0},                              // no MemTotal
        {"MemTotal: 0 kB\nMemAvailable: 0 kB\n", 0},
        {"MemTotal: 1000 kB\nMemAvailable: 2000 kB\n", 0}, // more available than there is
        {"MemTotal: kB\nMemAvailable: 5 kB\n", 0},
        {"MemTotal: 99999999999999999999999 kB\nMemAvailable: 5 kB\n", 0},
        // Totals whose hundredfold does not fit in 64 bits.
        {"MemTotal: 184467440737095519 kB\nMemAvailable: 0 kB\n", 100},
        {"MemTotal: 18446744073709551615 kB\nMemAvailable: 9223372036854775807 kB\n", 50},
        {"MemTotal: 18446744073709551616 kB\nMemAvailable: 0 kB\n", 0},
        {"XMemTotal: 1000 kB\nMemTotalX: 1000 kB\nMemAvailable: 5 kB\n", 0},
        {"", 0},
    };
    for (const auto& row : rows) {
        std::string text = row.text;
        EXPECT_EQ(row.load, MemoryLoadFromMeminfo(text.data(), text.size())) << text;
    }
}
