// Helpers the Windows tests share: a scratch directory, the live windows, pixels read back.
#pragma once

#include "../../platform/win32.h"

#include <string>

// Runs a test inside a fresh empty directory, made the current one, removed afterwards.
class ScratchDirectory
{
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    std::string Read(const char* name) const;
    void Write(const char* name, const std::string& content) const;

  private:
    char previous_[MAX_PATH];
    char path_[MAX_PATH];
};

// Handles every message waiting for this thread.
void PumpMessages();

// The bar window: the one window of the class that is not the info window.
HWND FindBar();

COLORREF PixelAt(HWND window, int x, int y);

// Where a window stands on the screen and how large it is: "left,top widthxheight".
std::string Placement(HWND window);

// Reads the bar back pixel by pixel: outline, white ring, fill, marker.
void ExpectBarShows(HWND bar, unsigned load, int threshold);

// The bounding box of the pixels that are not white inside a window's outline.
RECT InkBox(HWND window, int width, int height);

// Paints a window grey, so that only a real repaint brings its picture back.
void Scribble(HWND window);

// The two live windows of the meter, created as the program creates them, at a given position.
class LiveMeter
{
  public:
    explicit LiveMeter(int x = 100, int y = 300);
    ~LiveMeter();
    HWND bar;
    HWND info;
};

// Whether a message of that kind waits in the queue for the window; it is left there.
bool IsPosted(HWND window, UINT message);
