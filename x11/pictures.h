// What the bar and the box show, and when the box is shown.
#pragma once

namespace x11
{

// Samples the memory load; the bar gets a new picture if its picture has changed.
void RefreshBar();
// The box's text from the latest sample; shows the box above the bar if it is hidden, and
// restarts the hover timer.
void ShowInfo();
// Hides the box once the pointer is over neither window.
void CheckHover();

} // namespace x11
