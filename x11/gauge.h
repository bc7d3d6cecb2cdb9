// The X11 gauge's functions: windows, painting, the hover box, settings and the event loop.
#pragma once

#include <stdint.h>

// Opens the hidden hover box and the bar, shows the bar and arms the refresh timer.
void CreateMeterWindows();
// The primary monitor's size where RandR names one, else the screen's.
void ScreenSize(int& width, int& height);

// Opens /proc/meminfo, where every paint of the bar samples the load.
void OpenMemorySource();
// Samples the memory load and draws frame, fill and threshold marker.
void PaintBar();
// A one-pixel black outline around a white interior.
void DrawFrame(unsigned long target, int width, int height);
// Sets the hover text, shows the box above the bar if it is hidden, and restarts the hover timer.
void ShowInfo();
void PaintInfo();
// Hides the box once the pointer is over neither window.
void CheckHover();

void LoadSettings(int screenWidth, int screenHeight);
void SaveSettings();

// SIGTERM, SIGINT and SIGHUP end the run the way a logout does, once the loop sees them.
void CatchEndingSignals();
// Handles events and timer ticks until a window is closed or an ending signal arrives.
void RunEventLoop();
void RecordBarPosition();
int64_t NowMs();
