// The values pages that lay the game out themselves are given: the leaders
// of each team, every play whole, and the drive summary.
#include "views/DriveSummary.h"
#include "views/GameLeaders.h"
#include "views/PlayLine.h"

#include "../support/ScratchDirectory.h"

#include "gamedata/CDriveChartData.h"
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
                 const std::string &drives, const std::string &plays)
{
    return R"(<fbgame><venue><rules qtrs="4" field="100"/></venue>)"
           R"(<team vh="H" name="Old Mill" id="OM" record=""><linescore score="0"/><totals/>)" +
           homePlayers +
           R"(</team><team vh="V" name="Kestrel Bay" id="KB" record=""><linescore score="0"/><totals/>)" +
           visitorPlayers + "</team><drives>" + drives + "</drives><plays>" + plays +
           "</plays></fbgame>";
}

const GameLeaders::Category &category(const GameLeaders &leaders, const QString &key)
{
    for (const GameLeaders::Category &c : leaders.categories)
        if (c.key == key)
            return c;
    throw std::runtime_error("no category " + key.toStdString());
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
        session.Reload({dir.Write("game.xml", game(home, visitor, "", "")), "", ""}).gameOpened);
    const GameLeaders leaders = GameLeaders::Build(session);

    QStringList keys;
    for (const GameLeaders::Category &c : leaders.categories)
        keys << c.key;
    EXPECT_EQ(keys, QStringList({"passing", "rushing", "receiving", "tackles"}));

    // Most yards first, more attempts first on equal yards; no more than three.
    const GameLeaders::Category &rushing = category(leaders, "rushing");
    EXPECT_EQ(names(rushing.teams[0]), QStringList({"Fast", "Busy", "Quick"}));
    EXPECT_EQ(rushing.teams[0][0].values, QStringList({"12", "75", "0", "9"}));
    EXPECT_EQ(names(rushing.teams[1]), QStringList({"Lone"})); // a loss still leads
    EXPECT_EQ(rushing.columns.size(), rushing.teams[0][0].values.size());

    const GameLeaders::Category &passing = category(leaders, "passing");
    EXPECT_EQ(passing.columns.front(), "C/A");
    ASSERT_EQ(passing.teams[0].size(), 1u);
    EXPECT_EQ(passing.teams[0][0].values, QStringList({"15/31", "245", "2", "1"}));
    EXPECT_TRUE(passing.teams[1].empty());

    const GameLeaders::Category &tackles = category(leaders, "tackles");
    ASSERT_EQ(names(tackles.teams[0]), QStringList({"Arm"}));
    const QStringList tackled = tackles.teams[0][0].values;
    EXPECT_EQ(tackled[tackles.columns.indexOf("TOT")], "7"); // solo and assisted
    EXPECT_EQ(names(category(leaders, "receiving").teams[0]), QStringList({"Hand"}));
}

TEST(LivePageValues, PlaysWholeWithTheirSituationCodeAndYards)
{
    ScratchDirectory dir;
    const std::string plays =
        R"(<qtr number="1">)"
        R"(<play playid="1,1,1" context="H,0,0,H35" type="K" text="Kickoff." clock="15:00"/>)"
        R"(<play playid="2,1,2" context="V,1,10,V25" type="R" text="Ray rush for 7 yards to the KB32."/>)"
        R"(<play playid="2,2,3" context="V,2,3,V32" type="P" yds="21" first="P" text="Ray pass complete."/>)"
        R"(</qtr><qtr number="2">)"
        R"(<play playid="2,3,4" context="V,1,10,H47" type="E" yds="5" first="E" text="PENALTY OM offside."/>)"
        R"(<play playid="2,4,5" context="V,1,8,H8" type="R" yds="8" text="Ray rush for 8 yards, TOUCHDOWN."/>)"
        R"(<play type="#" text="Timeout Old Mill."/></qtr>)";
    GameSession session;
    ASSERT_TRUE(
        session.Reload({dir.Write("game.xml", game("", "", "", plays)), "", ""}).gameOpened);
    const std::vector<PlayLine> lines = PlayLine::Build(session);
    ASSERT_EQ(lines.size(), 6u);

    EXPECT_EQ(lines[0].quarter, "1");
    EXPECT_EQ(lines[0].clock, "15:00");
    EXPECT_EQ(lines[0].team, 0);
    EXPECT_EQ(lines[0].yards, "0"); // a kick without yards shows 0
    EXPECT_EQ(lines[0].code, "");
    EXPECT_EQ(lines[0].downDistance, "");

    EXPECT_EQ(lines[1].team, 1);
    EXPECT_EQ(lines[1].drive, 2);
    EXPECT_EQ(lines[1].downDistance, "1st & 10");
    EXPECT_EQ(lines[1].spot, "KB25");
    EXPECT_EQ(lines[1].yards, "7"); // told by the text
    EXPECT_EQ(lines[1].code, "r");
    EXPECT_EQ(lines[1].text, "Ray rush for 7 yards to the KB32.");

    EXPECT_EQ(lines[2].code, "P"); // a first down by pass
    EXPECT_EQ(lines[3].quarter, "2");
    EXPECT_EQ(lines[3].code, "X");
    EXPECT_EQ(lines[3].spot, "OM47"); // past midfield: the other team's half
    EXPECT_EQ(lines[4].downDistance, "1st & Goal");
    EXPECT_EQ(lines[5].team, -1); // no context
    EXPECT_EQ(lines[5].spot, "");
}

TEST(LivePageValues, DriveSummaryOfEveryDriveWithItsPlaysAndYards)
{
    ScratchDirectory dir;
    const std::string drives =
        R"(<drive driveindex="1" vh="V" plays="3" yards="-3" top="01:29" start="KO,1,15:00,25" end="PUNT,1,13:31,22"/>)"
        R"(<drive driveindex="2" vh="H" plays="9" yards="48" top="04:12" start="PUNT,2,13:31,35"/>)";
    // The list follows the drive starts of the play-by-play.
    const std::string plays =
        R"(<qtr number="1"><drivestart driveindex="1,1" vh="V" spot="V25" clock="15:00"/>)"
        R"(<play playid="1,1,1" context="V,1,10,V25" type="R" yds="2" text="Run."/></qtr>)"
        R"(<qtr number="2"><drivestart driveindex="2,1" vh="H" spot="H35" clock="13:31"/>)"
        R"(<play playid="2,1,2" context="H,1,10,H35" type="R" yds="5" text="Run."/></qtr>)";
    GameSession session;
    ASSERT_TRUE(
        session.Reload({dir.Write("game.xml", game("", "", drives, plays)), "", ""}).gameOpened);
    const std::vector<DriveSummary> summary =
        DriveSummary::Build(CDriveChartData::Load(session.game(), session.teams(), DriveFilter{}));
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(summary[0].team, 1);
    EXPECT_EQ(summary[0].start, "KO");
    EXPECT_EQ(summary[0].spot, "25");
    EXPECT_EQ(summary[0].clock, "15:00");
    EXPECT_EQ(summary[0].end, "PUNT");
    EXPECT_EQ(summary[0].playsYards, "3 - -3");
    EXPECT_EQ(summary[0].top, "01:29");
    EXPECT_EQ(summary[1].team, 0);
    EXPECT_EQ(summary[1].quarter, "2");
    EXPECT_EQ(summary[1].end, ""); // still going on
}
