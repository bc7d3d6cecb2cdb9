// One libFuzzer target for each reader of what comes from outside the gauge, chosen by
// GARVO_FUZZ: the settings file, /proc/meminfo, the X resources' Xft.dpi, and the X server's
// setup, monitors and window tree. Each must take any bytes: a crash, a read out of bounds or
// undefined behaviour is the sanitizers' to find; what each returns is held to its range here.
#include "../../unix/meminfo.h"
#include "../../unix/profile.h"
#include "../../meter/meter.h"
#include "../../unix/settings_file.h"
#include "../../x11/replies.h"
#include "../../x11/scale.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void Check(bool holds, const char* what)
{
    if (holds) return;
    fprintf(stderr, "fuzz: %s\n", what);
    abort();
}

static void Discard(void*, const char*, size_t) {}

static void SettingsFile(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    Settings read = ParseSettings(text, size);
    Check(read.s >= 0 && read.s <= 100, "a threshold out of range");
    const ProfileKey keys[3] = {{"x", "-2147483648"}, {"y", "0"}, {"s", "100"}};
    RewriteProfile(text, size, "SETTING", keys, 3, {Discard, nullptr});
}

static void Meminfo(const uint8_t* data, size_t size)
{
    Check(MemoryLoadFromMeminfo(reinterpret_cast<const char*>(data), size) <= 100,
          "a load over 100 %");
}

// A GetProperty reply for the resource manager, as XCB holds it: no more than its length says.
static void Resources(const uint8_t* data, size_t size)
{
    const char* text;
    if (size >= 32 && ReplyLength(data) < size) size = ReplyLength(data);
    int length = ReadText(data, size, 31, text);
    Check(length >= 0 && size_t(length) <= size, "text past the reply");
    double scale = ScaleFor(nullptr, text, length, 1024, 768);
    Check(scale >= 1 && scale <= 8, "a scale that does not fit the screen");
}

// The setup, and a row of the widest picture in the format it gives, into the buffer the front
// end converts rows into.
static void Setup(const uint8_t* data, size_t size)
{
    Screen screen;
    char why[200];
    if (size < 8 || !ReadSetup(data, size, 0, screen, why, sizeof why)) return;
    static uint32_t row[BAR_WIDTH * 24]; // at the largest scale
    static uint8_t converted[64 * 1024];
    const int width = sizeof row / sizeof row[0];
    Check(RowBytes(screen.format, width) <= int(sizeof converted), "a row longer than the buffer");
    ConvertRow(screen.format, row, width, converted);
}

static void Monitors(const uint8_t* data, size_t size)
{
    MonitorList list;
    ReadMonitorsReply(data, size, list);
    Check(list.count >= 0 && list.count <= MAX_MONITORS && list.primary < list.count,
          "a monitor list out of range");
}

static void Tree(const uint8_t* data, size_t size)
{
    int count = CountChildren(data, size);
    Check(count == 0 || size_t(count) <= (size - 32) / 4, "children past the reply");
    volatile uint32_t child;
    for (int i = 0; i < count; ++i)
        child = ChildAt(data, i);
    (void)child;
}

static const struct {
    const char* name;
    void (*run)(const uint8_t*, size_t);
} targets[] = {{"settings", SettingsFile}, {"meminfo", Meminfo},   {"resources", Resources},
               {"setup", Setup},           {"monitors", Monitors}, {"tree", Tree}};
static void (*chosen)(const uint8_t*, size_t);

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* name = getenv("GARVO_FUZZ");
    for (const auto& target : targets)
        if (name && strcmp(name, target.name) == 0) chosen = target.run;
    if (chosen) return 0;
    fprintf(stderr, "fuzz: GARVO_FUZZ names none of settings, meminfo, resources, setup, "
                    "monitors, tree\n");
    exit(2);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    chosen(data, size);
    return 0;
}
