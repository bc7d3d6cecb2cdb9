// The gauge's two pictures, the bar and the hover box, drawn into 32-bit pixels (0x00RRGGBB) at
// any scale: drawn once here for every display front end, which only shows them.
#pragma once

#include "../meter/meter.h"

#include <stdint.h>

// The largest scale drawn: a bar of 3,024 pixels, wider than any screen it would fit on.
const double MAX_SCALE = 24;

// Rows of `width` pixels, one after another.
struct Canvas {
    uint32_t* pixels;
    int width, height;
};

// A length or position of the Windows image's pixels in device pixels at this scale, rounded.
int Scaled(int length, double scale);
// The Windows image's pixel that a device pixel belongs to: Scaled's inverse.
int Unscaled(int device, double scale);

// The bar: a black outline round(scale) pixels wide around a white interior, the fill in blue or
// red and the threshold marker, where the layout puts them at scale 1, scaled. No other colour.
Canvas DrawBar(const BarLayout& layout, double scale);
// Gives the picture's memory back to the system once the display holds the picture: between two
// pictures the gauge keeps none of its own.
void ReleasePicture(const Canvas& canvas);
// The box: the same outline and interior, with the text centred in dark sans-serif letters when a
// font was found, at a size that follows the scale.
Canvas DrawBox(const char* text, double scale);
