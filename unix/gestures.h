// What the pointer does to the gauge, the same on every display: hover shows the box, a drag
// moves a surface, a double-click on the bar sets the threshold, a right-click closes. The front
// ends' pointer reports are defined here.
#pragma once

#include "front_end.h"

#include <stdint.h>

// Whether the pointer is over one of the gauge's surfaces.
bool PointerOverGauge();
// Whether a surface follows the pointer.
bool Dragging();
// The drag ends where it stands, as when the surface it moved was made anew.
void CancelDrag();

// The platform's double-click: a second press of the left button on the same surface within
// 500 ms and 2 pixels of the first. A third press starts a new pair.
struct LastClick {
    int target; // the surface pressed, plus one; 0 once a pair is complete
    uint32_t time;
    double x, y;
};

// Whether this press makes a pair with the last one; it becomes the last one either way.
bool IsDoubleClick(LastClick& last, int target, uint32_t time, double x, double y);
