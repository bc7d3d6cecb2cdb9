// The hover box's state table: shown by movement or double-click over the bar, placed once,
// its text changed only then, hidden by the first hover tick that finds the cursor elsewhere.
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../meter/meter.h"
#include "../../ui/ui.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string InfoText()
{
    char text[128] = "";
    GetWindowTextA(meter.infoWindow, text, sizeof text);
    return text;
}

std::string ExpectedText()
{
    return std::to_string(meter.loadPercent) + "%use(w:" + std::to_string(meter.warnPercent) + "%)";
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

void MoveOver(HWND bar)
{
    RECT rect = WindowRect(bar);
    SendMessageA(bar, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(rect.left + 10, rect.top + 2));
}

void MoveBar(HWND bar, int x, int y)
{
    SetWindowPos(bar, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(InfoWindow, MovementOverTheBarShowsTheBoxAboveIt)
{
    LiveMeter live(100, 300);
    MoveOver(live.bar);
    EXPECT_TRUE(IsWindowVisible(live.info));
    EXPECT_TRUE(meter.infoShown);
    EXPECT_EQ(ExpectedText(), InfoText());
    EXPECT_EQ("100,276 126x24", Placement(live.info));
    EXPECT_TRUE(KillTimer(live.bar, TIMER_HOVER));
}

TEST(InfoWindow, MovementOverTheInfoWindowShowsNothing)
{
    LiveMeter live(100, 300);
    SendMessageA(live.info, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(100, 300));
    EXPECT_FALSE(IsWindowVisible(live.info));
    EXPECT_FALSE(KillTimer(live.bar, TIMER_HOVER));
}

TEST(InfoWindow, DoubleClickShowsTheNewThresholdAtOnce)
{
    LiveMeter live(100, 300);
    SendMessageA(live.bar, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(163, 302));
    EXPECT_TRUE(IsWindowVisible(live.info));
    EXPECT_EQ(50, meter.warnPercent);
    EXPECT_EQ(ExpectedText(), InfoText());
    EXPECT_TRUE(KillTimer(live.bar, TIMER_HOVER));
}

TEST(InfoWindow, AShownBoxStaysPutWhenTheBarMoves)
{
    LiveMeter live(100, 300);
    MoveOver(live.bar);
    MoveBar(live.bar, 400, 500);
    meter.warnPercent = 10;
    MoveOver(live.bar);
    EXPECT_EQ("100,276 126x24", Placement(live.info));
    EXPECT_EQ(ExpectedText(), InfoText());         // the text follows every movement
    EXPECT_TRUE(KillTimer(live.bar, TIMER_HOVER)); // restarted, still armed
}

TEST(InfoWindow, ShowingAgainAfterHidingPlacesItAtTheBarsNewPlace)
{
    LiveMeter live(100, 300);
    MoveOver(live.bar);
    SetCursorPos(600, 600);
    SendMessageA(live.bar, WM_TIMER, TIMER_HOVER, 0);
    ASSERT_FALSE(IsWindowVisible(live.info));
    MoveBar(live.bar, 400, 500);
    MoveOver(live.bar);
    EXPECT_EQ("400,476 126x24", Placement(live.info));
}

TEST(InfoWindow, NearTheScreensTopTheBoxIsNotMovedOntoTheScreen)
{
    for (int top : {0, 10, 23}) {
        LiveMeter live(100, top);
        MoveOver(live.bar);
        EXPECT_EQ("100," + std::to_string(top - 24) + " 126x24", Placement(live.info));
    }
}

TEST(InfoWindow, HoverTickHidesOnlyWhenTheCursorIsOverNeitherWindow)
{
    LiveMeter live(100, 300);
    MoveOver(live.bar);

    SetCursorPos(150, 302); // over the bar
    SendMessageA(live.bar, WM_TIMER, TIMER_HOVER, 0);
    EXPECT_TRUE(IsWindowVisible(live.info));

    SetCursorPos(150, 290); // over the box
    SendMessageA(live.bar, WM_TIMER, TIMER_HOVER, 0);
    EXPECT_TRUE(IsWindowVisible(live.info));
    EXPECT_TRUE(meter.infoShown);

    SetCursorPos(600, 600);
    SendMessageA(live.bar, WM_TIMER, TIMER_HOVER, 0);
    EXPECT_FALSE(IsWindowVisible(live.info));
    EXPECT_FALSE(meter.infoShown);
    EXPECT_FALSE(KillTimer(live.bar, TIMER_HOVER));
    EXPECT_TRUE(KillTimer(live.bar, TIMER_REFRESH)); // the refresh timer lives on
}

TEST(InfoWindow, RefreshTickRedrawsTheStoredTextWithoutChangingIt)
{
    LiveMeter live(100, 300);
    MoveOver(live.bar);
    std::string shown = InfoText();
    meter.warnPercent = 5;
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    EXPECT_EQ(shown, InfoText());
    EXPECT_TRUE(IsWindowVisible(live.info));
}

TEST(InfoWindow, RefreshTickLeavesAHiddenBoxHidden)
{
    LiveMeter live(100, 300);
    SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0);
    EXPECT_FALSE(IsWindowVisible(live.info));
    EXPECT_EQ("garvow", InfoText());
}

TEST(InfoWindow, ReentrantShowInfoDoesNothing)
{
    LiveMeter live(100, 300);
    meter.infoBusy = true;
    ShowInfo(live.bar);
    EXPECT_FALSE(IsWindowVisible(live.info));
    EXPECT_FALSE(meter.infoShown);
    EXPECT_EQ("garvow", InfoText());
    EXPECT_FALSE(KillTimer(live.bar, TIMER_HOVER));
    EXPECT_TRUE(meter.infoBusy);

    meter.infoBusy = false;
    ShowInfo(live.bar);
    EXPECT_TRUE(IsWindowVisible(live.info));
    EXPECT_FALSE(meter.infoBusy);
}

TEST(InfoWindow, ShowsWithoutTakingTheFocus)
{
    LiveMeter live(100, 300);
    HWND before = GetForegroundWindow();
    MoveOver(live.bar);
    EXPECT_EQ(before, GetForegroundWindow());
    EXPECT_NE(live.info, GetActiveWindow());
}

} // namespace
