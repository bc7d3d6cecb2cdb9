// The settings file: which one this run uses, its three values read once at start, and written
// back at the end with every other byte kept, never through another user's link, never torn.
#pragma once

#include "../app/settings_rules.h"

#include <stddef.h>

// "./garvo.ini" when there is one, the file garvo.exe uses; else the configuration directory's,
// by the base-directory rules. Touches nothing; the path stays valid for the run.
const char* ChooseSettingsFile();
// Whether this run may write where the chosen file lives: not in a home of another user, as
// root with that user's HOME would. Says so in one line on standard error when it may not, and
// from then on saving writes nothing.
bool MaySaveSettings();
// The saved values as they are, or the defaults for those missing, with the threshold kept within
// 0-100: where the bar may stand depends on the monitors, which the gauge places it on.
Settings ReadSettings();
// The same from the file's bytes, whatever they hold.
Settings ParseSettings(const char* bytes, size_t size);
// Writes x, y and s into the file, making it and its directory if need be. Makes no call that a
// signal handler may not make, so that the ending signals' grace period can save too.
void SaveSettings(const Settings& values);
