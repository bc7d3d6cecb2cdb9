// How much larger than its Windows pixels the native gauge draws, as the desktop asks: the
// platform-free part, tested natively.
#pragma once

// GDK_SCALE when it is a positive whole number, capped so that the bar and its box fit on the
// screen; else Xft.dpi from the resource manager's text over 96, rounded, when that fits; else 1.
int ScaleFor(const char* gdkScale, const char* resources, int screenWidth, int screenHeight);
