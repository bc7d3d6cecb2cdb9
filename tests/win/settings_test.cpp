// The settings file under the real profile API: defaults, round trips, the written format, and
// files that are damaged, foreign or cannot be written.
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../app/settings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

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

static std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The file's lines as the profile API keeps them: a lone carriage return ends a line too, blanks
// around a line and around its first '=' are dropped, empty lines are left out.
std::vector<std::string> Lines(const std::string& text)
{
    std::string unified = text;
    for (char& c : unified)
        if (c == '\r') c = '\n';
    std::vector<std::string> lines;
    std::istringstream in(unified);
    for (std::string line; std::getline(in, line);) {
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            line = Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1));
        line = Trim(line);
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

bool IsOwnKeyLine(const std::string& line)
{
    return line.size() >= 2 && line[1] == '=' &&
           (line[0] == 'x' || line[0] == 'y' || line[0] == 's');
}

// Every line the file had, other than our own three keys in our own section, is still there
// and in the same order.
void ExpectForeignLinesKept(const std::string& before, const std::string& after)
{
    std::vector<std::string> kept = Lines(after);
    size_t next = 0;
    bool inOurSection = false;
    for (const std::string& line : Lines(before)) {
        if (!line.empty() && line[0] == '[') inOurSection = line == "[SETTING]";
        if (inOurSection && IsOwnKeyLine(line)) continue;
        while (next < kept.size() && kept[next] != line)
            ++next;
        ASSERT_LT(next, kept.size()) << "lost: " << line << "\nfrom:\n" << after;
        ++next;
    }
}

std::string Garbage(size_t size)
{
    std::string bytes;
    unsigned state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245 + 12345;
        char byte = char(state >> 16);
        bytes += byte == '\0' ? '\x01' : byte;
    }
    return bytes;
}

std::string Huge()
{
    std::string text = "; a large file of someone else's\r\n[OTHER]\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "key" + std::to_string(i) + "=value\r\n";
    return text + "[SETTING]\r\nx=5\r\n";
}

TEST_F(Settings, BadFilesLoadInRangeAndSaveOnlyTheThreeKeys)
{
    const std::string files[] = {
        "",
        Garbage(4096),
        Huge(),
        "[SETTING]\r\nx=12abc\r\ny=0x10\r\ns= 7\r\n",
        "[SETTING]\r\nx=+5\r\ny=\r\ns=\r\n",
        "[SETTING]\r\nx=2147483648\r\ny=-2147483649\r\ns=9223372036854775808\r\n",
        "[SETTING]\r\nx=-9223372036854775809\r\ny=99999999999\r\ns=12345678901234567890\r\n",
        "[SETTING]\r\nx=1\r\nx=2\r\ns=50\r\ns=60\r\n",
        "; comment\r\n[Other]\r\nx=keep\r\nname=value\r\n\r\n[SETTING]\r\n; ours\r\nx=7\r\n"
        "extra=kept\r\n[Last]\r\ns=also kept\r\n",
    };
    for (const std::string& file : files) {
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
