// The platform's double-click, the same on every display: a second press of the left button on
// the same window within 500 ms and 2 pixels of the first. A third press starts a new pair.
#pragma once

#include <stdint.h>
#include <stdlib.h>

struct LastClick {
    uintptr_t target; // the window or surface pressed, or 0 once a pair is complete
    uint32_t time;    // the display server's milliseconds, which wrap
    double x, y;
};

// Whether this press makes a pair with the last one; it becomes the last one either way.
inline bool IsDoubleClick(LastClick& last, uintptr_t target, uint32_t time, double x, double y)
{
    bool isDouble = target == last.target && time - last.time <= 500 && abs(int(x - last.x)) <= 2 &&
                    abs(int(y - last.y)) <= 2;
    last = {isDouble ? 0 : target, time, x, y};
    return isDouble;
}
