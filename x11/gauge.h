// The X11 gauge's functions: windows, painting, the hover box, settings and the event loop.
#pragma once

#include "../meter/meter.h"

#include <stdint.h>

const int MAX_MONITORS = 16;

// How much larger than the Windows image's the gauge draws, from GDK_SCALE or Xft.dpi.
void ReadScale();
// The RandR monitors, else the screen as one; primary is the index of the primary one, or -1.
int ReadMonitors(MeterRect (&monitors)[MAX_MONITORS], int& primary);
// Opens the hidden hover box and the bar, shows the bar and arms the refresh timer.
void CreateMeterWindows();
// Copies a window's picture to the screen, magnified to the gauge's scale.
void ShowBarImage();
void ShowInfoImage();

// Opens /proc/meminfo, where every refresh of the bar samples the load.
void OpenMemorySource();
// Samples the memory load; draws the bar again if its picture has changed.
void RefreshBar();
// A one-pixel black outline around a white interior.
void DrawFrame(unsigned long target, int width, int height);
// Sets the hover text, shows the box above the bar if it is hidden, and restarts the hover timer.
void ShowInfo();
// Hides the box once the pointer is over neither window.
void CheckHover();

// Goes back above an ordinary window that has come over garvo's, at most once a refresh period.
void KeepOnTop();
// Another program's window was moved or restacked, and now lies just above `below`; or it is gone.
void OnOtherRestacked(unsigned long window, unsigned long below);
void OnOtherGone(unsigned long window);

// The settings file this run uses: "./garvo.ini" when there is one, else the configuration
// directory's. Touches nothing.
const char* ChooseSettingsFile();
void LoadSettings(const MeterRect* monitors, int count, int primary);
void SaveSettings();

// SIGTERM, SIGINT and SIGHUP end the run the way a logout does, once the loop sees them.
void CatchEndingSignals();
// Handles events and timer ticks until a window is closed or an ending signal arrives.
void RunEventLoop();
void RecordBarPosition();
int64_t NowMs();
