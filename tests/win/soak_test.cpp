// Weeks of running compressed: hundreds of thousands of ticks and tens of thousands of hover
// cycles, after which the drawing must still work. A brush or device context leaked per tick
// fills the GDI handle table long before the end, and the pixels come back wrong.
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../ui/ui.h"

#include <gtest/gtest.h>

namespace
{

TEST(Soak, TwoHundredThousandRefreshTicks)
{
    LiveMeter live;
    for (int tick = 0; tick < 200000; ++tick)
        SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    Scribble(live.bar);
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    ExpectBarShows(live.bar, meter.loadPercent, meter.warnPercent);
}

TEST(Soak, TwentyThousandShowHideCyclesOfTheInfoWindow)
{
    LiveMeter live(100, 300);
    SetCursorPos(700, 600); // over neither window, so every hover tick hides the box
    for (int cycle = 0; cycle < 20000; ++cycle) {
        SendMessageA(live.bar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(110 + cycle % 100, 302));
        SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0); // redraws the shown box too
        SendMessageA(live.bar, WM_TIMER, TIMER_HOVER, 0);
        ASSERT_FALSE(IsWindowVisible(live.info)) << "cycle " << cycle;
    }
    PumpMessages();

    SendMessageA(live.bar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(150, 302));
    ASSERT_TRUE(IsWindowVisible(live.info));
    Scribble(live.info);
    Scribble(live.bar);
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    ExpectBarShows(live.bar, meter.loadPercent, meter.warnPercent);
    for (int x = 0; x < 126; ++x) {
        ASSERT_EQ(RGB(0, 0, 0), PixelAt(live.info, x, 0)) << x;
        ASSERT_EQ(RGB(0, 0, 0), PixelAt(live.info, x, 23)) << x;
    }
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(live.info, 3, 3));
    RECT ink = InkBox(live.info, 126, 24);
    EXPECT_GT(ink.right - ink.left, 40) << "no text drawn";
}

} // namespace
