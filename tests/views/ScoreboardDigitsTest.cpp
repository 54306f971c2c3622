#include "views/ScoreboardDigits.h"

#include <climits>
#include <gtest/gtest.h>

TEST(ScoreboardDigits, ValuesInRangePassUnchanged)
{
    ScoreboardState state;
    state.homeScore = 105;
    state.visitorScore = 0;
    state.minutes = 9;
    state.seconds = 5;
    state.down = 3;
    state.toGo = 10;
    state.ballOn = 35;
    state.quarter = 4;
    state.homeHasBall = 0;
    state.final = 1;
    const ScoreboardState drawn = ScoreboardForDrawing(state);
    EXPECT_EQ(drawn.homeScore, 105);
    EXPECT_EQ(drawn.minutes, 9);
    EXPECT_EQ(drawn.seconds, 5);
    EXPECT_EQ(drawn.down, 3);
    EXPECT_EQ(drawn.toGo, 10);
    EXPECT_EQ(drawn.ballOn, 35);
    EXPECT_EQ(drawn.quarter, 4);
    EXPECT_EQ(drawn.homeHasBall, 0);
    EXPECT_EQ(drawn.final, 1);
}

TEST(ScoreboardDigits, NegativeValuesDrawAsZeroAndLargeOnesAsTheLargestTheCellsHold)
{
    ScoreboardState state;
    state.homeScore = 1000;
    state.visitorScore = INT_MAX;
    state.minutes = -9;
    state.seconds = -9;
    state.down = -1;
    state.toGo = 150;
    state.ballOn = INT_MIN;
    state.quarter = 12;
    const ScoreboardState drawn = ScoreboardForDrawing(state);
    EXPECT_EQ(drawn.homeScore, 999);
    EXPECT_EQ(drawn.visitorScore, 999);
    EXPECT_EQ(drawn.minutes, 0);
    EXPECT_EQ(drawn.seconds, 0);
    EXPECT_EQ(drawn.down, 0);
    EXPECT_EQ(drawn.toGo, 99);
    EXPECT_EQ(drawn.ballOn, 0);
    EXPECT_EQ(drawn.quarter, 9);
}
