// The values pages that lay the game out themselves are given: the leaders
// of each team and every play whole.
#include "views/GameLeaders.h"
#include "views/PlayLine.h"

#include "../support/ScratchDirectory.h"

#include "gamedata/GameSession.h"

#include <gtest/gtest.h>

namespace
{

// A home rusher line: "att" attempts for "yds" yards.
std::string rusher(const std::string &name, int att, int yds)
{
    return "<player name=\"" + name + "\"><rush att=\"" + std::to_string(att) + "\" yds=\"" +
           std::to_string(yds) + "\" td=\"0\" long=\"9\"/></player>";
}

// A game of "Old Mill" (OM, home) and "Kestrel Bay" (KB, visitor).
std::string game(const std::string &homePlayers, const std::string &visitorPlayers,
                 const std::string &plays)
{
    return R"(<fbgame><venue><rules qtrs="4" field="100"/></venue>)"
           R"(<team vh="H" name="Old Mill" id="OM" record=""><linescore score="0"/><totals/>)" +
           homePlayers +
           R"(</team><team vh="V" name="Kestrel Bay" id="KB" record=""><linescore score="0"/><totals/>)" +
           visitorPlayers + "</team><plays>" + plays + "</plays></fbgame>";
}

QStringList names(const std::vector<GameLeaders::Leader> &leaders)
{
    QStringList out;
    for (const GameLeaders::Leader &leader : leaders)
        out << leader.name;
    return out;
}

} // namespace

TEST(LivePageValues, LeadersAreTheTopThreeByYardsWithoutTheTeamLine)
{
    ScratchDirectory dir;
    const std::string home =
        rusher("Slow", 20, 40) + rusher("TEAM", 2, 90) + rusher("Busy", 9, 61) +
        rusher("Quick", 4, 61) + rusher("Fast", 12, 75) + rusher("Idle", 0, 0) +
        R"(<player name="Arm"><pass comp="15" att="31" int="1" yds="245" td="2"/>)"
        R"(<defense tackua="3" tacka="4" sackua="1"/></player>)"
        R"(<player name="Hand"><rcv no="5" yds="70" td="1" long="30"/></player>)";
    const std::string visitor = rusher("Lone", 3, -2);
    GameSession session;
    ASSERT_TRUE(
        session.Reload({dir.Write("game.xml", game(home, visitor, "")), "", ""}).gameOpened);
    const GameLeaders leaders = GameLeaders::Build(session);

    QStringList keys;
    for (const GameLeaders::Category &c : leaders.categories)
        keys << c.key;
    ASSERT_EQ(keys, QStringList({"passing", "rushing", "receiving", "tackles"}));
    const auto &[passing, rushing, receiving, tackles] = std::tie(
        leaders.categories[0], leaders.categories[1], leaders.categories[2], leaders.categories[3]);

    // Most yards first, more attempts first on equal yards; no more than three.
    EXPECT_EQ(names(rushing.teams[0]), QStringList({"Fast", "Busy", "Quick"}));
    EXPECT_EQ(rushing.teams[0][0].values, QStringList({"12", "75", "0", "9"}));
    EXPECT_EQ(names(rushing.teams[1]), QStringList({"Lone"})); // a loss still leads
    ASSERT_EQ(names(passing.teams[0]), QStringList({"Arm"}));
    EXPECT_EQ(passing.teams[0][0].values, QStringList({"15/31", "245", "2", "1"}));
    EXPECT_TRUE(passing.teams[1].empty());
    EXPECT_EQ(names(receiving.teams[0]), QStringList({"Hand"}));
    ASSERT_EQ(names(tackles.teams[0]), QStringList({"Arm"}));
    EXPECT_EQ(tackles.teams[0][0].values[tackles.columns.indexOf("TOT")], "7"); // solo and assisted
}

TEST(LivePageValues, PlaysWholeWithTheirSituationCodeAndYards)
{
    ScratchDirectory dir;
    const std::string plays =
        R"(<qtr number="1">)"
        R"(<play playid="1,1,1" context="H,0,0,H35" type="K" text="Kickoff." clock="15:00"/>)"
        R"(<play playid="2,1,2" context="V,1,10,V25" type="R" text="Ray rush for 7 yards."/>)"
        R"(<play playid="2,2,3" context="V,2,3,V32" type="P" yds="21" first="P" text="Pass."/>)"
        R"(</qtr><qtr number="2">)"
        R"(<play playid="2,3,4" context="V,1,10,H47" type="E" yds="5" first="E" text="Offside."/>)"
        R"(<play playid="2,4,5" context="V,1,8,H8" type="R" yds="8" text="Ray rush, TOUCHDOWN."/>)"
        R"(<play type="#" text="Timeout Old Mill."/></qtr>)";
    GameSession session;
    ASSERT_TRUE(session.Reload({dir.Write("game.xml", game("", "", plays)), "", ""}).gameOpened);
    QStringList quarters, downs, spots, yards, codes;
    std::vector<int> teams, drives;
    for (const PlayLine &line : PlayLine::Build(session)) {
        quarters << line.quarter, downs << line.downDistance, spots << line.spot;
        yards << line.yards, codes << line.code;
        teams.push_back(line.team), drives.push_back(line.drive);
    }
    EXPECT_EQ(quarters, QStringList({"1", "1", "1", "2", "2", "2"}));
    EXPECT_EQ(teams, std::vector<int>({0, 1, 1, 1, 1, -1}));
    EXPECT_EQ(drives, std::vector<int>({1, 2, 2, 2, 2, 0}));
    EXPECT_EQ(downs, QStringList({"", "1st & 10", "2nd & 3", "1st & 10", "1st & Goal", ""}));
    // Past midfield the ball is on the other team's half.
    EXPECT_EQ(spots, QStringList({"OM35", "KB25", "KB32", "OM47", "OM8", ""}));
    // A kick without yards shows 0, a rush without them what its text tells.
    EXPECT_EQ(yards, QStringList({"0", "7", "21", "5", "8", "0"}));
    EXPECT_EQ(codes, QStringList({"", "r", "P", "X", "r", ""}));
    EXPECT_EQ(PlayLine::Build(session)[0].clock, "15:00");
}
