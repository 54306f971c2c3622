// The header's values from a loaded game.
#include "views/HeaderState.h"

#include "gamedata/GameSession.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

TEST(HeaderState, ScoreFittedToTheDigitsAndLongIdsCutOnACharacterBoundary)
{
    ScratchDirectory dir;
    std::string longId;
    for (int i = 0; i < 30; ++i)
        longId += "\xe2\x82\xac"; // 90 bytes of three-byte characters
    const std::string xml =
        R"(<fbgame><team vh="H" name="Home" id=")" + longId +
        R"("><linescore score="1234"/></team><team vh="V" name="Visitors" id="VIS"/></fbgame>)";
    GameSession session;
    ASSERT_TRUE(session.Reload({dir.Write("game.xml", xml), "", ""}).gameOpened);

    const HeaderState state = HeaderState::FromSession(session, 32, true);
    EXPECT_EQ(state.page, 32);
    EXPECT_TRUE(state.playsMode);
    EXPECT_EQ(state.homeShortName, longId.substr(0, 63));
    EXPECT_EQ(state.visitorShortName, "VIS");
    EXPECT_EQ(state.scoreboard.homeScore, 999);
}
