// The native gauge's settings file on a real file system: what it keeps, and what it leaves
// alone when it cannot write.
#include <gtest/gtest.h>

#include "../common/bad_files.h"

// After GoogleTest: Xlib's macros (None, Bool) would break its headers.
#include "../../x11/gauge.h"
#include "../../x11/meter_state.h"

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

class SettingsFile : public testing::Test
{
  protected:
    void SetUp() override
    {
        meter = MeterState();
        ASSERT_TRUE(getcwd(previous_, sizeof previous_));
        ASSERT_TRUE(mkdtemp(dir_));
        ASSERT_EQ(0, chdir(dir_));
    }
    void TearDown() override
    {
        ASSERT_EQ(0, chdir(previous_));
        ASSERT_EQ(0, system((std::string("rm -rf ") + dir_).c_str()));
    }

    static std::string Read(const char* name)
    {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const char* name, const std::string& text)
    {
        std::ofstream(name, std::ios::binary) << text;
    }
    static void Set(int x, int y, int s)
    {
        meter.barX = x;
        meter.barY = y;
        meter.warnPercent = s;
    }
    // What the directory holds besides "." and "..".
    std::string Entries() const
    {
        std::string names;
        DIR* directory = opendir(dir_);
        while (dirent* entry = readdir(directory))
            if (entry->d_name[0] != '.') names += std::string(entry->d_name) + " ";
        closedir(directory);
        return names;
    }

    char previous_[4096];
    char dir_[32] = "/tmp/garvo-test-XXXXXX";
};

TEST_F(SettingsFile, RewritesTheThreeKeysAndKeepsTheFileAsItWas)
{
    Write("garvo.ini", "; mine\n[SETTING]\nx=1\ny=2\ns=3\n");
    chmod("garvo.ini", 0640);
    Set(10, 20, 30);
    SaveSettings();
    EXPECT_EQ("; mine\n[SETTING]\nx=10\ny=20\ns=30\n", Read("garvo.ini"));
    struct stat saved;
    ASSERT_EQ(0, stat("garvo.ini", &saved));
    EXPECT_EQ(0640u, saved.st_mode & 07777);
    EXPECT_EQ("garvo.ini ", Entries()); // nothing left beside it

    // The same values again: the file is not touched at all.
    SaveSettings();
    struct stat again;
    ASSERT_EQ(0, stat("garvo.ini", &again));
    EXPECT_EQ(saved.st_ino, again.st_ino);
}

TEST_F(SettingsFile, WritesTheFileALinkNames)
{
    ASSERT_EQ(0, mkdir("elsewhere", 0755));
    Write("elsewhere/real.ini", "[SETTING]\r\nx=1\r\n");
    ASSERT_EQ(0, symlink("elsewhere/real.ini", "garvo.ini"));
    Set(5, 6, 7);
    SaveSettings();
    char target[64] = "";
    EXPECT_LT(0, readlink("garvo.ini", target, sizeof target - 1));
    EXPECT_STREQ("elsewhere/real.ini", target);
    EXPECT_EQ("[SETTING]\r\nx=5\r\ny=6\r\ns=7\r\n", Read("elsewhere/real.ini"));
}

TEST_F(SettingsFile, LeavesWhatItCannotWriteAsItWas)
{
    ASSERT_EQ(0, mkdir("garvo.ini", 0755));
    Set(1, 2, 3);
    SaveSettings();
    struct stat status;
    ASSERT_EQ(0, stat("garvo.ini", &status));
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ("garvo.ini ", Entries());
    LoadSettings(1024, 768);
    EXPECT_EQ(INT32_MIN, meter.barX);

    // No one, root included, can create a file in /proc.
    ASSERT_EQ(0, chdir("/proc"));
    SaveSettings();
    EXPECT_NE(0, access("garvo.ini", F_OK));
}

TEST_F(SettingsFile, BadFilesLoadInRangeAndSaveOnlyTheThreeKeys)
{
    for (const std::string& file : BadSettingsFiles()) {
        SCOPED_TRACE(file.substr(0, 80));
        Write("garvo.ini", file);
        LoadSettings(1024, 768);
        EXPECT_TRUE(meter.barX == INT32_MIN || (meter.barX >= 0 && meter.barX <= 897));
        EXPECT_TRUE(meter.barY >= 0 && meter.barY <= 761) << meter.barY;
        EXPECT_TRUE(meter.warnPercent >= 0 && meter.warnPercent <= 100) << meter.warnPercent;
        Set(321, 123, 42);
        SaveSettings();
        ExpectForeignLinesKept(file, Read("garvo.ini"));
        LoadSettings(1024, 768);
        EXPECT_EQ(321, meter.barX);
        EXPECT_EQ(123, meter.barY);
        EXPECT_EQ(42, meter.warnPercent);
    }
}

} // namespace
