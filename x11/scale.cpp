// The scale from GDK_SCALE or the resource manager's Xft.dpi.
#include "scale.h"

#include "../meter/meter.h"

#include <string.h>

static bool IsDigit(const char* at, const char* end)
{
    return at < end && *at >= '0' && *at <= '9';
}

// A whole number of at most six digits at the start of the text, and where it ends; -1 for none.
static int ReadNumber(const char*& text, const char* end)
{
    int value = 0, digits = 0;
    for (; IsDigit(text, end); ++text)
        if (++digits <= 6) value = value * 10 + (*text - '0');
    return digits == 0 || digits > 6 ? -1 : value;
}

// Xft.dpi in tenths, from the first line that sets it: "Xft.dpi:\t192" or "Xft.dpi: 144.5"; -1 when
// it is absent or not a number. The text is the property's bytes, with no NUL at its end.
static int DpiTenths(const char* resources, int length)
{
    static const char NAME[] = "Xft.dpi:";
    const int NAME_LENGTH = sizeof NAME - 1;
    const char* line = resources;
    const char* end = resources ? resources + length : resources;
    while (end - line < NAME_LENGTH || memcmp(line, NAME, NAME_LENGTH) != 0) {
        line = line ? static_cast<const char*>(memchr(line, '\n', size_t(end - line))) : nullptr;
        if (!line) return -1;
        ++line;
    }
    const char* at = line + NAME_LENGTH;
    while (at < end && (*at == ' ' || *at == '\t'))
        ++at;
    int whole = ReadNumber(at, end);
    if (whole < 0) return -1;
    int tenths = whole * 10;
    if (at < end && *at == '.' && IsDigit(at + 1, end)) {
        tenths += at[1] - '0';
        for (at += 2; IsDigit(at, end); ++at) {
        }
    }
    return at == end || *at == '\0' || *at == '\n' || *at == ' ' || *at == '\t' ? tenths : -1;
}

double ScaleFor(const char* gdkScale, const char* resources, int length, int screenWidth,
                int screenHeight)
{
    // In quarters: the bar one pixel inside the screen, and its box above it.
    int fits = (screenWidth - 1) * 4 / BAR_WIDTH;
    int tall = (screenHeight - 1) * 4 / (BAR_HEIGHT + INFO_HEIGHT);
    if (tall < fits) fits = tall;

    const char* at = gdkScale;
    const char* end = at ? at + strlen(at) : at;
    int asked = at ? ReadNumber(at, end) : -1;
    if (asked > 0 && *at == '\0') {
        int whole = fits / 4 < 1 ? 1 : fits / 4;
        return asked < whole ? asked : whole;
    }

    int tenths = DpiTenths(resources, length);
    int quarters = (tenths + 120) / 240; // to the nearest quarter of 96
    return tenths > 0 && quarters >= 4 && quarters <= fits ? quarters / 4.0 : 1;
}
