// The protocol's layouts, by offset: every count is held against the bytes that are there before
// anything it counts is read.
#include "replies.h"

#include <stdio.h>
#include <string.h>

// XCB speaks the machine's own byte order, and its buffers need not be aligned for these reads.
static uint32_t Word(const uint8_t* at)
{
    uint32_t value;
    memcpy(&value, at, sizeof value);
    return value;
}

static uint16_t Half(const uint8_t* at)
{
    uint16_t value;
    memcpy(&value, at, sizeof value);
    return value;
}

size_t ReplyLength(const void* reply)
{
    return 32 + size_t(Word(static_cast<const uint8_t*>(reply) + 4)) * 4;
}

size_t SetupLength(const void* setup)
{
    return 8 + size_t(Half(static_cast<const uint8_t*>(setup) + 6)) * 4;
}

// The setup's fixed part, then its vendor's name, its pixmap formats and its screens; a screen is
// its fixed part and its depths, each depth its fixed part and its visuals.
const size_t SETUP_SIZE = 40, FORMAT_SIZE = 8, SCREEN_SIZE = 40, DEPTH_SIZE = 8, VISUAL_SIZE = 24;
const uint8_t TRUE_COLOR = 4;

static bool CanDraw(int bits, int pad, int depth)
{
    bool bitsOk = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return bitsOk && bits >= depth && (pad == 8 || pad == 16 || pad == 32);
}

// The end of a screen's description at `at`, or 0 where it runs past `end`; its TrueColor visual
// into `out` when it is asked for.
static size_t WalkScreen(const uint8_t* bytes, size_t at, size_t end, Screen* out)
{
    if (end - at < SCREEN_SIZE) return 0;
    const uint8_t* screen = bytes + at;
    uint32_t rootVisual = Word(screen + 32);
    int depths = screen[39];
    at += SCREEN_SIZE;
    for (int d = 0; d < depths; ++d) {
        if (end - at < DEPTH_SIZE) return 0;
        uint8_t depth = bytes[at];
        size_t visuals = Half(bytes + at + 2);
        at += DEPTH_SIZE;
        if ((end - at) / VISUAL_SIZE < visuals) return 0;
        for (size_t v = 0; v < visuals && out; ++v) {
            const uint8_t* visual = bytes + at + v * VISUAL_SIZE;
            uint32_t id = Word(visual);
            if (visual[4] != TRUE_COLOR || (out->visual && id != rootVisual)) continue;
            out->visual = id;
            out->rootVisual = id == rootVisual;
            out->depth = depth;
            out->format.red = Word(visual + 8);
            out->format.green = Word(visual + 12);
            out->format.blue = Word(visual + 16);
        }
        at += visuals * VISUAL_SIZE;
    }
    if (out) {
        out->root = Word(screen);
        out->width = Half(screen + 20);
        out->height = Half(screen + 22);
    }
    return at;
}

bool ReadSetup(const uint8_t* bytes, size_t length, int number, Screen& out, char* why, size_t size)
{
    out = {};
    if (length < SETUP_SIZE || SetupLength(bytes) > length) {
        snprintf(why, size, "the X display's setup is cut short");
        return false;
    }
    length = SetupLength(bytes);
    size_t vendor = Half(bytes + 24);
    int screens = bytes[28], formats = bytes[29];
    size_t at = SETUP_SIZE + (vendor + 3) / 4 * 4;
    size_t firstFormat = at;
    at += size_t(formats) * FORMAT_SIZE;
    // Each screen before the one wanted is walked past; a count past the end is the setup's lie.
    const char* problem = at > length || screens == 0 ? "is cut short" : nullptr;
    if (number >= screens) number = screens - 1;
    for (int i = 0; !problem && i <= number; ++i) {
        at = WalkScreen(bytes, at, length, i == number ? &out : nullptr);
        if (!at) problem = "is cut short";
    }
    if (!problem && !out.visual) problem = "has no TrueColor visual to draw in";
    if (problem) {
        snprintf(why, size, "the X display %s", problem);
        return false;
    }
    out.format.bitsPerPixel = 32;
    out.format.scanlinePad = 32;
    out.format.msbFirst = bytes[30] == 1;
    for (int f = 0; f < formats; ++f) {
        const uint8_t* format = bytes + firstFormat + size_t(f) * FORMAT_SIZE;
        if (format[0] != out.depth) continue;
        out.format.bitsPerPixel = format[1];
        out.format.scanlinePad = format[2];
    }
    if (CanDraw(out.format.bitsPerPixel, out.format.scanlinePad, out.depth)) return true;
    snprintf(why, size,
             "the X display stores depth %d in %d bits a pixel, rows padded to %d bits: not a "
             "format garvo can draw in",
             out.depth, out.format.bitsPerPixel, out.format.scanlinePad);
    return false;
}

void ReadMonitorsReply(const uint8_t* bytes, size_t length, MonitorList& out)
{
    const size_t HEADER = 32, MONITOR_SIZE = 24;
    out.count = 0;
    out.primary = -1;
    if (length < HEADER) return;
    uint32_t claimed = Word(bytes + 12);
    size_t at = HEADER;
    for (uint32_t i = 0; i < claimed && length - at >= MONITOR_SIZE; ++i) {
        const uint8_t* monitor = bytes + at;
        size_t outputs = Half(monitor + 6);
        if ((length - at - MONITOR_SIZE) / 4 < outputs) return;
        at += MONITOR_SIZE + outputs * 4;
        int32_t x = int16_t(Half(monitor + 8)), y = int16_t(Half(monitor + 10));
        int32_t width = Half(monitor + 12), height = Half(monitor + 14);
        if (width == 0 || height == 0 || out.count == MAX_MONITORS) continue;
        if (monitor[4]) out.primary = out.count;
        out.rects[out.count++] = {x, y, x + width, y + height};
    }
}

int CountChildren(const uint8_t* bytes, size_t length)
{
    if (length < 32) return 0;
    size_t claimed = Half(bytes + 16), held = (length - 32) / 4;
    return int(claimed < held ? claimed : held);
}

uint32_t ChildAt(const uint8_t* bytes, int index)
{
    return Word(bytes + 32 + size_t(index) * 4);
}

int ReadText(const uint8_t* bytes, size_t length, uint32_t type, const char*& text)
{
    text = "";
    if (length < 32 || bytes[1] != 8 || Word(bytes + 8) != type) return 0;
    size_t claimed = Word(bytes + 16), held = length - 32;
    if (claimed > held) claimed = held;
    text = reinterpret_cast<const char*>(bytes + 32);
    return int(claimed);
}
