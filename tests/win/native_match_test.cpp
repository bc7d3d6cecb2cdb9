// The native gauge's settings file and memory load, checked against the Windows profile and
// memory functions on the same inputs, so that the two front ends cannot drift apart.
#include "../common/bad_files.h"
#include "test_support.h"

#include "../../x11/meminfo.h"
#include "../../x11/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

TEST(NativeMatchesWindows, MemoryLoadIsTheOneThePlatformReports)
{
    std::ifstream in("Z:\\proc\\meminfo", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_NE(std::string::npos, text.find("MemAvailable:"));
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    EXPECT_NEAR(double(status.dwMemoryLoad), MemoryLoadFromMeminfo(text.data(), text.size()), 1);
}

} // namespace
