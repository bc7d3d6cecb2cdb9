// Staying above other programs' windows without fighting those that keep themselves on top.
#pragma once

#include <X11/Xlib.h>

namespace x11
{

// Goes back above an ordinary window that has come over the gauge, at most once a refresh tick.
void KeepOnTop();
// A refresh tick: a raise held back since the last one is made now.
void OnStackingTick();
// Another program's window was moved or restacked, and now lies just above `below`; or it is gone.
void OnOtherRestacked(Window window, Window below);
void OnOtherGone(Window window);

} // namespace x11
