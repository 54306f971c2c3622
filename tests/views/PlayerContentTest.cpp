// The Individual Player window's content as a value: the player line, the
// categories he took part in and the plays whose text names him.
#include "views/PlayerContent.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"

#include "../support/ScratchDirectory.h"

#include <array>
#include <gtest/gtest.h>

TEST(PlayerContent, CategoriesSeasonLinesAndThePlaysThatNameHim)
{
    ScratchDirectory dir;
    CGameDocument game;
    ASSERT_TRUE(game.Open(dir.Write("game.xml", R"(<fbgame><venue><rules field="100"/></venue>
      <team vh="H" name="Harbor" id="HAR" record=""><totals/>
        <player uni="12" name="Jon Smith" shortname="J. Smith" checkname="SMITH,JON">
          <rush att="3" yds="9" td="0" long="6"/></player></team>
      <team vh="V" name="Visitors" id="VIS" record=""><totals/></team>
      <plays><qtr number="1">
        <play context="H,1,10,V35" type="R" first="R" yds="12" text="Smith rush for 12."/>
        <play context="H,1,10,H20" type="P" yds="0" text="Pass to Jones."/>
        <play context="0" type="P" yds="7" text="Pass to SMITHSON."/>
        <play context="H,2,3,H40" type="R" yds="2" text="smith again."/>
      </qtr></plays></fbgame>)")));
    std::array<CTeamStats, 2> teams;
    std::array<CSeasonStats, 2> seasons;
    teams[0].SetSide('H');
    teams[1].SetSide('V');
    for (CTeamStats &team : teams)
        team.LoadGame(game);

    const PlayerContent content = PlayerContent::Build(teams, seasons, game, 0, 0);
    EXPECT_EQ(content.title, "#12 Jon Smith");
    EXPECT_EQ(content.playsLabel, "Plays involving Jon Smith");
    EXPECT_FALSE(content.categories[1].shown) << "no passes";
    const PlayerContent::Category &rushing = content.categories[2];
    ASSERT_TRUE(rushing.shown);
    EXPECT_EQ(rushing.game.front(), "3");
    EXPECT_EQ(rushing.season, std::vector<QString>(rushing.game.size()))
        << "without a season file the season line is empty";

    ASSERT_EQ(content.plays.size(), 3u) << "SMITHSON contains SMITH; Jones does not";
    EXPECT_EQ(content.plays[0].down, "1-10");
    EXPECT_EQ(content.plays[0].ballOn, "VIS35");
    EXPECT_EQ(content.plays[0].typeMark, "&R12");
    EXPECT_EQ(content.plays[1].ballOn, "") << "a context without a ball position";
    EXPECT_EQ(content.plays[1].typeMark, "p7");
    EXPECT_EQ((std::array{content.plays[0].grey, content.plays[1].grey, content.plays[2].grey}),
              (std::array{false, true, false}));
}
