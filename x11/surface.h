// One of the gauge's two X windows, the bar or the box, with the picture it shows.
#pragma once

#include "../unix/front_end.h"

#include "xcb_library.h"

namespace x11
{

struct Surface {
    xcb_window_t window;
    // The picture, kept whole on the server: what an exposure shows again without garvo drawing.
    xcb_pixmap_t image;
    MeterRect at; // where it stands on the screen
    bool shown;
    // The request that last moved it: a ConfigureNotify from before it tells an old place.
    uint32_t lastMove;
};

extern Surface bar, box;

Surface& SurfaceOf(SurfaceId surface);
// An override-redirect window of that place and size, and its picture, hidden until shown.
void CreateSurface(Surface& surface, const MeterRect& at);
// Moves it there; a new size takes a new picture, which the gauge then gives it.
void PlaceSurface(Surface& surface, const MeterRect& at);
// Puts its window back at the size the gauge gave it, after another program changed that.
void KeepSize(Surface& surface);
// Puts a new picture in place and on the screen, where the surface is shown; the box's window
// takes its words as its name.
void ShowCanvas(Surface& surface, const Canvas& canvas, const char* words);
// Shows the kept picture again, as after an exposure.
void Repaint(const Surface& surface);
// Shows it above every other window, or hides it.
void ShowSurface(Surface& surface);
void HideSurface(Surface& surface);
// Stacks it just above that window.
void StackAbove(const Surface& surface, xcb_window_t sibling);

} // namespace x11
