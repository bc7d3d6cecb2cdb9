// The event loop's timers against a clock the test moves by hand.
#include "../../unix/timer.h"

#include <gtest/gtest.h>

TEST(Timer, TicksOncePerPeriodAndNeverCatchesUp)
{
    Timer refresh = {}, hover = {};
    EXPECT_EQ(-1, WaitFor(refresh, hover, 0)); // nothing armed: wait for events alone
    ArmTimer(refresh, 1000);
    EXPECT_FALSE(TakeTick(refresh, 1499));
    EXPECT_EQ(1, WaitFor(refresh, hover, 1499));
    EXPECT_TRUE(TakeTick(refresh, 1500));
    EXPECT_FALSE(TakeTick(refresh, 1500));

    // A loop held up for three periods gets one tick, then a full period's wait.
    EXPECT_TRUE(TakeTick(refresh, 3600));
    EXPECT_FALSE(TakeTick(refresh, 4099));
    EXPECT_TRUE(TakeTick(refresh, 4100));

    // Re-arming restarts the period; the earlier of two timers sets the wait; a killed one none.
    ArmTimer(hover, 4300);
    ArmTimer(hover, 4400);
    EXPECT_FALSE(TakeTick(hover, 4899));
    EXPECT_EQ(200, WaitFor(refresh, hover, 4400)); // refresh due at 4600
    KillTimer(refresh);
    EXPECT_EQ(500, WaitFor(refresh, hover, 4400));
    EXPECT_EQ(0, WaitFor(refresh, hover, 5000)); // overdue: no wait at all
    KillTimer(hover);
    EXPECT_FALSE(TakeTick(hover, 9999));
}
