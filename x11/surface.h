// One of the gauge's two X windows, the bar or the box, with the picture it shows.
#pragma once

#include "../unix/front_end.h"

#include <X11/Xlib.h>

namespace x11
{

struct Surface {
    Window window;
    // The picture, kept whole on the server: what an exposure shows again without garvo drawing.
    Pixmap image;
    MeterRect at; // where it stands on the screen
    bool shown;
};

extern Surface bar, box;

Surface& SurfaceOf(SurfaceId surface);
// An override-redirect window of that place and size, and its picture, hidden until shown.
void CreateSurface(Surface& surface, const MeterRect& at);
// Moves it there; a new size takes a new picture, which the gauge then gives it.
void PlaceSurface(Surface& surface, const MeterRect& at);
// Puts a new picture in place and on the screen, where the surface is shown; the box's window
// takes its words as its name.
void ShowCanvas(Surface& surface, const Canvas& canvas, const char* words);
// Shows the kept picture again, as after an exposure.
void Repaint(const Surface& surface);
// Shows it above every other window, or hides it.
void ShowSurface(Surface& surface);
void HideSurface(Surface& surface);

} // namespace x11
