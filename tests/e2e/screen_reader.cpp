// Reads a screenshot for the Wayland tests, where no window can be asked where it stands: finds
// the gauge's frames, and tells which text a box shows by drawing each candidate with the same
// renderer and comparing it pixel for pixel.
//   screen_reader frames WIDTH HEIGHT LINE < screen.ppm   "x y" of each frame of that size
//   screen_reader bar WIDTH HEIGHT LINE < screen.ppm      "x y" of the bar by its light interior,
//                                                          on any background, where a compositor
//                                                          may have scaled it and blurred its edge
//   screen_reader text X Y < screen.ppm                    the text of the box at X, Y (scale 1)
#include "../../unix/render.h"
#include "../../unix/glyphs.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned char screen[4096 * 4096 * 3];
static int width, height;

static bool ReadPpm()
{
    int max = 0;
    if (scanf("P6 %d %d %d", &width, &height, &max) != 3 || max != 255 || width <= 0 ||
        height <= 0 || size_t(width) * height * 3 > sizeof screen || getchar() == EOF)
        return false;
    return fread(screen, 3, size_t(width) * height, stdin) == size_t(width) * height;
}

static uint32_t At(int x, int y)
{
    if (x < 0 || y < 0 || x >= width || y >= height) return 0x1000000;
    const unsigned char* p = screen + (size_t(y) * width + x) * 3;
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

// A black outline `line` pixels wide around a white corner of the interior.
static bool FrameAt(int x, int y, int w, int h, int line)
{
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < line; ++j)
            if (At(x + i, y + j) || At(x + i, y + h - 1 - j)) return false;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < line; ++i)
            if (At(x + i, y + j) || At(x + w - 1 - i, y + j)) return false;
    return At(x + line, y + line) == 0xffffff && At(x + w - 1 - line, y + line) == 0xffffff;
}

static int Frames(int w, int h, int line)
{
    for (int y = 0; y + h <= height; ++y)
        for (int x = 0; x + w <= width; ++x)
            if (FrameAt(x, y, w, h, line)) printf("%d %d\n", x, y);
    return 0;
}

static bool Light(int x, int y)
{
    uint32_t pixel = At(x, y);
    return pixel < 0x1000000 && (pixel >> 16 & 255) > 192 && (pixel >> 8 & 255) > 192 &&
           (pixel & 255) > 192;
}

static bool Dark(int x, int y)
{
    uint32_t pixel = At(x, y);
    return pixel >= 0x1000000 ||
           ((pixel >> 16 & 255) < 64 && (pixel >> 8 & 255) < 64 && (pixel & 255) < 64);
}

// A light run of the interior, its gap row reaching past the middle (to the threshold's marker)
// and its light column as tall as the interior, which the box's is not; then the interior's
// corner, inside the dark outline, past any of the fill.
static int Bar(int w, int h, int line)
{
    for (int y = 1; y < height; ++y)
        for (int x = 1; x < width; ++x) {
            if (!Light(x, y) || Light(x - 1, y) || Light(x, y - 1)) continue;
            int across = 0, down = 0;
            while (Light(x + across, y))
                ++across;
            while (Light(x, y + down))
                ++down;
            if (across < w / 2 - 2 || down < h - 2 * line - 1 || down > h - 2 * line + 1) continue;
            int left = x, top = y;
            while (!Dark(left - 1, y))
                --left;
            while (!Dark(x, top - 1))
                --top;
            printf("%d %d\n", left - line, top - line);
            return 0;
        }
    return 1;
}

static bool Shows(int x, int y, const char* text)
{
    Canvas box = DrawBox(text, 1);
    for (int j = 0; j < box.height; ++j)
        for (int i = 0; i < box.width; ++i)
            if (At(x + i, y + j) != box.pixels[j * box.width + i]) return false;
    return true;
}

static int Text(int x, int y)
{
    if (!PrepareGlyphs(1)) return 1;
    char text[TEXT_SIZE];
    for (uint32_t load = 0; load <= 100; ++load) {
        for (int32_t threshold = 0; threshold <= 100; ++threshold) {
            FormatInfoText(load, threshold, text);
            if (Shows(x, y, text)) {
                printf("%s\n", text);
                return 0;
            }
        }
    }
    return 1;
}

int main(int argc, char** argv)
{
    if (!ReadPpm()) return 2;
    if (argc == 5 && strcmp(argv[1], "frames") == 0)
        return Frames(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]));
    if (argc == 5 && strcmp(argv[1], "bar") == 0)
        return Bar(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]));
    if (argc == 4 && strcmp(argv[1], "text") == 0) return Text(atoi(argv[2]), atoi(argv[3]));
    fprintf(stderr, "usage: screen_reader frames|bar WIDTH HEIGHT LINE | text X Y  < screen.ppm\n");
    return 2;
}
