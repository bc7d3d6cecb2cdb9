// The canvas's 0x00RRGGBB words as a TrueColor visual lays out its pixels: any masks (16, 24 and
// 30 bits of colour among them), 8 to 32 bits a pixel, either byte order. Needs no display.
#pragma once

#include <stdint.h>

struct PixelFormat {
    uint32_t red, green, blue; // the visual's masks
    int bitsPerPixel;          // 8, 16, 24 or 32, as the server stores that depth
    int scanlinePad;           // the bits each row is padded to
    bool msbFirst;             // the server's image byte order
};

// Whether the canvas's own words are already the server's pixels, so that they go as they are.
bool IsNative(const PixelFormat& format);
// The bytes a row of `width` pixels takes, padding included.
int RowBytes(const PixelFormat& format, int width);
// One row of the canvas in the server's pixels.
void ConvertRow(const PixelFormat& format, const uint32_t* rgb, int width, uint8_t* out);
