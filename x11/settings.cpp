// Reads the settings once before any window exists and writes them back when the run ends: the
// same garvo.ini as the Windows image's, edited in place of its three keys.
#include "gauge.h"
#include "meter_state.h"
#include "profile.h"

#include "../app/settings_rules.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

static const char NAME[] = "garvo.ini";
static const char SECTION[] = "SETTING";

// Where the file lives: the current directory when it has one, else the configuration directory
// that the base-directory rules name. Chosen once, at start.
static char directory[PATH_MAX];
static char path[PATH_MAX + sizeof NAME + 1];

// Larger than any settings file a person keeps; a larger one is not garvo's to rewrite.
const size_t MAX_FILE_SIZE = 1 << 20;
// The file as read and as rewritten, in static storage: nothing is allocated.
static char text[MAX_FILE_SIZE + 1];
static char edited[MAX_FILE_SIZE + 256];

struct SettingsFile {
    int directory, fd;
    struct stat entry;  // what the name itself is: the file, or a link to it
    struct stat status; // the file, as it was when read
    size_t size;
};

const char* ChooseSettingsFile()
{
    struct stat local;
    const char* config = getenv("XDG_CONFIG_HOME");
    const char* home = getenv("HOME");
    // Relative directories are not to be used, as the base-directory rules say.
    int length = -1;
    if (lstat(NAME, &local) == 0)
        length = -1;
    else if (config && config[0] == '/')
        length = snprintf(directory, sizeof directory, "%s/garvo", config);
    else if (home && home[0] == '/')
        length = snprintf(directory, sizeof directory, "%s/.config/garvo", home);
    if (length < 0 || size_t(length) + sizeof NAME >= sizeof directory) strcpy(directory, ".");
    snprintf(path, sizeof path, "%s/%s", directory, NAME);
    return path;
}

static bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The kernel's rule for links in shared sticky directories, applied here as well, since it can
// be switched off: a link there is followed only if its owner is the user or the directory's.
static bool MayFollow(int dir, const struct stat& link)
{
    struct stat holder;
    if (fstat(dir, &holder) != 0) return false;
    bool shared = (holder.st_mode & S_ISVTX) && (holder.st_mode & S_IWOTH);
    return !shared || link.st_uid == geteuid() || link.st_uid == holder.st_uid;
}

// Opens the file by its own name, so that the kernel resolves any link; never blocks on a FIFO and
// never takes a terminal. False with errno ENOENT when there is no file, and false for anything
// that is not a regular file or that changed while it was opened.
static bool OpenFile(SettingsFile& file, int access)
{
    if (fstatat(file.directory, NAME, &file.entry, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISLNK(file.entry.st_mode) && !MayFollow(file.directory, file.entry)) {
        errno = EACCES;
        return false;
    }
    file.fd = openat(file.directory, NAME, access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0) return false;
    struct stat now;
    bool same = fstat(file.fd, &file.status) == 0 &&
                fstatat(file.directory, NAME, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
                SameFile(now, file.entry) && (S_ISLNK(now.st_mode) || SameFile(now, file.status));
    if (same && S_ISREG(file.status.st_mode)) return true;
    close(file.fd);
    errno = EINVAL;
    return false;
}

static bool AsRead(const struct stat& now, const struct stat& read)
{
    return now.st_size == read.st_size && now.st_mtim.tv_sec == read.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == read.st_mtim.tv_nsec;
}

// The file as it stands when nothing else is writing it; false for one too large or that keeps
// changing. Read, not mapped: another program may truncate it meanwhile.
static bool ReadFile(SettingsFile& file)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        size_t size = 0;
        ssize_t got;
        while (size < sizeof text &&
               ((got = pread(file.fd, text + size, sizeof text - size, off_t(size))) > 0 ||
                (got < 0 && errno == EINTR)))
            size += got > 0 ? size_t(got) : 0;
        struct stat after;
        if (got < 0 || size > MAX_FILE_SIZE || fstat(file.fd, &after) != 0) return false;
        if (AsRead(after, file.status) && after.st_size == off_t(size)) {
            file.size = size;
            return true;
        }
        file.status = after;
    }
    return false;
}

static bool StillAsRead(const SettingsFile& file)
{
    struct stat now;
    return fstat(file.fd, &now) == 0 && AsRead(now, file.status);
}

static bool WriteAll(int fd, const char* bytes, size_t size)
{
    for (size_t done = 0; done < size;) {
        ssize_t written = pwrite(fd, bytes + done, size - done, off_t(done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += size_t(written);
    }
    return true;
}

struct Output {
    size_t size;
    bool full;
};

static void Append(void* context, const char* bytes, size_t size)
{
    Output& out = *static_cast<Output*>(context);
    out.full = out.full || size > sizeof edited - out.size;
    if (out.full) return;
    memcpy(edited + out.size, bytes, size);
    out.size += size;
}

// The safe route: the new text in a file of its own beside the old one, with the old one's owner
// and mode, put in its place in one step, so that a full disk or a crash leaves the old file whole.
static bool ReplaceFile(const SettingsFile& file, bool exists, size_t size)
{
    char temporary[sizeof NAME + 32];
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        snprintf(temporary, sizeof temporary, "%s.%d-%d", NAME, int(getpid()), attempt);
        // A new file's mode is the umask's; a replacement's is the old file's, set below.
        fd = openat(file.directory, temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, edited, size);
    if (exists)
        ok = ok && fchown(fd, file.status.st_uid, file.status.st_gid) == 0 &&
             fchmod(fd, file.status.st_mode & 07777) == 0;
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (ok && renameat(file.directory, temporary, file.directory, NAME) == 0) {
        fsync(file.directory);
        return true;
    }
    unlinkat(file.directory, temporary, 0);
    return false;
}

// Where no new file can take the old one's place, the file itself is rewritten, as the Windows
// profile functions do. Room for a longer text is taken first, so that a full disk leaves the file
// as it was.
static bool RewriteInPlace(const SettingsFile& file, size_t size)
{
    if (size > file.size && fallocate(file.fd, 0, 0, off_t(size)) != 0 && errno != EOPNOTSUPP)
        return false;
    return WriteAll(file.fd, edited, size) &&
           (size >= file.size || ftruncate(file.fd, off_t(size)) == 0) && fsync(file.fd) == 0;
}

// The rename would take from the file what it does not carry over: its other names, its access
// list, or the link through which it was reached.
static bool MayReplace(const SettingsFile& file)
{
    return !S_ISLNK(file.entry.st_mode) && file.status.st_nlink == 1 &&
           fgetxattr(file.fd, "system.posix_acl_access", nullptr, 0) <= 0;
}

// The text with the three keys set; false when nothing changes.
static bool Edit(const SettingsFile& file, const ProfileKey (&keys)[3], size_t& size)
{
    Output out = {0, false};
    bool changed = RewriteProfile(text, file.size, SECTION, keys, 3, ProfileSink{Append, &out});
    size = out.size;
    return changed && !out.full;
}

// Makes the configuration directory and any missing above it, each private to the user; when one
// cannot be made, removes those it made, so that nothing else on disk changes.
static bool MakeDirectory()
{
    if (strcmp(directory, ".") == 0) return false;
    char made[PATH_MAX];
    strcpy(made, directory);
    size_t ends[PATH_MAX / 2];
    int count = 0;
    bool ok = true;
    for (size_t at = 1; ok && at <= strlen(directory); ++at) {
        if (directory[at] != '/' && directory[at] != '\0') continue;
        made[at] = '\0';
        if (mkdir(made, 0700) == 0)
            ends[count++] = at;
        else
            ok = errno == EEXIST;
        made[at] = directory[at];
    }
    struct stat status;
    ok = ok && stat(directory, &status) == 0 && S_ISDIR(status.st_mode);
    while (!ok && count > 0) {
        made[ends[--count]] = '\0';
        rmdir(made);
    }
    return ok;
}

// One attempt at saving; false when the file changed after it was read, so that it is read again.
static bool SaveOnce(SettingsFile& file, const ProfileKey (&keys)[3])
{
    size_t size;
    if (!OpenFile(file, O_RDWR)) {
        file.size = 0;
        if (errno == ENOENT && Edit(file, keys, size)) ReplaceFile(file, false, size);
        return true;
    }
    bool done = true;
    // Only the user's own file: never one planted by another, nor one reached through theirs.
    if (file.status.st_uid == geteuid() && ReadFile(file) && Edit(file, keys, size)) {
        if (!StillAsRead(file))
            done = false;
        else if (!MayReplace(file) || !ReplaceFile(file, true, size))
            RewriteInPlace(file, size);
    }
    close(file.fd);
    return done;
}

void LoadSettings(const MeterRect* monitors, int count, int primary)
{
    int32_t x = UNSET_X, y = DEFAULT_Y, s = DEFAULT_WARN_PERCENT;
    SettingsFile file = {};
    file.directory = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file.directory >= 0 && OpenFile(file, O_RDONLY)) {
        if (ReadFile(file)) {
            x = ReadProfileInt(text, file.size, SECTION, "x", x);
            y = ReadProfileInt(text, file.size, SECTION, "y", y);
            s = ReadProfileInt(text, file.size, SECTION, "s", s);
        }
        close(file.fd);
    }
    if (file.directory >= 0) close(file.directory);

    int at = NearestMonitor(monitors, count, primary, x, y);
    MeterRect area = at >= 0 ? monitors[at] : MeterRect{0, 0, 0, 0};
    Settings clamped =
        ClampSettingsIn(x, y, s, area, BAR_WIDTH * meter.scale, BAR_HEIGHT * meter.scale);
    meter.barX = clamped.x;
    meter.barY = clamped.y;
    meter.warnPercent = clamped.s;
    // With no saved position the bar starts in the corner, as a pop-up does on Windows.
    meter.barLeft = clamped.x == UNSET_X ? area.left : clamped.x;
    meter.barTop = clamped.x == UNSET_X ? area.top : clamped.y;
}

void SaveSettings()
{
    char x[16], y[16], s[16];
    snprintf(x, sizeof x, "%d", int(meter.barX));
    snprintf(y, sizeof y, "%d", int(meter.barY));
    snprintf(s, sizeof s, "%d", int(meter.warnPercent));
    const ProfileKey keys[3] = {{"x", x}, {"y", y}, {"s", s}};

    SettingsFile file = {};
    file.directory = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file.directory < 0 && errno == ENOENT && MakeDirectory())
        file.directory = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file.directory < 0) return;
    for (int attempt = 0; attempt < 3 && !SaveOnce(file, keys); ++attempt) {
    }
    close(file.directory);
}
