// The native gauge's settings file and memory load, checked against the Windows profile and
// memory functions on the same inputs, so that the two front ends cannot drift apart.
#include "../common/bad_files.h"
#include "test_support.h"

#include "../../unix/meminfo.h"
#include "../../unix/profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace
{

void Append(void* text, const char* bytes, size_t size)
{
    static_cast<std::string*>(text)->append(bytes, size);
}

std::string Rewrite(const std::string& file, const ProfileKey (&keys)[3])
{
    std::string text;
    RewriteProfile(file.data(), file.size(), "SETTING", keys, 3, ProfileSink{Append, &text});
    return text;
}

TEST(NativeMatchesWindows, SettingsFilesAreReadAndRewrittenAlike)
{
    ScratchDirectory dir;
    struct Key {
        const char* name;
        int fallback;
    } const keys[] = {{"x", INT32_MIN}, {"y", 0}, {"s", 75}};
    const ProfileKey values[3] = {{"x", "321"}, {"y", "123"}, {"s", "42"}};
    for (const std::string& file : BadSettingsFiles()) {
        SCOPED_TRACE(file.substr(0, 80));
        dir.Write("garvo.ini", file);
        for (const Key& key : keys) {
            EXPECT_EQ(int(GetPrivateProfileIntA("SETTING", key.name, key.fallback, "./garvo.ini")),
                      ReadProfileInt(file.data(), file.size(), "SETTING", key.name, key.fallback))
                << key.name;
        }

        std::string ours = Rewrite(file, values);
        for (const ProfileKey& value : values)
            WritePrivateProfileStringA("SETTING", value.name, value.value, "./garvo.ini");
        EXPECT_EQ(ProfileLines(dir.Read("garvo.ini")), ProfileLines(ours));

        // What the native gauge wrote, the Windows image reads back.
        dir.Write("garvo.ini", ours);
        EXPECT_EQ(321u, GetPrivateProfileIntA("SETTING", "x", 0, "./garvo.ini"));
        EXPECT_EQ(123u, GetPrivateProfileIntA("SETTING", "y", 0, "./garvo.ini"));
        EXPECT_EQ(42u, GetPrivateProfileIntA("SETTING", "s", 0, "./garvo.ini"));
    }
}

std::string Meminfo()
{
    std::ifstream in("Z:\\proc\\meminfo", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Wine counts all of the page cache as free, shared memory too; Linux's MemAvailable does not.
uint32_t LoadCountingCacheAsFree(const std::string& text)
{
    unsigned long long total = 0, free = 0, value = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (std::sscanf(line.c_str(), "MemTotal: %llu", &value) == 1) total = value;
        if (std::sscanf(line.c_str(), "MemFree: %llu", &value) == 1 ||
            std::sscanf(line.c_str(), "Buffers: %llu", &value) == 1 ||
            std::sscanf(line.c_str(), "Cached: %llu", &value) == 1)
            free += value;
    }
    return total && free <= total ? uint32_t((total - free) * 100 / total) : 0;
}

TEST(NativeMatchesWindows, MemoryLoadIsTheOneThePlatformReports)
{
    // Read on either side of the platform's own reading, until the load held still across it.
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::string before = Meminfo();
        ASSERT_NE(std::string::npos, before.find("MemAvailable:"));
        MEMORYSTATUS status = {};
        status.dwLength = sizeof status;
        GlobalMemoryStatus(&status);
        std::string after = Meminfo();
        uint32_t ours = MemoryLoadFromMeminfo(before.data(), before.size());
        if (ours != MemoryLoadFromMeminfo(after.data(), after.size())) continue;
        int cached = int(LoadCountingCacheAsFree(before));
        if (std::abs(cached - int(ours)) > 1)
            GTEST_SKIP() << "shared memory or unreclaimable cache: " << ours << "% in use, "
                         << cached << "% counting all the cache as free";
        EXPECT_NEAR(double(status.dwMemoryLoad), ours, 1);
        return;
    }
    FAIL() << "the memory load never held still";
}

} // namespace
