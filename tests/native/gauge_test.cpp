// The gauge's rules through the front-end contract, with a front end made of a script: its events
// go in, the surfaces it was asked to show and the settings saved come out.
#include "../../unix/run.h"
#include "../../unix/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <signal.h>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

struct FakeSurface {
    MeterRect at;
    bool shown;
    int pictures; // how many it was given
};

struct Fake {
    MonitorList monitors;
    bool keepToOne;
    FakeSurface surfaces[2];
    std::vector<std::function<void()>> steps;
    size_t next;
};

Fake fake;

void ReadMonitors(MonitorList& monitors)
{
    monitors = fake.monitors;
}
double One()
{
    return 1;
}
double PictureScale(SurfaceId)
{
    return 1;
}
void Place(SurfaceId surface, const MeterRect& at)
{
    fake.surfaces[surface].at = at;
}
void ShowPicture(SurfaceId surface, const Canvas&, const char*)
{
    ++fake.surfaces[surface].pictures;
}
void Show(SurfaceId surface)
{
    fake.surfaces[surface].shown = true;
}
void Hide(SurfaceId surface)
{
    fake.surfaces[surface].shown = false;
}
// One step of the script a wait; the last one closes the bar where it stands.
void Wait(int64_t)
{
    if (fake.next < fake.steps.size()) {
        fake.steps[fake.next++]();
        return;
    }
    const MeterRect& bar = fake.surfaces[BAR].at;
    PointerPressed(BAR, RIGHT_BUTTON, bar.left + 1, bar.top + 1, 0);
    PointerReleased(RIGHT_BUTTON, bar.left + 1, bar.top + 1);
}

class Gauge : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, getcwd(previous_, sizeof previous_));
        ASSERT_NE(nullptr, mkdtemp(dir_));
        ASSERT_EQ(0, chdir(dir_));
        fake = {};
    }
    void TearDown() override
    {
        unlink("garvo.ini");
        ASSERT_EQ(0, chdir(previous_));
        rmdir(dir_);
    }
    // Runs the gauge over those monitors from those settings; what it saved.
    std::string Run(const std::string& saved, std::vector<std::function<void()>> steps)
    {
        std::ofstream("garvo.ini", std::ios::binary) << saved;
        ChooseSettingsFile();
        fake.steps = std::move(steps);
        fake.next = 0;
        fake.surfaces[BAR] = fake.surfaces[BOX] = {};
        FrontEnd display = {ReadMonitors, One,  PictureScale, Place,         ShowPicture,
                            Show,         Hide, Wait,         fake.keepToOne};
        CatchEndingOfRun();
        EXPECT_EQ(0, RunGauge(display));
        std::ifstream in("garvo.ini", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::string Ini(int x, int y, int s)
    {
        return "[SETTING]\r\nx=" + std::to_string(x) + "\r\ny=" + std::to_string(y) +
               "\r\ns=" + std::to_string(s) + "\r\n";
    }

    char previous_[4096];
    char dir_[32] = "/tmp/garvo-gauge-XXXXXX";
};

// Two monitors side by side, the right one shorter and primary, and one of no size.
TEST(NearestMonitor, HoldsTheCornerElseTheNearestElseThePrimary)
{
    const MonitorList monitors = {
        {{0, 0, 1024, 768}, {1024, 0, 1824, 600}, {500, 500, 500, 900}}, 3, 1};
    const struct {
        int32_t x, y;
        int want;
    } rows[] = {
        {100, 100, 0},
        {1100, 100, 1},
        {1023, 767, 0},
        {1024, 0, 1},
        {3000, 100, 1},
        {-500, 300, 0},
        {1700, 610, 1},
        {1030, 700, 0},
        {UNSET_X, 5000, 1},
        {INT32_MAX, 100, 1},
        {-2000000000, INT32_MIN, 0},
        {500, 700, 0}, // inside the monitor of no size: that one does not count
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.want, NearestMonitor(monitors, row.x, row.y)) << row.x << ", " << row.y;
    }
    // Overlapping monitors that both hold the corner: the primary one; without it the first.
    MonitorList mirrored = {{{0, 0, 1024, 768}, {0, 0, 1920, 1080}}, 2, 1};
    EXPECT_EQ(1, NearestMonitor(mirrored, 10, 10));
    mirrored.primary = -1;
    EXPECT_EQ(0, NearestMonitor(mirrored, 10, 10));
    EXPECT_EQ(-1, NearestMonitor({{{500, 500, 500, 900}}, 1, 0}, 10, 10));
    EXPECT_EQ(-1, NearestMonitor({{}, 0, 0}, 10, 10));
}

const MonitorList TWO = {{{0, 0, 1024, 768}, {1024, 0, 2048, 600}}, 2, 1};

TEST_F(Gauge, WithNoSavedPlaceTheBarStartsAtThePrimaryMonitorsCorner)
{
    fake.monitors = TWO;
    EXPECT_EQ(Ini(1024, 0, 60), Run("[SETTING]\r\nx=\r\ny=300\r\ns=60\r\n", {}));
}

TEST_F(Gauge, NoMonitorIsNoPlace)
{
    // Started with none, one comes: the bar shows there, clamped by the usual rule; it goes: the
    // bar goes off the screen, and its place stays.
    EXPECT_EQ(Ini(897, 200, 60),
              Run(Ini(3000, 200, 60), {
                                          [] {
                                              EXPECT_FALSE(fake.surfaces[BAR].shown);
                                              fake.monitors = {{{0, 0, 1024, 768}}, 1, 0};
                                              MonitorsChanged();
                                          },
                                          [] {
                                              EXPECT_TRUE(fake.surfaces[BAR].shown);
                                              fake.monitors = {};
                                              MonitorsChanged();
                                              EXPECT_FALSE(fake.surfaces[BAR].shown);
                                              fake.monitors = {{{0, 0, 1024, 768}}, 1, 0};
                                              MonitorsChanged();
                                          },
                                      }));
    // None ever: a logout saves the saved place, not one the user never gave. In a process of its
    // own, which the signal ends.
    fake.monitors = {};
    EXPECT_EXIT(
        {
            bool kept = Run(Ini(300, 200, 60), {[] { raise(SIGTERM); }}) == Ini(300, 200, 60);
            exit(kept && !fake.surfaces[BAR].shown ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Gauge, ADoubleClickSetsTheThresholdAndRedrawsTheBarAtOnce)
{
    fake.monitors = TWO;
    int before = 0;
    std::string saved =
        Run(Ini(100, 100, 75), {
                                   [&] {
                                       before = fake.surfaces[BAR].pictures;
                                       PointerEntered(BAR, 163, 102);
                                       PointerPressed(BAR, LEFT_BUTTON, 163, 102, 1000);
                                       PointerReleased(LEFT_BUTTON, 163, 102);
                                       PointerPressed(BAR, LEFT_BUTTON, 164, 103, 1300);
                                       PointerReleased(LEFT_BUTTON, 164, 103);
                                       EXPECT_GT(fake.surfaces[BAR].pictures, before);
                                       EXPECT_TRUE(fake.surfaces[BOX].shown);
                                   },
                               });
    EXPECT_EQ(Ini(100, 100, 50), saved);
}

TEST_F(Gauge, ADragFollowsThePointerAndKeepsToAMonitorWhereSurfacesMust)
{
    // Pushed past the first monitor's right edge and back: the bar stays under the pointer.
    struct Row {
        bool keepToOne;
        std::vector<std::pair<double, double>> moves;
        int x, y;
    } rows[] = {
        {false, {{900, 103}, {1023, 103}, {723, 103}}, 713, 100},
        {true, {{900, 103}, {1023, 103}, {723, 103}}, 713, 100},
        // Where surfaces keep to a monitor: held on the first until the release on the second.
        {true, {{1500, 203}}, 1490, 200},
        {false, {{-500, 103}}, -510, 100},
    };
    uint32_t time = 5000;
    for (const Row& row : rows) {
        fake = {};
        fake.monitors = TWO;
        fake.keepToOne = row.keepToOne;
        time += 1000;
        std::vector<std::function<void()>> steps = {
            [time] { PointerPressed(BAR, LEFT_BUTTON, 110, 103, time); }};
        for (auto move : row.moves)
            steps.push_back([move] {
                PointerMoved(move.first, move.second);
                if (fake.keepToOne) {
                    EXPECT_LE(fake.surfaces[BAR].at.right, 1023);
                }
            });
        auto last = row.moves.back();
        steps.push_back([last] { PointerReleased(LEFT_BUTTON, last.first, last.second); });
        EXPECT_EQ(Ini(row.x, row.y, 75), Run(Ini(100, 100, 75), steps)) << row.moves.size();
    }
}

TEST_F(Gauge, ARightClickNeedsItsPressAndReleaseOnTheSameSurface)
{
    fake.monitors = TWO;
    // Released off the bar: no close, so the script's own close comes after the drag.
    std::string saved =
        Run(Ini(100, 100, 75), {
                                   [] {
                                       PointerPressed(BAR, RIGHT_BUTTON, 110, 103, 0);
                                       PointerReleased(RIGHT_BUTTON, 400, 400);
                                   },
                                   [] {
                                       PointerPressed(BAR, LEFT_BUTTON, 110, 103, 60000);
                                       PointerMoved(210, 203);
                                       PointerReleased(LEFT_BUTTON, 210, 203);
                                   },
                               });
    EXPECT_EQ(Ini(200, 200, 75), saved);
}

TEST_F(Gauge, ALostReleaseEndsTheDragAndForgetsTheClickWaiting)
{
    fake.monitors = TWO;
    // The drag ends where the bar stands. A right button whose release was lost closes nothing
    // when a stray release comes later: the last drag still runs.
    std::string saved =
        Run(Ini(100, 100, 75), {
                                   [] {
                                       PointerPressed(BAR, LEFT_BUTTON, 110, 103, 0);
                                       PointerMoved(210, 203);
                                       PointerReleasedAll();
                                       PointerMoved(400, 400);
                                       EXPECT_EQ(200, fake.surfaces[BAR].at.left);
                                   },
                                   [] {
                                       PointerPressed(BAR, RIGHT_BUTTON, 210, 203, 60000);
                                       PointerReleasedAll();
                                       PointerReleased(RIGHT_BUTTON, 210, 203);
                                   },
                                   [] {
                                       PointerPressed(BAR, LEFT_BUTTON, 210, 203, 120000);
                                       PointerMoved(310, 303);
                                       PointerReleased(LEFT_BUTTON, 310, 303);
                                   },
                               });
    EXPECT_EQ(Ini(300, 300, 75), saved);
}

} // namespace
