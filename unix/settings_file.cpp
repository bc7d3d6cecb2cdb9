// Reads the settings once before any window exists and writes them back when the run ends: the
// same garvo.ini as the Windows image's, edited in place of its three keys.
#include "settings_file.h"

#include "diagnostic.h"
#include "profile.h"

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

namespace
{

struct FileAt {
    int directory, fd;
    struct stat entry;  // what the name itself is: the file, or a link to it
    struct stat status; // the file, as it was when read
    size_t size;
};

} // namespace

// Cleared when the chosen directory lies in a home of another user.
static bool maySave = true;

// The directory "base/garvo" or "base/.config/garvo" when the base is absolute, as the
// base-directory rules ask, and the path fits.
static bool UseDirectory(const char* base, const char* under)
{
    if (!base || base[0] != '/') return false;
    int length = snprintf(directory, sizeof directory, "%s%s/garvo", base, under);
    return length > 0 && size_t(length) + sizeof NAME < sizeof directory;
}

const char* ChooseSettingsFile()
{
    struct stat local;
    if (lstat(NAME, &local) == 0 ||
        (!UseDirectory(getenv("XDG_CONFIG_HOME"), "") && !UseDirectory(getenv("HOME"), "/.config")))
        strcpy(directory, ".");
    snprintf(path, sizeof path, "%s/%s", directory, NAME);
    maySave = true;
    return path;
}

bool MaySaveSettings()
{
    if (strcmp(directory, ".") == 0) return maySave;
    // The nearest directory that already exists is where anything new would be made.
    char existing[PATH_MAX];
    strcpy(existing, directory);
    struct stat status;
    while (stat(existing, &status) != 0) {
        char* slash = strrchr(existing, '/');
        if (!slash || slash == existing) return maySave;
        *slash = '\0';
    }
    if (status.st_uid != geteuid() && status.st_uid != 0 && maySave) {
        Diagnostic("%s belongs to another user: the settings will not be saved", existing);
        maySave = false;
    }
    return maySave;
}

// Writes a number in decimal and returns where it ends: printf is no function for a signal
// handler.
static char* FormatNumber(char* at, int64_t value)
{
    char digits[24];
    int count = 0;
    uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) *at++ = '-';
    while (count)
        *at++ = digits[--count];
    return at;
}

static bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A link is followed only when the user or root made it: one that another user could plant, in a
// shared directory or one of theirs, would lead the save into any file of the user's.
static bool MayFollow(const struct stat& link)
{
    return link.st_uid == geteuid() || link.st_uid == 0;
}

// Opens the file by its own name, so that the kernel resolves any link; never blocks on a FIFO and
// never takes a terminal. With `create`, a link of the user's that leads nowhere yet gets its
// target made, so that the link stays. False with errno ENOENT when there is no file, and false
// for anything that is not a regular file or that changed while it was opened.
static bool OpenFile(FileAt& file, int access, bool create)
{
    if (fstatat(file.directory, NAME, &file.entry, AT_SYMLINK_NOFOLLOW) != 0) return false;
    bool link = S_ISLNK(file.entry.st_mode);
    if (link && !MayFollow(file.entry)) {
        errno = EACCES;
        return false;
    }
    file.fd = openat(file.directory, NAME, access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0 && errno == ENOENT && link && create)
        file.fd = openat(file.directory, NAME, access | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                         0666);
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
static bool ReadFile(FileAt& file)
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

static bool StillAsRead(const FileAt& file)
{
    struct stat now;
    return fstat(file.fd, &now) == 0 && AsRead(now, file.status);
}

static bool WriteAll(int fd, const char* bytes, size_t size, off_t at)
{
    for (size_t done = 0; done < size;) {
        ssize_t written = pwrite(fd, bytes + done, size - done, at + off_t(done));
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
static bool ReplaceFile(const FileAt& file, bool exists, size_t size)
{
    char temporary[sizeof NAME + 32];
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        // "garvo.ini.<pid>-<attempt>"
        char* at = temporary + sizeof NAME - 1;
        memcpy(temporary, NAME, sizeof NAME - 1);
        *at++ = '.';
        at = FormatNumber(at, getpid());
        *at++ = '-';
        *FormatNumber(at, attempt) = '\0';
        // A new file's mode is the umask's; a replacement's is the old file's, set below.
        fd = openat(file.directory, temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, edited, size, 0);
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
// profile functions do. What a longer text puts beyond the old end is written first: once that
// has room on the disk, the rest only overwrites what the file already holds. Without room, the
// file is cut back to its old end, as it was.
static bool RewriteInPlace(const FileAt& file, size_t size)
{
    if (size > file.size &&
        !WriteAll(file.fd, edited + file.size, size - file.size, off_t(file.size))) {
        if (ftruncate(file.fd, off_t(file.size)) == 0) fsync(file.fd);
        return false;
    }
    size_t old = size < file.size ? size : file.size;
    return WriteAll(file.fd, edited, old, 0) &&
           (size >= file.size || ftruncate(file.fd, off_t(size)) == 0) && fsync(file.fd) == 0;
}

// The rename would take from the file what it does not carry over: its other names, its access
// list, or the link through which it was reached.
static bool MayReplace(const FileAt& file)
{
    return !S_ISLNK(file.entry.st_mode) && file.status.st_nlink == 1 &&
           fgetxattr(file.fd, "system.posix_acl_access", nullptr, 0) <= 0;
}

// The text with the three keys set; false when nothing changes.
static bool Edit(const FileAt& file, const ProfileKey (&keys)[3], size_t& size)
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
static bool SaveOnce(FileAt& file, const ProfileKey (&keys)[3])
{
    size_t size;
    if (!OpenFile(file, O_RDWR, true)) {
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

Settings ParseSettings(const char* bytes, size_t size)
{
    Settings saved = {UNSET_X, DEFAULT_Y, DEFAULT_WARN_PERCENT};
    saved.x = ReadProfileInt(bytes, size, SECTION, "x", saved.x);
    saved.y = ReadProfileInt(bytes, size, SECTION, "y", saved.y);
    saved.s = ReadProfileInt(bytes, size, SECTION, "s", saved.s);
    saved.s = saved.s < 0 ? 0 : saved.s > 100 ? 100 : saved.s;
    return saved;
}

Settings ReadSettings()
{
    FileAt file = {};
    bool ok = false;
    file.directory = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file.directory >= 0 && OpenFile(file, O_RDONLY, false)) {
        ok = ReadFile(file);
        close(file.fd);
    }
    if (file.directory >= 0) close(file.directory);
    return ParseSettings(text, ok ? file.size : 0);
}

void SaveSettings(const Settings& values)
{
    if (!maySave) return;
    char x[16], y[16], s[16];
    *FormatNumber(x, values.x) = '\0';
    *FormatNumber(y, values.y) = '\0';
    *FormatNumber(s, values.s) = '\0';
    const ProfileKey keys[3] = {{"x", x}, {"y", y}, {"s", s}};

    FileAt file = {};
    file.directory = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file.directory < 0 && errno == ENOENT && MakeDirectory())
        file.directory = open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file.directory < 0) return;
    for (int attempt = 0; attempt < 3 && !SaveOnce(file, keys); ++attempt) {
    }
    close(file.directory);
}
