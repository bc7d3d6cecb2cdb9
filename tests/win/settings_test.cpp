// The settings file under the real profile API: defaults, round trips, the written format, and
// files that are damaged, foreign or cannot be written.
#include "../common/bad_files.h"
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../app/settings.h"

#include <gtest/gtest.h>

namespace
{

class Settings : public testing::Test
{
  protected:
    void SetUp() override { meter = MeterState(); }

    // The settings as the program reads them at start.
    void Load(INT32& x, INT32& y, INT32& s)
    {
        LoadSettings();
        x = meter.barX;
        y = meter.barY;
        s = meter.warnPercent;
    }

    ScratchDirectory dir;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
};

TEST_F(Settings, NoFileGivesTheDefaults)
{
    INT32 x, y, s;
    Load(x, y, s);
    EXPECT_EQ(INT32(CW_USEDEFAULT), x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(75, s);
    EXPECT_EQ("", dir.Read("garvo.ini")); // reading creates nothing
}

TEST_F(Settings, ReadsSignedValuesAndClampsThemToTheScreen)
{
    struct Row {
        const char* file;
        INT32 x, y, s;
    } const rows[] = {
        {"[SETTING]\nx=300\ny=200\ns=60\n", 300, 200, 60},
        {"[SETTING]\nx=-40\ny=-3\ns=-5\n", 0, 0, 0},
        {"[SETTING]\ns=150\n", INT32(CW_USEDEFAULT), 0, 100},
        {"[SETTING]\nx=-2147483648\ny=-2147483648\n", INT32(CW_USEDEFAULT), 0, 75},
        {"[SETTING]\nx=2147483647\ny=2147483647\ns=2147483647\n", width - 127, height - 7, 100},
        {"[setting]\nX=12\nY=34\nS=56\n", 12, 34, 56}, // the profile API ignores case
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        dir.Write("garvo.ini", row.file);
        INT32 x, y, s;
        Load(x, y, s);
        EXPECT_EQ(row.x, x);
        EXPECT_EQ(row.y, y);
        EXPECT_EQ(row.s, s);
    }
}

TEST_F(Settings, WritesXYThenSAsDecimalsUnderSetting)
{
    meter.barX = 300;
    meter.barY = 200;
    meter.warnPercent = 75;
    SaveSettings();
    EXPECT_EQ("[SETTING]\r\nx=300\r\ny=200\r\ns=75\r\n", dir.Read("garvo.ini"));

    // A position recorded at close is written unchanged; it is clamped only when read again.
    meter.barX = -2000;
    meter.barY = 99999;
    meter.warnPercent = 0;
    SaveSettings();
    EXPECT_EQ("[SETTING]\r\nx=-2000\r\ny=99999\r\ns=0\r\n", dir.Read("garvo.ini"));
}

TEST_F(Settings, UnsetXRoundTripsAsUnset)
{
    LoadSettings();
    SaveSettings();
    EXPECT_EQ("[SETTING]\r\nx=-2147483648\r\ny=0\r\ns=75\r\n", dir.Read("garvo.ini"));
    meter = MeterState();
    LoadSettings();
    EXPECT_EQ(INT32(CW_USEDEFAULT), meter.barX);
}

TEST_F(Settings, ReplacesValuesInPlace)
{
    dir.Write("garvo.ini", "[SETTING]\r\ns=10\r\ny=20\r\nx=30\r\n");
    meter.barX = 1;
    meter.barY = 2;
    meter.warnPercent = 3;
    SaveSettings();
    EXPECT_EQ("[SETTING]\r\ns=3\r\ny=2\r\nx=1\r\n", dir.Read("garvo.ini"));
}

TEST_F(Settings, BadFilesLoadInRangeAndSaveOnlyTheThreeKeys)
{
    for (const std::string& file : BadSettingsFiles()) {
        SCOPED_TRACE(file.substr(0, 80));
        dir.Write("garvo.ini", file);
        INT32 x, y, s;
        Load(x, y, s);
        EXPECT_TRUE(x == INT32(CW_USEDEFAULT) || (x >= 0 && x <= width - 127)) << x;
        EXPECT_GE(y, 0);
        EXPECT_LE(y, height - 7);
        EXPECT_GE(s, 0);
        EXPECT_LE(s, 100);

        meter.barX = 321;
        meter.barY = 123;
        meter.warnPercent = 42;
        SaveSettings();
        ExpectForeignLinesKept(file, dir.Read("garvo.ini"));
        meter = MeterState();
        LoadSettings();
        EXPECT_EQ(321, meter.barX);
        EXPECT_EQ(123, meter.barY);
        EXPECT_EQ(42, meter.warnPercent);
    }
}

TEST_F(Settings, FileInUseElsewhereFailsSilentlyAndChangesNothing)
{
    const std::string before = "[SETTING]\r\nx=10\r\ny=20\r\ns=30\r\n";
    dir.Write("garvo.ini", before);
    // Another program holds the file open and shares nothing, as an editor or a backup might.
    HANDLE held = CreateFileA("garvo.ini", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    meter.barX = 1;
    meter.barY = 2;
    meter.warnPercent = 3;
    SaveSettings();
    CloseHandle(held);
    EXPECT_EQ(before, dir.Read("garvo.ini"));
}

TEST_F(Settings, PathThatIsADirectoryFailsSilently)
{
    ASSERT_TRUE(CreateDirectoryA("garvo.ini", NULL));
    meter.barX = 1;
    SaveSettings();
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY), GetFileAttributesA("garvo.ini"));
    LoadSettings();
    EXPECT_EQ(INT32(CW_USEDEFAULT), meter.barX);
}

TEST_F(Settings, DirectoryThatCannotBeWrittenFailsSilently)
{
    // No one, root included, can create a file in /proc: the Z: drive shows it as a directory.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\proc"));
    meter.barX = 1;
    SaveSettings();
    bool created = GetFileAttributesA("garvo.ini") != INVALID_FILE_ATTRIBUTES;
    LoadSettings();
    SetCurrentDirectoryA(previous);
    EXPECT_FALSE(created);
    EXPECT_EQ(INT32(CW_USEDEFAULT), meter.barX);
}

} // namespace
