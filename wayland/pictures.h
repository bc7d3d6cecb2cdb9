// What the bar and the box show on Wayland, and when the box is shown.
#pragma once

namespace wayland
{

struct Surface;

// Samples the memory load; the bar's picture is to change if its layout has.
void RefreshBar();
// The box's text from the latest sample; opens the box above the bar if it is closed, and
// restarts the hover timer.
void ShowInfo();
// Closes the box once the pointer is over neither surface.
void CheckHover(const Surface* under);
// Shows the pictures that changed on the surfaces that may show them.
void PaintSurfaces();

} // namespace wayland
