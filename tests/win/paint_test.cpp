// The bar and the info box as painted on the screen, read back pixel by pixel.
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../ui/ui.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const COLORREF BLACK = RGB(0, 0, 0), WHITE = RGB(255, 255, 255);

TEST(BarPaint, DrawsEveryLoadOfTheTableAtSeveralThresholds)
{
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
TEST(BarPaint, RefreshTickDrawsTheSampledLoad)
{
    LiveMeter live;
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    for (int above : {0, 1}) {
        int threshold = int(meter.loadPercent) + above;
        meter.warnPercent = threshold;
        SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
        ExpectBarShows(live.bar, meter.loadPercent, threshold);
    }
}

TEST(BarPaint, PaintMessageDrawsTheSameAsTheTick)
{
    LiveMeter live;
    meter.warnPercent = 30;
    // Scribble over the bar so that only a real repaint restores it.
    Scribble(live.bar);
    InvalidateRect(live.bar, NULL, FALSE);
    UpdateWindow(live.bar);
    ExpectBarShows(live.bar, meter.loadPercent, 30);
}

TEST(InfoPaint, OutlineWhiteInteriorAndCentredText)
{
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

TEST(InfoPaint, TextWidthFollowsTheStoredText)
{
    LiveMeter live(100, 300);
    SendMessageA(live.bar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(150, 302));
    RECT longer = InkBox(live.info, 126, 24);
    SetWindowTextA(live.info, "1%");
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    RECT shorter = InkBox(live.info, 126, 24);
    EXPECT_LT(shorter.right - shorter.left, longer.right - longer.left);
}

} // namespace
