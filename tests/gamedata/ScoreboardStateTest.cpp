#include "gamedata/ScoreboardState.h"
#include "gamedata/CGameDocument.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

ScoreboardState readFrom(const std::string &plays, ScoreboardState state = {})
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_TRUE(document.Open(dir.Write("game.xml", R"(<fbgame><venue><rules qtrs="4"/></venue>
        <team vh="H"><linescore score="17"/></team><team vh="V"><linescore score="x"/></team>
        <plays>)" + plays + "</plays></fbgame>")));
    state.Read(document);
    return state;
}

} // namespace

TEST(ScoreboardState, ReadsClockContextQuarterAndScore)
{
    const ScoreboardState state = readFrom(R"(<qtr number="3"><score V="0" H="17"/></qtr>
                    <downtogo qtr="3" clock="08:20" context="V,3,7,H35"/>)");
    EXPECT_EQ(state.minutes, 8);
    EXPECT_EQ(state.seconds, 20);
    EXPECT_EQ(state.homeHasBall, 0);
    EXPECT_EQ(state.down, 3);
    EXPECT_EQ(state.toGo, 7);
    EXPECT_EQ(state.ballOn, 35);
    EXPECT_EQ(state.quarter, 3);
    EXPECT_EQ(state.quarters, 4);
    EXPECT_EQ(state.homeScore, 17);
    EXPECT_EQ(state.visitorScore, 0) << "non-numeric score reads as 0";
    EXPECT_EQ(state.final, 0);
}

TEST(ScoreboardState, ClockOfAnotherLengthReadsAsZero)
{
    const ScoreboardState state = readFrom(R"(<downtogo clock="9:05"/>)");
    EXPECT_EQ(state.minutes, 0);
    EXPECT_EQ(state.seconds, 0);
}

TEST(ScoreboardState, UnreadContextFieldsKeepTheirValues)
{
    ScoreboardState before;
    before.homeHasBall = 0;
    before.down = 2;
    before.toGo = 9;
    before.ballOn = 44;
    const ScoreboardState empty = readFrom("", before);
    EXPECT_EQ(empty.homeHasBall, 0);
    EXPECT_EQ(empty.down, 2);
    EXPECT_EQ(empty.ballOn, 44);

    const ScoreboardState partial = readFrom(R"(<downtogo context="H,1,x"/>)", before);
    EXPECT_EQ(partial.homeHasBall, 1);
    EXPECT_EQ(partial.down, 1);
    EXPECT_EQ(partial.toGo, 9);
    EXPECT_EQ(partial.ballOn, 44);
}

TEST(ScoreboardState, FinalOnlyWhenTheFirstFinalFlagIsY)
{
    EXPECT_EQ(readFrom(R"(<qtr><score V="1" H="2"/><score final="Y"/></qtr>)").final, 1);
    EXPECT_EQ(readFrom(R"(<qtr><score final="N"/><score final="Y"/></qtr>)").final, 0);
    EXPECT_EQ(readFrom(R"(<qtr><score final="y"/></qtr>)").final, 0);
}

TEST(ScoreboardState, FinalWhenTheVenueGivesTheGamesEndAndLength)
{
    ScratchDirectory dir;
    for (const auto &[venue, final] : {std::pair{R"(end="4:31 PM" duration="3:26")", 1},
                                       {R"(end="" duration="")", 0}, // a game in progress
                                       {R"(end="4:31 PM")", 0},
                                       {R"(end="4:31 PM" duration="  ")", 0}}) {
        CGameDocument document;
        ASSERT_TRUE(document.Open(
            dir.Write("game.xml", std::string("<fbgame><venue ") + venue + "/><plays/></fbgame>")));
        EXPECT_EQ(ScoreboardState::IsFinal(document), final == 1) << venue;
    }
}
