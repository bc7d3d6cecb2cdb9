// The two windows as start-up creates them, and the message table of the window procedure.
#include "test_support.h"

#include "../../app/meter_state.h"
#include "../../ui/ui.h"

#include <gtest/gtest.h>

namespace
{

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window)
{
    char title[128] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// A window of some other program that has the focus.
HWND FocusedWindow()
{
    WNDCLASSA other = {};
    other.lpfnWndProc = DefWindowProcA;
    other.hInstance = GetModuleHandleA(NULL);
    other.lpszClassName = "otherprogram";
    RegisterClassA(&other);
    HWND window = CreateWindowExA(0, "otherprogram", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                  400, 200, 100, NULL, NULL, other.hInstance, NULL);
    SetForegroundWindow(window);
    SetFocus(window);
    PumpMessages();
    return window;
}

TEST(StartUp, CreatesAHiddenInfoWindowAndShowsTheBarItOwns)
{
    LiveMeter live(100, 300);
    ASSERT_TRUE(live.bar);
    ASSERT_TRUE(live.info);

    EXPECT_EQ("garvowclass", ClassOf(live.bar));
    EXPECT_EQ("garvowclass", ClassOf(live.info));
    EXPECT_EQ("garvow", TitleOf(live.bar));
    EXPECT_EQ("garvow", TitleOf(live.info));
    EXPECT_EQ(live.info, GetWindow(live.bar, GW_OWNER));
    EXPECT_EQ(NULL, GetWindow(live.info, GW_OWNER));

    for (HWND window : {live.bar, live.info}) {
        DWORD style = DWORD(GetWindowLongA(window, GWL_STYLE));
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_EQ(0u, style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU | WS_CHILD));
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(NULL, GetMenu(window));
    }

    EXPECT_EQ("100,300 126x6", Placement(live.bar));
    EXPECT_TRUE(IsWindowVisible(live.bar));
    EXPECT_EQ("100,300 1x1", Placement(live.info));
    EXPECT_FALSE(IsWindowVisible(live.info));
    EXPECT_FALSE(meter.infoShown);

    // The refresh timer is armed on the bar, and only there.
    EXPECT_TRUE(KillTimer(live.bar, TIMER_REFRESH));
    EXPECT_FALSE(KillTimer(live.info, TIMER_REFRESH));
    EXPECT_FALSE(KillTimer(live.bar, TIMER_HOVER));
}

TEST(StartUp, TakesTheFirstSampleBeforeAnyTick)
{
    LiveMeter live; // the state record starts at zero, so no load has been sampled
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    EXPECT_LE(meter.loadPercent, 100u);
    EXPECT_NEAR(double(status.dwMemoryLoad), double(meter.loadPercent), 2.0);
    EXPECT_GT(meter.loadPercent, 0u);
}

TEST(StartUp, RefreshTicksKeepSampling)
{
    LiveMeter live;
    meter.loadPercent = 12345;
    DWORD start = GetTickCount();
    while (meter.loadPercent == 12345 && GetTickCount() - start < 2000) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
    }
    EXPECT_LE(meter.loadPercent, 100u);
    EXPECT_GE(GetTickCount() - start, 300u); // a 500 ms timer, not a paint of its own
}

TEST(StartUp, UnsetXPlacesBothWindowsAtTheTopLeftCorner)
{
    LiveMeter live(INT32(CW_USEDEFAULT), 300);
    EXPECT_EQ("0,0 126x6", Placement(live.bar));
    EXPECT_EQ("0,0 1x1", Placement(live.info));
}

TEST(StartUp, StealsNoFocus)
{
    HWND other = FocusedWindow();
    ASSERT_EQ(other, GetForegroundWindow());
    LiveMeter live;
    PumpMessages();
    EXPECT_EQ(other, GetForegroundWindow());
    EXPECT_EQ(other, GetActiveWindow());
    EXPECT_EQ(other, GetFocus());
    DestroyWindow(other);
}

TEST(MessageTable, EveryPointOfBothWindowsIsCaption)
{
    LiveMeter live(200, 300);
    const POINT points[] = {{200, 300}, {262, 303}, {325, 305}, {-5, -5}, {0, 0}};
    for (HWND window : {live.bar, live.info}) {
        for (POINT p : points) {
            LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
            EXPECT_EQ(HTCAPTION, hit);
        }
    }
}

TEST(MessageTable, RightButtonDownDoesNothing)
{
    LiveMeter live;
    for (HWND window : {live.bar, live.info}) {
        EXPECT_EQ(0, SendMessageA(window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(110, 302)));
        EXPECT_FALSE(IsPosted(window, WM_CLOSE));
    }
    PumpMessages();
    EXPECT_TRUE(IsWindow(live.bar));
    EXPECT_TRUE(IsWindow(live.info));
}

TEST(MessageTable, RightButtonUpOnTheBarClosesItAndRecordsWhereItStands)
{
    LiveMeter live(100, 300);
    SetWindowPos(live.bar, NULL, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(0, SendMessageA(live.bar, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(340, 224)));
    EXPECT_TRUE(IsPosted(live.bar, WM_CLOSE));
    EXPECT_TRUE(IsWindow(live.bar)); // posted, not handled on the spot
    EXPECT_EQ(100, meter.barX);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    EXPECT_EQ(UINT(WM_QUIT), message.message);
    EXPECT_EQ(0u, message.wParam);
    EXPECT_FALSE(IsWindow(live.bar));
    EXPECT_EQ(333, meter.barX);
    EXPECT_EQ(222, meter.barY);
}

TEST(MessageTable, RightButtonUpOnTheInfoWindowEndsWithTheStartPosition)
{
    LiveMeter live(100, 300);
    SetWindowPos(live.bar, NULL, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(live.info, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(101, 301));
    EXPECT_TRUE(IsPosted(live.info, WM_CLOSE));

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    EXPECT_EQ(0u, message.wParam);
    EXPECT_FALSE(IsWindow(live.info));
    EXPECT_FALSE(IsWindow(live.bar)); // owned by the info window
    EXPECT_EQ(100, meter.barX);
    EXPECT_EQ(300, meter.barY);
}

TEST(MessageTable, ACloseFromThePlatformRecordsThePositionToo)
{
    LiveMeter live(100, 300);
    SetWindowPos(live.bar, NULL, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(live.bar, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(live.bar));
    EXPECT_EQ(50, meter.barX);
    EXPECT_EQ(60, meter.barY);
    EXPECT_TRUE(IsPosted(NULL, WM_QUIT));
}

TEST(MessageTable, EndOfSessionSavesWhatACloseOfTheBarWould)
{
    ScratchDirectory dir;
    LiveMeter live(100, 300);
    SetWindowPos(live.bar, NULL, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    meter.warnPercent = 40;

    EXPECT_EQ(0, SendMessageA(live.bar, WM_ENDSESSION, FALSE, 0)); // the logoff was cancelled
    SendMessageA(live.info, WM_ENDSESSION, TRUE, 0);               // the bar's copy saves
    EXPECT_EQ("", dir.Read("garvo.ini"));

    SendMessageA(live.bar, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ("[SETTING]\r\nx=50\r\ny=60\r\ns=40\r\n", dir.Read("garvo.ini"));
}

TEST(MessageTable, DoubleClickSetsTheThresholdFromScreenCoordinates)
{
    struct Row {
        int barLeft, clickX, threshold;
    } const rows[] = {
        {100, 100, 0},
        {100, 102, 0},
        {100, 103, 0},
        {100, 104, 1},
        {100, 163, 50},
        {100, 194, 75},
        {100, 224, 100},
        {100, 225, 100},
        // A bar on a monitor left of the primary one: the click's x is negative.
        {-300, -237, 50},
        {-300, -206, 75},
        {-126, -2, 100},
        {-126, -126, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.barLeft << " " << row.clickX);
        LiveMeter live(row.barLeft, 300);
        SetWindowPos(live.bar, NULL, row.barLeft, 300, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        meter.warnPercent = 33;
        EXPECT_EQ(
            0, SendMessageA(live.bar, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(row.clickX, 302)));
        EXPECT_EQ(row.threshold, meter.warnPercent);
    }
}

TEST(MessageTable, DoubleClickOnTheInfoWindowChangesNothing)
{
    LiveMeter live(100, 300);
    EXPECT_EQ(0, SendMessageA(live.info, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(224, 301)));
    EXPECT_EQ(75, meter.warnPercent);
    EXPECT_FALSE(IsWindowVisible(live.info));
}

TEST(MessageTable, UnknownTimerIsIgnored)
{
    LiveMeter live;
    meter.loadPercent = 12345;
    EXPECT_EQ(0, SendMessageA(live.bar, WM_TIMER, 99, 0));
    EXPECT_EQ(12345u, meter.loadPercent);
    EXPECT_EQ(0, SendMessageA(live.bar, WM_TIMER, TIMER_REFRESH, 0));
    EXPECT_LE(meter.loadPercent, 100u);
}

} // namespace
