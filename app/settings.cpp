// Reads the settings once before any window exists and writes them back when the run ends.
#include "settings.h"

#include "meter_state.h"
#include "settings_rules.h"

static const char SETTINGS_FILE[] = "./garvo.ini";
static const char SECTION[] = "SETTING";

static_assert(UNSET_X == INT32(CW_USEDEFAULT), "an unset x is the platform's CW_USEDEFAULT");

static INT32 ReadKey(const char* key, INT32 fallback)
{
    return INT32(GetPrivateProfileIntA(SECTION, key, fallback, SETTINGS_FILE));
}

static void WriteKey(const char* key, INT32 value)
{
    char text[16];
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(SECTION, key, text, SETTINGS_FILE);
}

void LoadSettings()
{
    INT32 x = ReadKey("x", UNSET_X);
    INT32 y = ReadKey("y", DEFAULT_Y);
    INT32 s = ReadKey("s", DEFAULT_WARN_PERCENT);
    Settings clamped =
        ClampSettings(x, y, s, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    meter.barX = clamped.x;
    meter.barY = clamped.y;
    meter.warnPercent = clamped.s;
}

void SaveSettings()
{
    WriteKey("x", meter.barX);
    WriteKey("y", meter.barY);
    WriteKey("s", meter.warnPercent);
}
