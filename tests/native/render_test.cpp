// The pictures every front end shows, read back from the canvas: the bar pixel for pixel at scale
// 1, its proportions and palette at other scales, and the box's outline and text.
#include "../../unix/render.h"
#include "../../unix/glyphs.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{

const uint32_t BLACK = 0x000000, WHITE = 0xffffff, BLUE = 0x0000ff, RED = 0xff0000;

uint32_t At(const Canvas& canvas, int x, int y)
{
    return canvas.pixels[y * canvas.width + x];
}

BarLayout Layout(uint32_t load, int32_t threshold)
{
    return ComputeBarLayout(MeterRect{0, 0, BAR_WIDTH, BAR_HEIGHT}, load, threshold);
}

TEST(Render, TheBarAtScaleOneIsTheLayoutPixelForPixel)
{
    for (auto [load, threshold] : {std::pair{0u, 0}, {63u, 75}, {75u, 75}, {100u, 100}, {3u, 50}}) {
        SCOPED_TRACE(std::to_string(load) + " " + std::to_string(threshold));
        BarLayout layout = Layout(load, threshold);
        Canvas bar = DrawBar(layout, 1);
        ASSERT_EQ(BAR_WIDTH, bar.width);
        ASSERT_EQ(BAR_HEIGHT, bar.height);
        uint32_t fill = load < uint32_t(threshold) ? BLUE : RED;
        for (int y = 0; y < BAR_HEIGHT; ++y) {
            for (int x = 0; x < BAR_WIDTH; ++x) {
                uint32_t want = WHITE;
                if (x >= 2 && x < layout.fill.right && y >= 2 && y < 4) want = fill;
                if (x == 0 || y == 0 || x == BAR_WIDTH - 1 || y == BAR_HEIGHT - 1) want = BLACK;
                if (x == layout.markerX) want = BLACK;
                ASSERT_EQ(want, At(bar, x, y)) << x << "," << y;
            }
        }
    }
}

// At any scale the gauge allows, whole or not: the sizes, lines round(scale) wide on every edge
// (the right one too, at the largest scales), fill and marker where the layout puts them scaled,
// and no colour outside the palette.
TEST(Render, TheBarAtOtherScalesKeepsItsProportionsAndPalette)
{
    for (double scale : {1.25, 1.5, 2.0, 3.0, 18.0, 19.0, 24.0}) {
        SCOPED_TRACE(scale);
        BarLayout layout = Layout(40, 80);
        Canvas bar = DrawBar(layout, scale);
        int line = int(scale + 0.5);
        ASSERT_EQ(int(126 * scale + 0.5), bar.width);
        ASSERT_EQ(int(6 * scale + 0.5), bar.height);
        std::set<uint32_t> colours;
        for (int y = 0; y < bar.height; ++y) {
            for (int x = 0; x < bar.width; ++x)
                colours.insert(At(bar, x, y));
            for (int x : {0, line - 1, bar.width - line, bar.width - 1})
                ASSERT_EQ(BLACK, At(bar, x, y)) << x << "," << y;
        }
        for (int x = line; x < bar.width - line; ++x) {
            ASSERT_EQ(BLACK, At(bar, x, 0)) << x;
            ASSERT_EQ(BLACK, At(bar, x, bar.height - 1)) << x;
        }
        EXPECT_EQ(WHITE, At(bar, line, line)) << "the interior starts one line in";
        EXPECT_EQ((std::set<uint32_t>{BLACK, WHITE, BLUE}), colours);
        // The fill ends, and the marker starts, where scale 1 puts them, scaled.
        int middle = bar.height / 2;
        int fillEnd = int(layout.fill.right * scale + 0.5);
        EXPECT_EQ(BLUE, At(bar, fillEnd - 1, middle));
        EXPECT_EQ(WHITE, At(bar, fillEnd, middle));
        int marker = int(layout.markerX * scale + 0.5);
        EXPECT_EQ(WHITE, At(bar, marker - 1, middle));
        for (int x = marker; x < marker + line; ++x)
            EXPECT_EQ(BLACK, At(bar, x, middle)) << x;
        EXPECT_EQ(WHITE, At(bar, marker + line, middle));
    }
}

// A device pixel belongs to the scale-1 pixel whose scaled span holds it, so that a double-click
// anywhere on a column gives what the same spot gives at scale 1.
TEST(Render, UnscaledIsScaledsInverse)
{
    for (double scale : {1.0, 1.25, 1.5, 2.0, 2.75, 24.0})
        for (int x = 0; x < BAR_WIDTH; ++x)
            for (int device = Scaled(x, scale); device < Scaled(x + 1, scale); ++device)
                ASSERT_EQ(x, Unscaled(device, scale)) << scale << " " << device;
}

struct Box {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1; // the dark pixels' extent
    bool frame = true;
};

Box Read(const Canvas& box, double scale)
{
    Box read;
    int line = int(scale + 0.5);
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            uint32_t pixel = At(box, x, y);
            bool edge = x < line || y < line || x >= box.width - line || y >= box.height - line;
            if (edge) {
                read.frame = read.frame && pixel == BLACK;
            } else if ((pixel & 0xff) < 0x60) {
                read.left = std::min(read.left, x);
                read.right = std::max(read.right, x + 1);
                read.top = std::min(read.top, y);
                read.bottom = std::max(read.bottom, y + 1);
            }
        }
    }
    return read;
}

TEST(Render, TheBoxHasItsTextDarkAndCentredInItsFrame)
{
    for (double scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        ASSERT_TRUE(PrepareGlyphs(scale)) << "no sans-serif font";
        Canvas box = DrawBox("63%use(w:75%)", scale);
        ASSERT_EQ(int(126 * scale + 0.5), box.width);
        ASSERT_EQ(int(24 * scale + 0.5), box.height);
        Box read = Read(box, scale);
        EXPECT_TRUE(read.frame);
        ASSERT_LT(read.left, read.right) << "no dark pixel inside the box";
        EXPECT_GT(read.right - read.left, box.width / 3) << "text too narrow";
        EXPECT_GT(read.bottom - read.top, box.height / 4) << "text too short";
        EXPECT_NEAR(box.width, read.left + read.right, 4 * scale);
        EXPECT_NEAR(box.height, read.top + read.bottom, 6 * scale);
    }
}

TEST(Render, WithoutAFontTheBoxIsItsFrame)
{
    UseFontFile("/dev/null", 0);
    EXPECT_FALSE(PrepareGlyphs(2));
    Box read = Read(DrawBox("63%use(w:75%)", 2), 2);
    EXPECT_TRUE(read.frame);
    EXPECT_EQ(-1, read.right) << "dark pixels inside a box with no font";
    UseFontFile(nullptr, 0);
}

} // namespace
