#include "gamedata/GameSituation.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/ScoreboardState.h"

#include "../support/ScratchDirectory.h"
#include "../support/TestTeams.h"

#include <gtest/gtest.h>

namespace
{

// The situation of a game file whose teams are "OM" (home) and "KB" (visitor).
GameSituation situationOf(const std::string &rules, const std::string &homeLine,
                          const std::string &visitorLine, const std::string &plays)
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_TRUE(document.Open(dir.Write(
        "game.xml", "<fbgame><venue>" + rules + "</venue>" +
                        R"(<team vh="H" name="Old Mill" id="OM" record=""><linescore )" + homeLine +
                        R"(</linescore><totals/></team>)" +
                        R"(<team vh="V" name="Kestrel Bay" id="KB" record=""><linescore )" +
                        visitorLine + "</linescore><totals/></team><plays>" + plays +
                        "</plays></fbgame>")));
    const std::array<CTeamStats, 2> teams = TeamsOf(document);
    ScoreboardState scoreboard;
    scoreboard.Read(document);
    return GameSituation::Read(document, teams, scoreboard);
}

} // namespace

TEST(GameSituation, LiveGameInTheThirdQuarter)
{
    const GameSituation situation =
        situationOf(R"(<rules qtrs="4" field="100"/>)", R"(score="10" line="3,7,0">)",
                    R"(score="14"><lineprd prd="1" score="7"/><lineprd prd="3" score="7"/>)",
                    R"(<qtr number="3"><play context="V,3,7,H35" text="A rush for 2 yards."/>
           <play text=""/><comment text="not a play"/></qtr>
           <downtogo qtr="3" clock="08:20" context="V,3,7,H35" htoh="2" vtoh="x"/>)");
    const GameSituation huge =
        situationOf(R"(<rules qtrs="4" field="100"/>)", R"(score="0">)", R"(score="0">)",
                    R"(<downtogo qtr="1" htoh="50000000" vtoh="4"/>)");
    EXPECT_EQ(huge.timeouts_left.home, 3) << "no team has more than three timeouts";
    EXPECT_EQ(huge.timeouts_left.visitor, 3);
    EXPECT_EQ(situation.period, 3);
    EXPECT_EQ(situation.period_label, "3rd");
    const GameSituation::LineScore &line = situation.line_score;
    EXPECT_EQ(line.periods, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(line.home, (std::vector<int>{3, 7, 0, 0})) << "from @line, padded to four";
    EXPECT_EQ(line.visitor, (std::vector<int>{7, 0, 7, 0})) << "from lineprd at its prd";
    EXPECT_EQ(line.home_total, 10);
    EXPECT_EQ(line.visitor_total, 14);
    EXPECT_EQ(situation.timeouts_left.home, 2);
    EXPECT_FALSE(situation.timeouts_left.visitor) << "a text that is no count says nothing";
    EXPECT_EQ(situation.possession, "visitor");
    EXPECT_EQ(situation.down_distance, "3rd & 7");
    EXPECT_EQ(situation.ball_on, "OM35");
    EXPECT_EQ(situation.last_play, "A rush for 2 yards.");
}

TEST(GameSituation, OvertimeGoalLineAndMidfield)
{
    const std::string twoOvertimes = R"(score="27" line="7,7,3,0,3,7">)";
    const GameSituation live = situationOf("", twoOvertimes, R"(score="24" line="0,7,10,0,3">)",
                                           R"(<downtogo qtr="6" context="H,1,8,V8"/>)");
    EXPECT_EQ(live.period_label, "2OT") << "four quarters when the rules do not say";
    EXPECT_EQ(live.line_score.periods, (std::vector<std::string>{"1", "2", "3", "4", "OT", "2OT"}));
    EXPECT_EQ(live.line_score.visitor.size(), 6u);
    EXPECT_EQ(live.down_distance, "1st & Goal");
    EXPECT_EQ(live.ball_on, "KB8");
    EXPECT_FALSE(live.timeouts_left.home);

    const GameSituation final =
        situationOf(R"(<rules qtrs="2" field="80"/>)", twoOvertimes, "score=\"0\">",
                    R"(<qtr number="3"><score final="Y"/></qtr>
                       <downtogo qtr="3" context="V,0,0,H40"/>)");
    EXPECT_EQ(final.period_label, "Final/OT");
    EXPECT_EQ(final.line_score.periods.at(2), "OT");
    EXPECT_EQ(final.down_distance, "") << "no down";
    EXPECT_EQ(final.ball_on, "50") << "midfield of an 80-yard field";
    EXPECT_EQ(final.possession, "visitor");
}

TEST(GameSituation, Labels)
{
    EXPECT_EQ(GameSituation::PeriodLabel(1, 4, false), "1st");
    EXPECT_EQ(GameSituation::PeriodLabel(2, 4, false), "2nd");
    EXPECT_EQ(GameSituation::PeriodLabel(5, 4, false), "OT");
    EXPECT_EQ(GameSituation::PeriodLabel(4, 4, true), "Final");
    EXPECT_EQ(GameSituation::PeriodLabel(7, 4, true), "Final/3OT");
    EXPECT_EQ(GameSituation::PeriodLabel(0, 4, false), "");
}

TEST(GameSituation, FileWithAbsurdPeriodsStaysSmall)
{
    const GameSituation situation = situationOf(
        R"(<rules qtrs="2000000000"/>)",
        R"(score="1"><lineprd prd="2000000000" score="9"/><lineprd prd="2" score="1"/>)",
        "score=\"0\">", "");
    EXPECT_EQ(situation.line_score.home, (std::vector<int>{0, 1, 0, 0}));
    EXPECT_FALSE(situation.possession) << "no downtogo";
    EXPECT_EQ(situation.ball_on, "");
}
