// The settings range rules: threshold 0-100, bar one pixel inside the screen or the monitor it
// belongs on, unset x left alone.
#include "../../app/settings_rules.h"

#include <gtest/gtest.h>

namespace
{

struct Row {
    int32_t x, y, s;
    int32_t wantX, wantY, wantS;
};

TEST(ClampSettings, KeepsTheBarOnA1024By768Screen)
{
    const Row rows[] = {
        {100, 100, 75, 100, 100, 75},
        {898, 0, 75, 897, 0, 75},
        {897, 0, 75, 897, 0, 75},
        {-40, 0, 75, 0, 0, 75},
        {0, 762, 75, 0, 761, 75},
        {0, 761, 75, 0, 761, 75},
        {0, -3, 75, 0, 0, 75},
        {0, 0, 150, 0, 0, 100},
        {0, 0, -5, 0, 0, 0},
        {0, 0, 0, 0, 0, 0},
        {0, 0, 100, 0, 0, 100},
        {UNSET_X, 0, 75, UNSET_X, 0, 75},
        {UNSET_X, 900, 75, UNSET_X, 761, 75},
        {UNSET_X, -9, 75, UNSET_X, 0, 75},
        {UNSET_X + 1, 0, 75, 0, 0, 75},
        // Near the ends of the 32-bit range the sums must not wrap around.
        {INT32_MAX, INT32_MAX, INT32_MAX, 897, 761, 100},
        {INT32_MAX - 125, INT32_MAX - 5, 101, 897, 761, 100},
        {INT32_MIN + 1, INT32_MIN, INT32_MIN, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << ", " << row.y << ", " << row.s);
        Settings got = ClampSettings(row.x, row.y, row.s, 1024, 768);
        EXPECT_EQ(row.wantX, got.x);
        EXPECT_EQ(row.wantY, got.y);
        EXPECT_EQ(row.wantS, got.s);
    }
}

TEST(ClampSettings, ScreensTooSmallOrOddPinTheBarAtZero)
{
    const int32_t sizes[][2] = {{0, 0}, {100, 5}, {-1, -1}, {INT32_MIN, INT32_MIN}};
    for (const auto& size : sizes) {
        Settings got = ClampSettings(500, 500, 50, size[0], size[1]);
        EXPECT_EQ(0, got.x);
        EXPECT_EQ(0, got.y);
    }
    Settings huge = ClampSettings(INT32_MAX, INT32_MAX, 50, INT32_MAX, INT32_MAX);
    EXPECT_EQ(INT32_MAX - 127, huge.x);
    EXPECT_EQ(INT32_MAX - 7, huge.y);
}

TEST(ClampSettingsIn, KeepsABarOfAnySizeOneMonitorsPixelInside)
{
    const MeterRect right = {1024, -100, 1824, 500};
    const Row rows[] = {
        {1100, 0, 75, 1100, 0, 75},
        {1700, 0, 75, 1571, 0, 75}, // 1824 - 252 - 1
        {900, -300, 75, 1024, -100, 75},
        {1100, 490, 75, 1100, 487, 75}, // 500 - 12 - 1
        {UNSET_X, 9000, 75, UNSET_X, 487, 75},
    };
    for (const Row& row : rows) {
        Settings got = ClampSettingsIn(row.x, row.y, row.s, right, 2 * BAR_WIDTH, 2 * BAR_HEIGHT);
        EXPECT_EQ(row.wantX, got.x) << row.x << ", " << row.y;
        EXPECT_EQ(row.wantY, got.y) << row.x << ", " << row.y;
    }
}

} // namespace
