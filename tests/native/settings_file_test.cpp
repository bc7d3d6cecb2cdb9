// The native gauge's settings file on a real file system: which file it uses, what it keeps, and
// what it leaves alone.
#include <gtest/gtest.h>

#include "../common/bad_files.h"

// After GoogleTest: Xlib's macros (None, Bool) would break its headers.
#include "../../x11/gauge.h"
#include "../../x11/meter_state.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <signal.h>
#include <sstream>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

std::string listing;

int Note(const char* path, const struct stat* status, int, FTW*)
{
    listing += std::string(path) + " " + std::to_string(status->st_mode & 07777) + " " +
               std::to_string(status->st_size) + "\n";
    return 0;
}

class SettingsFile : public testing::Test
{
  protected:
    void SetUp() override
    {
        meter = MeterState();
        meter.scale = 1;
        ASSERT_TRUE(getcwd(previous_, sizeof previous_));
        ASSERT_TRUE(mkdtemp(dir_));
        ASSERT_EQ(0, chdir(dir_));
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = getenv(name);
            saved_.push_back(value ? value : "");
            unsetenv(name);
        }
        ChooseSettingsFile();
    }
    void TearDown() override
    {
        setenv("XDG_CONFIG_HOME", saved_[0].c_str(), 1);
        setenv("HOME", saved_[1].c_str(), 1);
        ASSERT_EQ(0, chdir(previous_));
        ASSERT_EQ(0, system((std::string("chmod -R u+rwx ") + dir_ + "; rm -rf " + dir_).c_str()));
    }

    static std::string Read(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(name, std::ios::binary) << text;
    }
    static void Set(int x, int y, int s)
    {
        meter.barX = x;
        meter.barY = y;
        meter.warnPercent = s;
    }
    static void Load()
    {
        MeterRect screen = {0, 0, 1024, 768};
        LoadSettings(&screen, 1, 0);
    }
    // Every path under the scratch directory, with its mode and size.
    std::string Tree() const
    {
        listing.clear();
        nftw(dir_, Note, 16, FTW_PHYS);
        return listing;
    }
    std::string At(const std::string& name) const { return std::string(dir_) + "/" + name; }
    int Entries() const
    {
        std::string tree = Tree();
        return int(std::count(tree.begin(), tree.end(), '\n'));
    }

    char previous_[4096];
    char dir_[32] = "/tmp/garvo-test-XXXXXX";
    std::vector<std::string> saved_;
};

TEST_F(SettingsFile, TheCurrentDirectorysFileElseTheConfigurationDirectorys)
{
    const struct {
        const char *xdg, *home;
        bool local;
        const char* used; // under the scratch directory
    } rows[] = {
        {"/xdg", "/home", true, "garvo.ini"},
        {"/xdg", "/home", false, "xdg/garvo/garvo.ini"},
        {nullptr, "/home", false, "home/.config/garvo/garvo.ini"},
        {"xdg", "/home", false, "home/.config/garvo/garvo.ini"}, // relative: ignored
        {"", "/home", false, "home/.config/garvo/garvo.ini"},
        {nullptr, nullptr, false, "garvo.ini"},
        {nullptr, "home", false, "garvo.ini"},
        {"", "", false, "garvo.ini"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.xdg ? row.xdg : "(unset)") + " " +
                     (row.home ? row.home : "(unset)") + (row.local ? " local" : ""));
        ASSERT_EQ(0, system("rm -rf garvo.ini xdg home"));
        if (row.local) Write("garvo.ini", "[SETTING]\r\nx=11\r\n");
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("HOME");
        if (row.xdg)
            setenv("XDG_CONFIG_HOME", row.xdg[0] == '/' ? At(row.xdg + 1).c_str() : row.xdg, 1);
        if (row.home) setenv("HOME", row.home[0] == '/' ? At(row.home + 1).c_str() : row.home, 1);
        std::string used = row.used[0] == 'g' ? "./garvo.ini" : At(row.used);
        EXPECT_EQ(used, ChooseSettingsFile());
        Load();
        EXPECT_EQ(row.local ? 11 : INT32_MIN, meter.barX);
        Set(30, 40, 50);
        SaveSettings();
        EXPECT_EQ("[SETTING]\r\nx=30\r\ny=40\r\ns=50\r\n", Read(used));
        // Only that file, and the directories that hold it, each private to the user.
        std::string tree = Tree(), made = used;
        for (size_t slash; (slash = made.rfind('/')) > std::string(dir_).size();) {
            made.resize(slash);
            EXPECT_NE(std::string::npos, tree.find(made + " " + std::to_string(0700) + " "));
        }
        int depth =
            int(std::count(used.begin(), used.end(), '/') - std::count(dir_, dir_ + 32, '/'));
        EXPECT_EQ(used[0] == '.' ? 2 : 1 + depth, Entries()) << tree;
    }
}

TEST_F(SettingsFile, AConfigurationDirectoryThatCannotBeMadeChangesNothing)
{
    Write("config", "a file where the directory would go");
    setenv("XDG_CONFIG_HOME", At("config").c_str(), 1);
    setenv("HOME", At("home").c_str(), 1);
    ChooseSettingsFile();
    std::string before = Tree();
    Load();
    Set(1, 2, 3);
    SaveSettings();
    EXPECT_EQ(before, Tree());
    EXPECT_EQ("a file where the directory would go", Read("config"));

    // Nor does one of the directories it would have made on the way to one it cannot make.
    setenv("XDG_CONFIG_HOME", At("made/" + std::string(300, 'n')).c_str(), 1);
    ChooseSettingsFile();
    SaveSettings();
    EXPECT_EQ(before, Tree());
}

TEST_F(SettingsFile, RewritesTheThreeKeysAndKeepsTheFileAsItWas)
{
    Write("garvo.ini", "; mine\n[SETTING]\nx=1\ny=2\ns=3\n");
    chmod("garvo.ini", 0640);
    ChooseSettingsFile();
    Set(10, 20, 30);
    SaveSettings();
    EXPECT_EQ("; mine\n[SETTING]\nx=10\ny=20\ns=30\n", Read("garvo.ini"));
    struct stat saved;
    ASSERT_EQ(0, stat("garvo.ini", &saved));
    EXPECT_EQ(0640u, saved.st_mode & 07777);
    EXPECT_EQ(2, Entries()); // nothing left beside it

    // The same values again: the file is not touched at all.
    SaveSettings();
    struct stat again;
    ASSERT_EQ(0, stat("garvo.ini", &again));
    EXPECT_EQ(saved.st_ino, again.st_ino);
}

// Where a new file cannot stand in for the old one, the old one is rewritten where it is.
TEST_F(SettingsFile, WritesTheFileALinkOrASecondNameReaches)
{
    ASSERT_EQ(0, mkdir("elsewhere", 0755));
    Write("elsewhere/real.ini", "[SETTING]\r\nx=1\r\n[kept]\r\n");
    ASSERT_EQ(0, symlink("elsewhere/real.ini", "garvo.ini"));
    ChooseSettingsFile();
    Set(5, 6, 7);
    SaveSettings();
    char target[64] = "";
    EXPECT_LT(0, readlink("garvo.ini", target, sizeof target - 1));
    EXPECT_STREQ("elsewhere/real.ini", target);
    EXPECT_EQ("[SETTING]\r\nx=5\r\ny=6\r\ns=7\r\n[kept]\r\n", Read("elsewhere/real.ini"));

    ASSERT_EQ(0, unlink("garvo.ini"));
    ASSERT_EQ(0, link("elsewhere/real.ini", "garvo.ini"));
    Set(-100, 600, 0);
    SaveSettings();
    EXPECT_EQ("[SETTING]\r\nx=-100\r\ny=600\r\ns=0\r\n[kept]\r\n", Read("elsewhere/real.ini"));
}

// A link that another user left in a shared sticky directory is not followed, even where the
// kernel would follow it.
TEST_F(SettingsFile, IgnoresALinkPlantedInASharedDirectory)
{
    ASSERT_EQ(0, mkdir("shared", 01777));
    ASSERT_EQ(0, chmod("shared", 01777));
    Write("victim", "export PATH\n");
    ASSERT_EQ(0, symlink(At("victim").c_str(), "shared/garvo.ini"));
    ASSERT_EQ(0, lchown("shared/garvo.ini", 65534, 65534));
    ASSERT_EQ(0, chdir("shared"));
    ChooseSettingsFile();
    Write("../victim", "[SETTING]\nx=300\n");
    Load();
    EXPECT_EQ(INT32_MIN, meter.barX);
    Set(1, 2, 3);
    SaveSettings();
    EXPECT_EQ("[SETTING]\nx=300\n", Read("../victim"));
    ASSERT_EQ(0, chdir(dir_));
}

TEST_F(SettingsFile, LeavesWhatItCannotWriteAsItWas)
{
    // Run in a child that an alarm ends: a FIFO must not block the load or the save.
    ASSERT_EQ(0, mkfifo("garvo.ini", 0644));
    pid_t child = fork();
    if (child == 0) {
        alarm(5);
        ChooseSettingsFile();
        Load();
        bool defaults = meter.barX == INT32_MIN;
        Set(1, 2, 3);
        SaveSettings();
        _exit(defaults ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_EQ(0, unlink("garvo.ini"));

    ASSERT_EQ(0, mkdir("garvo.ini", 0755));
    SaveSettings();
    struct stat directory;
    ASSERT_EQ(0, stat("garvo.ini", &directory));
    EXPECT_TRUE(S_ISDIR(directory.st_mode));
    ASSERT_EQ(0, rmdir("garvo.ini"));

    // Larger than any settings file: the defaults, and nothing written, sparse or not.
    int fd = open("garvo.ini", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(0, ftruncate(fd, (1 << 20) + 1));
    ASSERT_EQ(0, pwrite(fd, "[SETTING]\nx=9\n", 14, 0) - 14);
    close(fd);
    std::string before = Tree();
    Load();
    EXPECT_EQ(INT32_MIN, meter.barX);
    Set(1, 2, 3);
    SaveSettings();
    EXPECT_EQ(before, Tree());
}

// Another program that truncates and rewrites the file meanwhile, as garvo.exe and editors do:
// no crash, nothing left beside it, and once it stops the save is whole.
TEST_F(SettingsFile, SurvivesTheFileChangingWhileItSaves)
{
    std::string large = "[OTHER]\n" + std::string(600000, ';') + "\n[SETTING]\nx=1\n";
    Write("garvo.ini", large);
    ChooseSettingsFile();
    pid_t other = fork();
    if (other == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL); // and with it, should garvo's code crash
        for (;;) {
            truncate("garvo.ini", 100);
            Write("garvo.ini", large);
        }
    }
    for (int i = 0; i < 300; ++i) {
        Set(i, i, i % 100);
        SaveSettings();
    }
    kill(other, SIGKILL);
    waitpid(other, nullptr, 0);
    EXPECT_EQ(2, Entries()) << Tree();
    Write("garvo.ini", large);
    Set(7, 8, 9);
    SaveSettings();
    EXPECT_EQ(large.substr(0, large.size() - 2) + "7\ny=8\ns=9\n", Read("garvo.ini"));
}

TEST_F(SettingsFile, BadFilesLoadInRangeAndSaveOnlyTheThreeKeys)
{
    ChooseSettingsFile();
    for (const std::string& file : BadSettingsFiles()) {
        SCOPED_TRACE(file.substr(0, 80));
        Write("garvo.ini", file);
        Load();
        EXPECT_TRUE(meter.barX == INT32_MIN || (meter.barX >= 0 && meter.barX <= 897));
        EXPECT_TRUE(meter.barY >= 0 && meter.barY <= 761) << meter.barY;
        EXPECT_TRUE(meter.warnPercent >= 0 && meter.warnPercent <= 100) << meter.warnPercent;
        Set(321, 123, 42);
        SaveSettings();
        ExpectForeignLinesKept(file, Read("garvo.ini"));
        Load();
        EXPECT_EQ(321, meter.barX);
        EXPECT_EQ(123, meter.barY);
        EXPECT_EQ(42, meter.warnPercent);
    }
}

} // namespace
