// The meter arithmetic against the bar window's tables: fill, marker, colour, double-click, text.
#include "../../meter/meter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>

namespace
{

const MeterRect BAR = {0, 0, 126, 6};

struct FillRow {
    uint32_t percent;
    int32_t fillRight; // exclusive
    int32_t markerX;
};

const FillRow FILL_TABLE[] = {
    {0, 2, 2}, {1, 3, 3}, {50, 63, 63}, {75, 93, 93}, {99, 122, 122}, {100, 124, 124},
};

TEST(ComputeBarLayout, FillAndMarkerFollowTheBarTable)
{
    for (const FillRow& row : FILL_TABLE) {
        SCOPED_TRACE(row.percent);
        BarLayout layout = ComputeBarLayout(BAR, row.percent, int32_t(row.percent));
        EXPECT_EQ(2, layout.fill.left);
        EXPECT_EQ(row.fillRight, layout.fill.right);
        EXPECT_EQ(2, layout.fill.top);
        EXPECT_EQ(4, layout.fill.bottom); // rows 2 and 3 of the 6
        EXPECT_EQ(row.markerX, layout.markerX);
        EXPECT_EQ(0, std::memcmp(&BAR, &layout.frame, sizeof BAR));
    }
}

TEST(ComputeBarLayout, ColourIsRedFromTheThresholdOn)
{
    struct Row {
        uint32_t load;
        int32_t threshold;
        MeterColour colour;
    } const rows[] = {
        {74, 75, COLOUR_BLUE}, {75, 75, COLOUR_RED},   {76, 75, COLOUR_RED},   {0, 0, COLOUR_RED},
        {100, 0, COLOUR_RED},  {99, 100, COLOUR_BLUE}, {100, 100, COLOUR_RED}, {0, 1, COLOUR_BLUE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.load << " against " << row.threshold);
        EXPECT_EQ(row.colour, ComputeBarLayout(BAR, row.load, row.threshold).fillColour);
    }
    EXPECT_EQ(0x00FF0000u, COLOUR_BLUE);
    EXPECT_EQ(0x000000FFu, COLOUR_RED);
}

TEST(ComputeBarLayout, OffsetClientAndWideClientKeepExactQuotients)
{
    MeterRect offset = {10, 20, 136, 26};
    BarLayout layout = ComputeBarLayout(offset, 50, 75);
    EXPECT_EQ(12, layout.fill.left);
    EXPECT_EQ(73, layout.fill.right);
    EXPECT_EQ(22, layout.fill.top);
    EXPECT_EQ(24, layout.fill.bottom);
    EXPECT_EQ(103, layout.markerX);

    // w x load would not fit in 32 bits.
    MeterRect wide = {0, 0, 40000004, 6};
    layout = ComputeBarLayout(wide, 99, 100);
    EXPECT_EQ(2 + 39600000, layout.fill.right);
    EXPECT_EQ(2 + 40000000, layout.markerX);
}

TEST(ThresholdFromPoint, FollowsTheDoubleClickTable)
{
    struct Row {
        int32_t x, threshold;
    } const rows[] = {
        {-5, 0},  {0, 0},   {1, 0},    {2, 0},     {3, 0},     {4, 1},     {63, 50},
        {93, 74}, {94, 75}, {123, 99}, {124, 100}, {125, 100}, {500, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(row.threshold, ThresholdFromPoint(row.x, BAR));
    }
}

TEST(ThresholdFromPoint, StaysInRangeForAnyClient)
{
    const MeterRect odd[] = {{10, 0, 14, 6},
                             {100, 0, 110, 6},
                             {0, 0, 0, 0},
                             {INT32_MIN, 0, INT32_MAX, 6},
                             {INT32_MAX - 3, 0, INT32_MAX, 6}};
    for (const MeterRect& client : odd) {
        for (int32_t x : {INT32_MIN, -1, 3, 7, 11, 60, 105, INT32_MAX}) {
            int32_t threshold = ThresholdFromPoint(x, client);
            EXPECT_GE(threshold, 0);
            EXPECT_LE(threshold, 100);
        }
    }
}

TEST(FormatInfoText, MatchesPrintfForEveryLoadAndThreshold)
{
    char text[TEXT_SIZE];
    EXPECT_EQ(13, FormatInfoText(63, 75, text));
    EXPECT_STREQ("63%use(w:75%)", text);
    FormatInfoText(100, 0, text);
    EXPECT_STREQ("100%use(w:0%)", text);

    char expected[TEXT_SIZE];
    for (uint32_t load = 0; load <= 100; ++load) {
        for (int32_t threshold = 0; threshold <= 100; ++threshold) {
            std::snprintf(expected, sizeof expected, "%d%%use(w:%d%%)", int(load), int(threshold));
            int length = FormatInfoText(load, threshold, text);
            ASSERT_STREQ(expected, text);
            ASSERT_EQ(int(std::strlen(expected)), length);
        }
    }
    for (int32_t extreme : {INT32_MIN, INT32_MAX, -1}) {
        std::snprintf(expected, sizeof expected, "%d%%use(w:%d%%)", int(extreme), int(extreme));
        FormatInfoText(uint32_t(extreme), extreme, text);
        EXPECT_STREQ(expected, text);
    }
}

} // namespace
