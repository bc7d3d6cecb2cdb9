// Reads the settings once before any window exists and writes them back when the run ends: the
// same "./garvo.ini" as the Windows image's, edited in place of its three keys.
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
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static const char SETTINGS_FILE[] = "./garvo.ini";
static const char SECTION[] = "SETTING";

// A regular file's bytes, mapped for reading; none for a file that is absent or empty.
struct MappedFile {
    bool exists;
    struct stat status;
    const char* text;
    size_t size;
};

static bool MapFile(const char* path, MappedFile& file)
{
    file = MappedFile();
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    bool usable = fstat(fd, &file.status) == 0 && S_ISREG(file.status.st_mode);
    if (usable && file.status.st_size > 0) {
        file.size = size_t(file.status.st_size);
        void* bytes = mmap(nullptr, file.size, PROT_READ, MAP_PRIVATE, fd, 0);
        usable = bytes != MAP_FAILED;
        file.text = usable ? static_cast<const char*>(bytes) : nullptr;
    }
    close(fd);
    file.exists = usable;
    return usable;
}

static void UnmapFile(MappedFile& file)
{
    if (file.text) munmap(const_cast<char*>(file.text), file.size);
    file = MappedFile();
}

void LoadSettings(int screenWidth, int screenHeight)
{
    int32_t x = UNSET_X, y = DEFAULT_Y, s = DEFAULT_WARN_PERCENT;
    MappedFile file;
    if (MapFile(SETTINGS_FILE, file) && file.text) {
        x = ReadProfileInt(file.text, file.size, SECTION, "x", x);
        y = ReadProfileInt(file.text, file.size, SECTION, "y", y);
        s = ReadProfileInt(file.text, file.size, SECTION, "s", s);
    }
    UnmapFile(file);
    Settings clamped = ClampSettings(x, y, s, screenWidth, screenHeight);
    meter.barX = clamped.x;
    meter.barY = clamped.y;
    meter.warnPercent = clamped.s;
}

// Buffered writes to a file; remembers whether any of them failed.
struct FileSink {
    int fd;
    bool failed;
    size_t used;
    char buffer[4096];
};

static void Flush(FileSink& sink)
{
    for (size_t done = 0; done < sink.used && !sink.failed;) {
        ssize_t written = write(sink.fd, sink.buffer + done, sink.used - done);
        if (written < 0 && errno == EINTR) continue;
        sink.failed = written <= 0;
        if (written > 0) done += size_t(written);
    }
    sink.used = 0;
}

static void WriteToFile(void* context, const char* bytes, size_t size)
{
    FileSink& sink = *static_cast<FileSink*>(context);
    while (size > 0) {
        if (sink.used == sizeof sink.buffer) Flush(sink);
        size_t part = size < sizeof sink.buffer - sink.used ? size : sizeof sink.buffer - sink.used;
        memcpy(sink.buffer + sink.used, bytes, part);
        sink.used += part;
        bytes += part;
        size -= part;
    }
}

static void Discard(void*, const char*, size_t) {}

// Writes the new text beside the file and puts it in the file's place in one step, so that a
// full disk or a crash leaves the old file whole. A file that cannot be written is left alone.
static void ReplaceFile(const char* path, const MappedFile& old, const ProfileKey* keys, int count)
{
    if (old.exists && access(path, W_OK) != 0) return;
    char temporary[PATH_MAX];
    if (snprintf(temporary, sizeof temporary, "%s.XXXXXX", path) >= int(sizeof temporary)) return;
    FileSink sink;
    sink.fd = mkstemp(temporary);
    if (sink.fd < 0) return;
    sink.failed = false;
    sink.used = 0;
    RewriteProfile(old.text, old.size, SECTION, keys, count, ProfileSink{WriteToFile, &sink});
    Flush(sink);
    mode_t mask = umask(0);
    umask(mask);
    mode_t mode = old.exists ? old.status.st_mode & 07777 : 0666 & ~mask;
    // The new file takes the old one's owner and mode, or is not put in its place.
    bool ok = !sink.failed && fchmod(sink.fd, mode) == 0 && fsync(sink.fd) == 0;
    if (old.exists) ok = ok && fchown(sink.fd, old.status.st_uid, old.status.st_gid) == 0;
    ok = close(sink.fd) == 0 && ok;
    if (!ok || rename(temporary, path) != 0) unlink(temporary);
}

void SaveSettings()
{
    char x[16], y[16], s[16];
    snprintf(x, sizeof x, "%d", int(meter.barX));
    snprintf(y, sizeof y, "%d", int(meter.barY));
    snprintf(s, sizeof s, "%d", int(meter.warnPercent));
    const ProfileKey keys[] = {{"x", x}, {"y", y}, {"s", s}};

    // A link is followed, so that the file it names is the one rewritten.
    char path[PATH_MAX];
    if (!realpath(SETTINGS_FILE, path)) {
        if (errno != ENOENT) return;
        snprintf(path, sizeof path, "%s", SETTINGS_FILE);
    }
    MappedFile old;
    if (!MapFile(path, old)) return;
    if (RewriteProfile(old.text, old.size, SECTION, keys, 3, ProfileSink{Discard, nullptr}))
        ReplaceFile(path, old, keys, 3);
    UnmapFile(old);
}
