// The settings file "./garvo.ini": bar position and warning threshold between runs.
#pragma once

void LoadSettings();
void SaveSettings();
