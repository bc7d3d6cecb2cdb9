// The bar and the info box as painted on the screen, read back pixel by pixel.
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../ui/ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const COLORREF BLACK = RGB(0, 0, 0), WHITE = RGB(255, 255, 255);
const COLORREF BLUE = RGB(0, 0, 255), RED = RGB(255, 0, 0);

// The bar's columns for a load or threshold: where the fill ends (exclusive), where the marker
// stands.
int ColumnFor(int percent) {
    switch (percent) {
    case 0: return 2;
    case 1: return 3;
    case 50: return 63;
    case 75: return 93;
    case 99: return 122;
    case 100: return 124;
    }
    return 2 + 122 * percent / 100;
}

// What the bar must show: outline, white ring, fill on rows 2 and 3, marker over everything.
COLORREF ExpectedBarPixel(int x, int y, unsigned load, int threshold) {
    if (x == 0 || x == 125 || y == 0 || y == 5) return BLACK;
    if (x == ColumnFor(threshold)) return BLACK;
    if ((y == 2 || y == 3) && x >= 2 && x < ColumnFor(int(load)))
        return int(load) < threshold ? BLUE : RED;
    return WHITE;
}

std::string DescribeBar(HWND bar, int row) {
    std::string line;
    for (int x = 0; x < 126; ++x) {
        COLORREF c = PixelAt(bar, x, row);
        line += c == BLACK ? 'k' : c == WHITE ? '.' : c == BLUE ? 'b' : c == RED ? 'r' : '?';
    }
    return line;
}

void ExpectBarShows(HWND bar, unsigned load, int threshold) {
    for (int y = 0; y < 6; ++y) {
        std::string want;
        for (int x = 0; x < 126; ++x) {
            COLORREF c = ExpectedBarPixel(x, y, load, threshold);
            want += c == BLACK ? 'k' : c == WHITE ? '.' : c == BLUE ? 'b' : 'r';
        }
        EXPECT_EQ(want, DescribeBar(bar, y))
            << "row " << y << ", load " << load << ", threshold " << threshold;
    }
}

TEST(BarPaint, DrawsEveryLoadOfTheTableAtSeveralThresholds) {
    LiveMeter live;
    RECT client;
    GetClientRect(live.bar, &client);
    MeterRect meterClient = {client.left, client.top, client.right, client.bottom};
    for (unsigned load : {0u, 1u, 50u, 75u, 99u, 100u}) {
        for (int threshold : {0, 1, 50, 75, 99, 100}) {
            HDC dc = GetDC(live.bar);
            DrawBar(dc, ComputeBarLayout(meterClient, load, threshold));
            ReleaseDC(live.bar, dc);
            ExpectBarShows(live.bar, load, threshold);
        }
    }
}

// The real sample: at the load itself the fill is red, one above it blue.
TEST(BarPaint, RefreshTickDrawsTheSampledLoad) {
    LiveMeter live;
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    for (int above : {0, 1}) {
        int threshold = int(meter.loadPercent) + above;
        meter.warnPercent = threshold;
        SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
        ExpectBarShows(live.bar, meter.loadPercent, threshold);
    }
}

TEST(BarPaint, PaintMessageDrawsTheSameAsTheTick) {
    LiveMeter live;
    meter.warnPercent = 30;
    // Scribble over the bar so that only a real repaint restores it.
    HDC dc = GetDC(live.bar);
    RECT all = {0, 0, 126, 6};
    FillRect(dc, &all, HBRUSH(GetStockObject(GRAY_BRUSH)));
    ReleaseDC(live.bar, dc);
    InvalidateRect(live.bar, NULL, FALSE);
    UpdateWindow(live.bar);
    ExpectBarShows(live.bar, meter.loadPercent, 30);
}

// The bounding box of the dark pixels inside a window's outline.
RECT InkBox(HWND window, int width, int height) {
    RECT box = {width, height, -1, -1};
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) {
            if (PixelAt(window, x, y) == WHITE) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

TEST(InfoPaint, OutlineWhiteInteriorAndCentredText) {
    LiveMeter live(100, 300);
    SendMessageA(live.bar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(150, 302));
    ASSERT_TRUE(IsWindowVisible(live.info));

    for (int x = 0; x < 126; ++x) {
        EXPECT_EQ(BLACK, PixelAt(live.info, x, 0)) << x;
        EXPECT_EQ(BLACK, PixelAt(live.info, x, 23)) << x;
    }
    for (int y = 0; y < 24; ++y) {
        EXPECT_EQ(BLACK, PixelAt(live.info, 0, y)) << y;
        EXPECT_EQ(BLACK, PixelAt(live.info, 125, y)) << y;
    }

    RECT ink = InkBox(live.info, 126, 24);
    ASSERT_LT(ink.left, ink.right) << "no text drawn";
    // Centred both ways, to within the rounding of the font's cell.
    EXPECT_NEAR(126 - ink.right, ink.left, 3);
    EXPECT_NEAR(24 - ink.bottom, ink.top, 4);
    EXPECT_GT(ink.right - ink.left, 40); // a dozen characters, not one
    EXPECT_GE(ink.left, 2);              // the text keeps clear of the outline
    EXPECT_LE(ink.right, 124);
}

TEST(InfoPaint, TextWidthFollowsTheStoredText) {
    LiveMeter live(100, 300);
    SendMessageA(live.bar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(150, 302));
    RECT longer = InkBox(live.info, 126, 24);
    SetWindowTextA(live.info, "1%");
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    RECT shorter = InkBox(live.info, 126, 24);
    EXPECT_LT(shorter.right - shorter.left, longer.right - longer.left);
}

} // namespace
