// The X11 gauge's scale from GDK_SCALE and Xft.dpi, on a 1024 x 768 screen (at most 8).
#include "../../x11/scale.h"

#include <gtest/gtest.h>

#include <string.h>

// The property's text as the server gives it: its bytes, with no NUL counted.
static double ScaleOf(const char* gdkScale, const char* resources, int width, int height)
{
    return ScaleFor(gdkScale, resources, resources ? int(strlen(resources)) : 0, width, height);
}

TEST(Scale, FromGdkScaleElseXftDpi)
{
    const struct {
        const char *gdkScale, *resources;
        double want;
    } rows[] = {
        {nullptr, nullptr, 1},
        {nullptr, "Xft.dpi:\t96\n", 1},
        {nullptr, "Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n", 2},
        {nullptr, "Xft.dpi: 144", 1.5},      // KDE's 150 %
        {nullptr, "Xft.dpi:\t143.9\n", 1.5}, // to the nearest quarter
        {nullptr, "Xft.dpi:\t120\n", 1.25},
        {nullptr, "Xft.dpi:\t131\n", 1.25},
        {nullptr, "Xft.dpi:\t132\n", 1.5},
        {nullptr, "Xft.dpi:\t84\n", 1}, // below 1: 1
        {nullptr, "Xft.dpi:\t288.0\n", 3},
        {nullptr, "Xft.dpi:\t40\n", 1},
        {nullptr, "*dpi:\t192\nXft.dpi2:\t192\n", 1},
        {nullptr, "Xft.dpi:\t0\n", 1},
        {nullptr, "Xft.dpi:\t-192\n", 1},
        {nullptr, "Xft.dpi:\tlarge\n", 1},
        {nullptr, "Xft.dpi:\t192dpi\n", 1},
        {nullptr, "Xft.dpi:\t96000\n", 1},       // absurd: 1000 times
        {nullptr, "Xft.dpi:\t99999999999\n", 1}, // more digits than a dpi has
        {"2", "Xft.dpi:\t96\n", 2},
        {"1", "Xft.dpi:\t192\n", 1},
        {"3", nullptr, 3},
        {"1000", nullptr, 8}, // capped: the bar still fits
        {"0", "Xft.dpi:\t192\n", 2},
        {"-2", nullptr, 1},
        {"two", nullptr, 1},
        {"2.5", nullptr, 1},
        {"", nullptr, 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.want, ScaleOf(row.gdkScale, row.resources, 1024, 768))
            << (row.gdkScale ? row.gdkScale : "(unset)") << " / "
            << (row.resources ? row.resources : "(none)");
    }
    EXPECT_EQ(1, ScaleOf("4", nullptr, 100, 100)); // a screen smaller than the bar
    EXPECT_EQ(4, ScaleOf(nullptr, "Xft.dpi:\t384\n", 3840, 2160));
    EXPECT_EQ(1, ScaleOf(nullptr, "Xft.dpi:\t204\n", 252, 768)); // 2.25 would not fit
    // Nothing past the property's end is read: the digit after it is no part of the value.
    EXPECT_EQ(2, ScaleFor(nullptr, "Xft.dpi:\t1920", 12, 1024, 768));
    EXPECT_EQ(1, ScaleFor(nullptr, "Xft.dpi:\t192", 7, 1024, 768));
}
