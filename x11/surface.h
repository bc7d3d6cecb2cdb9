// One of the gauge's two X windows, the bar or the box, with the picture it shows.
#pragma once

#include "../unix/render.h"

#include <X11/Xlib.h>

namespace x11
{

struct Surface {
    Window window;
    // The picture, kept whole on the server: what an exposure shows again without garvo drawing.
    Pixmap image;
    int left, top;     // where it stands on the screen
    int width, height; // in device pixels
    bool shown;
};

extern Surface bar, box;

// An override-redirect window of that size at that place, and its picture, hidden until shown.
void CreateSurface(Surface& surface, int left, int top, int width, int height);
// Puts a new picture in place and on the screen, where the surface is shown.
void ShowCanvas(Surface& surface, const Canvas& canvas);
// Shows the kept picture again, as after an exposure.
void Repaint(const Surface& surface);
void MoveSurface(Surface& surface, int left, int top);
// Shows it above every other window, or hides it.
void ShowSurface(Surface& surface);
void HideSurface(Surface& surface);

} // namespace x11
