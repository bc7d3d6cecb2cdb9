// The bar and the box as pixels. Both are drawn into one canvas in static storage, which the front
// end copies out before the next picture is drawn.
#include "render.h"

#include "text.h"

#include <sys/mman.h>

const uint32_t BLACK = 0x000000, WHITE = 0xffffff;

// Room for the box at the largest scale, from a page's start, so that its pages can be given back
// whole.
alignas(4096) static uint32_t
    canvasPixels[BAR_WIDTH * INFO_HEIGHT * int(MAX_SCALE) * int(MAX_SCALE)];

void ReleasePicture(const Canvas& canvas)
{
    // From now on its pages read as zeros: the next picture is drawn on fresh ones.
    madvise(canvas.pixels, size_t(canvas.width) * size_t(canvas.height) * 4, MADV_DONTNEED);
}

int Scaled(int length, double scale)
{
    // Half away from zero; lengths and positions in a picture are never negative.
    return int(length * scale + 0.5);
}

int Unscaled(int device, double scale)
{
    int at = int(device / scale);
    while (at > 0 && Scaled(at, scale) > device)
        --at;
    while (Scaled(at + 1, scale) <= device)
        ++at;
    return at;
}

// 0x00BBGGRR, as the layout gives a colour, to 0x00RRGGBB.
static uint32_t Rgb(MeterColour colour)
{
    return (colour & 0xff) << 16 | (colour & 0xff00) | (colour >> 16 & 0xff);
}

static void Fill(Canvas& canvas, uint32_t pixel, int left, int top, int right, int bottom)
{
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > canvas.width) right = canvas.width;
    if (bottom > canvas.height) bottom = canvas.height;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            canvas.pixels[y * canvas.width + x] = pixel;
}

// A white interior in a black outline one Windows pixel wide, as the Windows image's Rectangle
// draws; returns the outline's width.
static int DrawFrame(Canvas& canvas, int width, int height, double scale)
{
    canvas = {canvasPixels, Scaled(width, scale), Scaled(height, scale)};
    int line = Scaled(1, scale);
    Fill(canvas, BLACK, 0, 0, canvas.width, canvas.height);
    Fill(canvas, WHITE, line, line, canvas.width - line, canvas.height - line);
    return line;
}

Canvas DrawBar(const BarLayout& layout, double scale)
{
    Canvas canvas;
    int line = DrawFrame(canvas, BAR_WIDTH, BAR_HEIGHT, scale);
    // Rounding may bring the fill's edge onto the outline, which stays whole.
    const MeterRect& fill = layout.fill;
    int left = Scaled(fill.left, scale), right = Scaled(fill.right, scale);
    int top = Scaled(fill.top, scale), bottom = Scaled(fill.bottom, scale);
    if (left < line) left = line;
    if (top < line) top = line;
    if (right > canvas.width - line) right = canvas.width - line;
    if (bottom > canvas.height - line) bottom = canvas.height - line;
    Fill(canvas, Rgb(layout.fillColour), left, top, right, bottom);
    int marker = Scaled(layout.markerX, scale);
    Fill(canvas, BLACK, marker, 0, marker + line, canvas.height);
    return canvas;
}

Canvas DrawBox(const char* text, double scale)
{
    Canvas canvas;
    DrawFrame(canvas, INFO_WIDTH, INFO_HEIGHT, scale);
    DrawText(canvas, text, scale);
    return canvas;
}
