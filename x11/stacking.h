// Staying above other programs' windows without fighting those that keep themselves on top.
#pragma once

#include <stdint.h>
#include "xcb_library.h"

namespace x11
{

// Goes back above an ordinary window that has come over the gauge, at most twice a second.
void KeepOnTop();
// When a raise held back is due, or -1 for none; it is made once that time has come.
int64_t RaiseDue();
void RaiseIfDue(int64_t now);
// Another program's window was moved or restacked, and now lies just above `below`; or it is gone.
void OnOtherRestacked(xcb_window_t window, xcb_window_t below);
void OnOtherGone(xcb_window_t window);

} // namespace x11
