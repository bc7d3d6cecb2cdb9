// The box's text in the desktop's sans-serif font, found through fontconfig and drawn with
// FreeType, sharp at every scale.
#pragma once

struct Canvas;

// Finds the desktop's sans-serif font once and opens it; fontconfig's own data is let go at once.
// False when there is none that FreeType can open: the box then shows its frame alone.
bool OpenTextFont();
// Opens this font file instead; false when FreeType cannot.
bool UseFontFile(const char* file, int index);
// Draws the text centred in the canvas, dark on its white, at the font size the scale gives.
void DrawText(Canvas& canvas, const char* text, double scale);
