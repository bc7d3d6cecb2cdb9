// WinMain as a whole: settings read before the windows exist and written only after the loop,
// the thread's priority, the exit status, and a run whose windows cannot be created.
#include "test_support.h"

#include "../../app/meter_state.h"

#include <gtest/gtest.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int);

namespace
{

struct DuringTheRun {
    int priority = THREAD_PRIORITY_ERROR_RETURN;
    std::string placement;
    std::string file;
} seen;

const ScratchDirectory* scratch;

// Runs once from inside WinMain's message loop: looks around, moves the bar, closes it.
void CALLBACK LookAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND bar = FindBar();
    seen.priority = GetThreadPriority(GetCurrentThread());
    seen.placement = Placement(bar);
    seen.file = scratch->Read("garvo.ini");
    SetWindowPos(bar, NULL, 350, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(bar, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(360, 252));
}

TEST(WinMain, RunsAtLowestPriorityUntilClosedThenSaves)
{
    ScratchDirectory dir;
    scratch = &dir;
    const std::string saved = "[SETTING]\r\nx=300\r\ny=200\r\ns=60\r\n";
    dir.Write("garvo.ini", saved);
    SetTimer(NULL, 0, 200, LookAndClose);

    EXPECT_EQ(0, WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_HIDE));
    EXPECT_EQ(THREAD_PRIORITY_LOWEST, seen.priority);
    EXPECT_EQ("300,200 126x6", seen.placement); // shown whatever the show state said
    EXPECT_EQ(saved, seen.file);                // nothing written while running
    EXPECT_EQ("[SETTING]\r\nx=350\r\ny=250\r\ns=60\r\n", dir.Read("garvo.ini"));
}

int creationsToAllow;

// Lets the given number of garvo's windows be created, and fails the rest.
LRESULT CALLBACK FailCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        char name[64] = "";
        GetClassNameA(HWND(wParam), name, sizeof name);
        if (lstrcmpA(name, "garvowclass") == 0 && creationsToAllow-- <= 0) return 1;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

class FailedCreation : public testing::TestWithParam<int>
{
};

TEST_P(FailedCreation, EndsAtOnceAndStillWritesTheClampedSettings)
{
    ScratchDirectory dir;
    dir.Write("garvo.ini", "[SETTING]\r\nx=-40\r\ny=5\r\ns=150\r\n");
    creationsToAllow = GetParam();
    HHOOK hook = SetWindowsHookExA(WH_CBT, FailCreation, NULL, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    int status = WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWNORMAL);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(1, status);
    EXPECT_EQ("[SETTING]\r\nx=0\r\ny=5\r\ns=100\r\n", dir.Read("garvo.ini"));
    // When only the bar failed, the info window stays, hidden, until the process ends.
    EXPECT_EQ(GetParam() == 1, IsWindow(meter.infoWindow) != FALSE);
    EXPECT_FALSE(IsWindowVisible(meter.infoWindow));
}

// 0: the info window cannot be created; 1: only the bar cannot.
INSTANTIATE_TEST_SUITE_P(Windows, FailedCreation, testing::Values(0, 1));

} // namespace
