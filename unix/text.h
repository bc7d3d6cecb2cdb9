// The box's text, drawn from the prepared glyphs.
#pragma once

struct Canvas;

// Draws the text centred in the canvas, dark on its white, when the glyphs are prepared at that
// scale; else the canvas is left as it is.
void DrawText(Canvas& canvas, const char* text, double scale);
