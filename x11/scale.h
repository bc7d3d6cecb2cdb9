// How much larger than its Windows pixels the X11 gauge draws, as the desktop asks: the part
// that needs no display, tested natively.
#pragma once

// GDK_SCALE when it is a positive whole number, capped so that the bar and its box fit on the
// screen; else Xft.dpi from the resource manager's text (`length` bytes, as the property holds
// them) over 96, to the nearest quarter (144 gives 1.5), when that is at least 1 and fits; else 1.
double ScaleFor(const char* gdkScale, const char* resources, int length, int screenWidth,
                int screenHeight);
