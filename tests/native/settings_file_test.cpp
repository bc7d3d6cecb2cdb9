// The native gauge's settings file on a real file system: which file it uses, what it keeps, and
// what it leaves alone.
#include "../../unix/settings_file.h"
#include "../common/bad_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <signal.h>
#include <sstream>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
        std::string dir = dir_;
        ASSERT_EQ(0, system(("umount -q " + dir + "/disk 2>/dev/null; chmod -R u+rwx " + dir +
                             "; rm -rf " + dir)
                                .c_str()));
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
    static void Save(int x, int y, int s) { SaveSettings(Settings{x, y, s}); }
    // What a bar on a screen of 1024 x 768 starts with.
    static Settings Load()
    {
        Settings saved = ReadSettings();
        return ClampSettingsIn(saved.x, saved.y, saved.s, {0, 0, 1024, 768}, BAR_WIDTH, BAR_HEIGHT);
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
        {"/long", "/home", false, "home/.config/garvo/garvo.ini"}, // too long: HOME's
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
        std::string xdg = row.xdg ? row.xdg : "";
        if (xdg == "/long") xdg += "/" + std::string(PATH_MAX - 30, 'l');
        if (row.xdg)
            setenv("XDG_CONFIG_HOME", xdg[0] == '/' ? At(xdg.substr(1)).c_str() : row.xdg, 1);
        if (row.home) setenv("HOME", row.home[0] == '/' ? At(row.home + 1).c_str() : row.home, 1);
        std::string used = row.used[0] == 'g' ? "./garvo.ini" : At(row.used);
        EXPECT_EQ(used, ChooseSettingsFile());
        EXPECT_EQ(row.local ? 11 : INT32_MIN, Load().x);
        Save(30, 40, 50);
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
    Save(1, 2, 3);
    EXPECT_EQ(before, Tree());
    EXPECT_EQ("a file where the directory would go", Read("config"));

    // Nor does one of the directories it would have made on the way to one it cannot make.
    setenv("XDG_CONFIG_HOME", At("made/" + std::string(300, 'n')).c_str(), 1);
    ChooseSettingsFile();
    Save(1, 2, 3);
    EXPECT_EQ(before, Tree());
}

TEST_F(SettingsFile, RewritesTheThreeKeysAndKeepsTheFileAsItWas)
{
    Write("garvo.ini", "; mine\n[SETTING]\nx=1\ny=2\ns=3\n");
    chmod("garvo.ini", 0640);
    ChooseSettingsFile();
    Save(10, 20, 30);
    EXPECT_EQ("; mine\n[SETTING]\nx=10\ny=20\ns=30\n", Read("garvo.ini"));
    struct stat saved;
    ASSERT_EQ(0, stat("garvo.ini", &saved));
    EXPECT_EQ(0640u, saved.st_mode & 07777);
    EXPECT_EQ(2, Entries()); // nothing left beside it

    // The same values again: the file is not touched at all.
    Save(10, 20, 30);
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
    Save(5, 6, 7);
    char target[64] = "";
    EXPECT_LT(0, readlink("garvo.ini", target, sizeof target - 1));
    EXPECT_STREQ("elsewhere/real.ini", target);
    EXPECT_EQ("[SETTING]\r\nx=5\r\ny=6\r\ns=7\r\n[kept]\r\n", Read("elsewhere/real.ini"));

    ASSERT_EQ(0, unlink("garvo.ini"));
    ASSERT_EQ(0, link("elsewhere/real.ini", "garvo.ini"));
    Save(-100, 600, 0);
    EXPECT_EQ("[SETTING]\r\nx=-100\r\ny=600\r\ns=0\r\n[kept]\r\n", Read("elsewhere/real.ini"));
}

// A link that another user could have planted, in a directory shared with a group or in one of
// theirs, is neither read nor written through, whatever the kernel's own rule for links.
TEST_F(SettingsFile, FollowsNoLinkOfAnotherUser)
{
    for (const char* shared : {"group", "theirs"}) {
        SCOPED_TRACE(shared);
        ASSERT_EQ(0, mkdir(shared, 02775));
        ASSERT_EQ(0, chmod(shared, 02775));
        if (shared[0] == 't') {
            ASSERT_EQ(0, chown(shared, 65534, 65534));
        }
        std::string victim = At(shared) + ".victim";
        Write(victim, "[SETTING]\nx=300\n");
        std::string link = std::string(shared) + "/garvo.ini";
        ASSERT_EQ(0, symlink(victim.c_str(), link.c_str()));
        ASSERT_EQ(0, lchown(link.c_str(), 65534, 65534));
        ASSERT_EQ(0, chdir(shared));
        ChooseSettingsFile();
        EXPECT_EQ(INT32_MIN, Load().x);
        Save(1, 2, 3);
        ASSERT_EQ(0, chdir(dir_));
        EXPECT_EQ("[SETTING]\nx=300\n", Read(victim));
    }
}

// A link of the user's own into a folder of dotfiles stays a link, even before its target exists.
TEST_F(SettingsFile, KeepsTheUsersLinkAndMakesItsTarget)
{
    ASSERT_EQ(0, mkdir("dotfiles", 0755));
    ASSERT_EQ(0, symlink("dotfiles/garvo.ini", "garvo.ini"));
    ChooseSettingsFile();
    EXPECT_EQ(INT32_MIN, Load().x);
    Save(5, 6, 7);
    struct stat entry;
    ASSERT_EQ(0, lstat("garvo.ini", &entry));
    EXPECT_TRUE(S_ISLNK(entry.st_mode));
    EXPECT_EQ("[SETTING]\r\nx=5\r\ny=6\r\ns=7\r\n", Read("dotfiles/garvo.ini"));
}

// Run as root with another user's HOME, as sudo -E does: nothing is made or written there.
TEST_F(SettingsFile, WritesNothingInAHomeOfAnotherUser)
{
    ASSERT_EQ(0, mkdir("home", 0755));
    ASSERT_EQ(0, chown("home", 65534, 65534));
    setenv("HOME", At("home").c_str(), 1);
    for (const char* made : {"", "home/.config/garvo"}) {
        SCOPED_TRACE(made);
        if (*made) {
            ASSERT_EQ(0, system("mkdir -p home/.config/garvo && chown -R 65534 home"));
        }
        EXPECT_EQ(At("home/.config/garvo/garvo.ini"), ChooseSettingsFile());
        std::string before = Tree();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(MaySaveSettings());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
        EXPECT_NE(std::string::npos, said.find(At("home"))) << said;
        Save(1, 2, 3);
        EXPECT_EQ(before, Tree());
    }
    // The user's own home is the user's to write.
    ASSERT_EQ(0, system("chown -R 0 home"));
    ChooseSettingsFile();
    EXPECT_TRUE(MaySaveSettings());
    Save(1, 2, 3);
    EXPECT_EQ("[SETTING]\r\nx=1\r\ny=2\r\ns=3\r\n", Read("home/.config/garvo/garvo.ini"));
}

TEST_F(SettingsFile, LeavesWhatItCannotWriteAsItWas)
{
    // Run in a child that an alarm ends: a FIFO must not block the load or the save.
    ASSERT_EQ(0, mkfifo("garvo.ini", 0644));
    pid_t child = fork();
    if (child == 0) {
        alarm(5);
        ChooseSettingsFile();
        bool defaults = Load().x == INT32_MIN;
        Save(1, 2, 3);
        _exit(defaults ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_EQ(0, unlink("garvo.ini"));

    // A device, which opens for writing: left a device, not replaced by a file.
    ASSERT_EQ(0, mknod("garvo.ini", S_IFCHR | 0644, makedev(1, 3)));
    Save(1, 2, 3);
    struct stat device;
    ASSERT_EQ(0, lstat("garvo.ini", &device));
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    ASSERT_EQ(0, unlink("garvo.ini"));

    // Larger than any settings file: the defaults, and nothing written, sparse or not.
    int fd = open("garvo.ini", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(0, ftruncate(fd, (1 << 20) + 1));
    ASSERT_EQ(0, pwrite(fd, "[SETTING]\nx=9\n", 14, 0) - 14);
    close(fd);
    std::string before = Tree();
    EXPECT_EQ(INT32_MIN, Load().x);
    Save(1, 2, 3);
    EXPECT_EQ(before, Tree());
}

// A full disk on a file system that cannot reserve room (ext2 has no fallocate): no new file can
// be written beside the old one, and the old one is left exactly as it was.
TEST_F(SettingsFile, AFullDiskLeavesTheFileWhole)
{
    if (geteuid() != 0 || system("command -v mkfs.ext2 >/dev/null") != 0)
        GTEST_SKIP() << "needs root and mkfs.ext2 to mount a file system of its own";
    ASSERT_EQ(0, system("truncate -s 1M disk.img && mkfs.ext2 -q -m 0 -b 1024 disk.img && "
                        "mkdir disk"));
    if (system("mount -o loop disk.img disk 2>/dev/null") != 0)
        GTEST_SKIP() << "no loop device to mount a file system on";
    // Just short of a block boundary, so that a longer text needs a block the disk lacks.
    std::string old = "[SETTING]\nx=1\ny=2\ns=3\n[other]\n";
    old += std::string(8190 - old.size() - 20, ';') + "\nkeep=this line\n";
    old.resize(8190, '\n');
    Write("disk/garvo.ini", old);
    // Filled to the last byte: large writes stop while small ones still fit.
    EXPECT_NE(0, system("for size in 65536 1024 1; do "
                        "dd if=/dev/zero of=disk/filler.$size bs=$size 2>/dev/null; done"));
    ASSERT_EQ(0, chdir("disk"));
    ChooseSettingsFile();
    Save(-2000000000, -2000000000, 100);
    std::string now = Read("garvo.ini");
    ASSERT_EQ(0, chdir(dir_));
    EXPECT_EQ(0, system("umount disk"));
    EXPECT_TRUE(now == old) << now.substr(0, 40) << "..." << now.substr(now.size() - 20);
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
        Save(i, i, i % 100);
    }
    kill(other, SIGKILL);
    waitpid(other, nullptr, 0);
    EXPECT_EQ(2, Entries()) << Tree();
    Write("garvo.ini", large);
    Save(7, 8, 9);
    EXPECT_EQ(large.substr(0, large.size() - 2) + "7\ny=8\ns=9\n", Read("garvo.ini"));
}

TEST_F(SettingsFile, BadFilesLoadInRangeAndSaveOnlyTheThreeKeys)
{
    ChooseSettingsFile();
    for (const std::string& file : BadSettingsFiles()) {
        SCOPED_TRACE(file.substr(0, 80));
        Write("garvo.ini", file);
        Settings loaded = Load();
        EXPECT_TRUE(loaded.x == INT32_MIN || (loaded.x >= 0 && loaded.x <= 897));
        EXPECT_TRUE(loaded.y >= 0 && loaded.y <= 761) << loaded.y;
        EXPECT_TRUE(loaded.s >= 0 && loaded.s <= 100) << loaded.s;
        Save(321, 123, 42);
        ExpectForeignLinesKept(file, Read("garvo.ini"));
        loaded = Load();
        EXPECT_EQ(321, loaded.x);
        EXPECT_EQ(123, loaded.y);
        EXPECT_EQ(42, loaded.s);
    }
}

} // namespace
