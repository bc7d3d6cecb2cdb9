// Colours to a visual's pixels: each 8-bit channel spread over its mask's bits, so that 0 and
// 255 stay black and full at any width.
#include "pixels.h"

static uint32_t Channel(uint32_t value, uint32_t mask)
{
    if (!mask) return 0;
    int shift = __builtin_ctz(mask);
    uint32_t top = mask >> shift; // all ones: 31 for five bits, 1023 for ten
    return (value * top + 127) / 255 << shift;
}

static uint32_t PixelOf(const PixelFormat& format, uint32_t rgb)
{
    return Channel(rgb >> 16 & 0xff, format.red) | Channel(rgb >> 8 & 0xff, format.green) |
           Channel(rgb & 0xff, format.blue);
}

bool IsNative(const PixelFormat& format)
{
    const bool hostMsbFirst = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
    return format.bitsPerPixel == 32 && format.msbFirst == hostMsbFirst && format.red == 0xff0000 &&
           format.green == 0xff00 && format.blue == 0xff;
}

int RowBytes(const PixelFormat& format, int width)
{
    int pad = format.scanlinePad > 0 ? format.scanlinePad : 32;
    return (width * format.bitsPerPixel + pad - 1) / pad * pad / 8;
}

void ConvertRow(const PixelFormat& format, const uint32_t* rgb, int width, uint8_t* out)
{
    int bytes = format.bitsPerPixel / 8;
    for (int x = 0; x < width; ++x, out += bytes) {
        uint32_t pixel = PixelOf(format, rgb[x]);
        for (int i = 0; i < bytes; ++i)
            out[format.msbFirst ? bytes - 1 - i : i] = uint8_t(pixel >> 8 * i);
    }
}
