// The Individual Player window's content as a value: the player line, the
// categories he took part in and the plays whose text names him.
#include "views/PlayerContent.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"
#include "views/TextWrapper.h"

#include "../support/ScratchDirectory.h"
#include "../support/TestTeams.h"

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
    const std::array<CTeamStats, 2> teams = TeamsOf(game);
    std::array<CSeasonStats, 2> seasons;

    const PlayerContent content = PlayerContent::Build(teams, seasons, game, 0, 0, TextWrapper());
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

namespace
{

// The content of the one home player "J. Smith" of a game whose plays are `plays`.
PlayerContent smithIn(const std::string &plays, int playColumnWidth)
{
    ScratchDirectory dir;
    CGameDocument game;
    EXPECT_TRUE(game.Open(dir.Write("game.xml", R"(<fbgame><venue><rules field="100"/></venue>
      <team vh="H" name="Harbor" id="HAR" record=""><totals/>
        <player uni="12" name="Jon Smith" shortname="J. Smith" checkname="SMITH,JON"/></team>
      <team vh="V" name="Visitors" id="VIS" record=""><totals/></team>
      <plays><qtr number="1">)" + plays + "</qtr></plays></fbgame>")));
    const std::array<CTeamStats, 2> teams = TeamsOf(game);
    std::array<CSeasonStats, 2> seasons;
    return PlayerContent::Build(teams, seasons, game, 0, 0, TextWrapper(), playColumnWidth);
}

} // namespace

TEST(PlayerContent, PlaysWithoutYardsShowWhatTheirTextTellsAndNothingWhenItTellsNothing)
{
    const PlayerContent content = smithIn(R"(
        <play context="H,1,10,H20" type="R" text="Smith rush for 6 yards to the HAR26."/>
        <play context="H,2,4,H26" type="R" yds="3" text="Smith rush for 6 yards."/>
        <play context="H,3,1,H29" type="P" text="Smith pass incomplete."/>
        <play context="H,4,1,H29" type="K" text="Smith punt 40 yards."/>
        <play context="V,1,10,V31" type="R" yds="" text="Tackle by Smith."/>)",
                                          PlayerContent::kPlayColumnWidth);
    ASSERT_EQ(content.plays.size(), 5u);
    const auto mark = [&content](std::size_t play) { return content.plays[play].typeMark; };
    const auto derived = [&content](std::size_t play) { return content.plays[play].yardsDerived; };
    EXPECT_EQ(mark(0), "r6");
    EXPECT_TRUE(derived(0));
    EXPECT_EQ(mark(1), "r3") << "the file's yards win over the text's";
    EXPECT_FALSE(derived(1));
    EXPECT_EQ(mark(2), "p0") << "an incomplete pass gains nothing";
    EXPECT_TRUE(derived(2));
    EXPECT_EQ(mark(3), " ") << "a punt is no rush or pass: its yards stay unknown, not 0";
    EXPECT_FALSE(derived(3));
    EXPECT_EQ(mark(4), "r") << "the file's empty yards win too";
    EXPECT_FALSE(derived(4));
}

TEST(PlayerContent, ThePlaysListHasARowPerLineInThePlaysShade)
{
    const std::string longText =
        "Smith pass complete to Jones for 7 yards to the HAR39, and this play text goes on long "
        "enough to need several lines of a narrow play column.";
    const PlayerContent content = smithIn(
        R"(<play context="H,1,10,H32" type="P" first="P" yds="12" text=")" + longText +
            R"("/><play context="H,1,10,H44" type="R" yds="1" text="Smith up the middle."/>)",
        120);
    ASSERT_EQ(content.plays.size(), 2u);
    const qsizetype lines = content.plays[0].lines.size();
    ASSERT_GT(lines, 1);
    EXPECT_EQ(content.plays[0].lines.join(' '), QString::fromStdString(longText));
    EXPECT_EQ(content.PlayFirstRows(), (std::vector<int>{0, static_cast<int>(lines)}));

    const StatTable table = content.PlaysTable();
    ASSERT_EQ(table.RowCount(), lines + content.plays[1].lines.size());
    EXPECT_EQ(table.columns[PlayerContent::kPlayColumn].width, 120);
    EXPECT_EQ(table.rows[0].Cell(0).text, "1-10");
    EXPECT_EQ(table.rows[0].Cell(1).text, "HAR32");
    EXPECT_EQ(table.rows[0].Cell(3).text, "P12");
    EXPECT_TRUE(table.rows[0].Cell(3).bold) << "a first down by pass";
    EXPECT_EQ(table.rows[1].Cell(0).text, "") << "a continuation line";
    EXPECT_EQ(table.rows[1].Cell(2).text, content.plays[0].lines[1]);
    EXPECT_EQ(table.BackgroundAt(static_cast<int>(lines) - 1, 0), RGB(255, 255, 255))
        << "every line of a play in its shade";
    EXPECT_EQ(table.TextColorAt(1, 2), RGB(0, 0, 0));
    EXPECT_EQ(table.BackgroundAt(static_cast<int>(lines), 2), RGB(224, 224, 224));
}
