// The scale from GDK_SCALE or the resource manager's Xft.dpi.
#include "scale.h"

#include "../meter/meter.h"

#include <string.h>

// A whole number of at most six digits at the start of the text, and where it ends; -1 for none.
static int ReadNumber(const char*& text)
{
    int value = 0, digits = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (++digits <= 6) value = value * 10 + (*text - '0');
    return digits == 0 || digits > 6 ? -1 : value;
}

// Xft.dpi in tenths, from the first line that sets it: "Xft.dpi:\t192" or "Xft.dpi: 144.5"; -1 when
// it is absent or not a number.
static int DpiTenths(const char* resources)
{
    static const char NAME[] = "Xft.dpi:";
    const char* line = resources ? resources : "";
    while (strncmp(line, NAME, sizeof NAME - 1) != 0) {
        line = strchr(line, '\n');
        if (!line) return -1;
        ++line;
    }
    const char* at = line + sizeof NAME - 1;
    while (*at == ' ' || *at == '\t')
        ++at;
    int whole = ReadNumber(at);
    if (whole < 0) return -1;
    int tenths = whole * 10;
    if (*at == '.' && at[1] >= '0' && at[1] <= '9') {
        tenths += at[1] - '0';
        for (at += 2; *at >= '0' && *at <= '9'; ++at) {
        }
    }
    return *at == '\0' || *at == '\n' || *at == ' ' || *at == '\t' ? tenths : -1;
}

double ScaleFor(const char* gdkScale, const char* resources, int screenWidth, int screenHeight)
{
    // In quarters: the bar one pixel inside the screen, and its box above it.
    int fits = (screenWidth - 1) * 4 / BAR_WIDTH;
    int tall = (screenHeight - 1) * 4 / (BAR_HEIGHT + INFO_HEIGHT);
    if (tall < fits) fits = tall;

    const char* at = gdkScale;
    int asked = at ? ReadNumber(at) : -1;
    if (asked > 0 && *at == '\0') {
        int whole = fits / 4 < 1 ? 1 : fits / 4;
        return asked < whole ? asked : whole;
    }

    int tenths = DpiTenths(resources);
    int quarters = (tenths + 120) / 240; // to the nearest quarter of 96
    return tenths > 0 && quarters >= 4 && quarters <= fits ? quarters / 4.0 : 1;
}
