#include "views/OverviewText.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"

#include "../support/ScratchDirectory.h"

#include <array>
#include <gtest/gtest.h>

namespace
{

struct LoadedGame {
    CGameDocument game;
    std::array<CTeamStats, 2> teams;
};

void load(LoadedGame &loaded, const std::string &venue, const std::string &homeRecord,
          const std::string &plays = "")
{
    ScratchDirectory dir;
    const std::string xml =
        "<fbgame>" + venue + R"(<team vh="H" name="Harbor Gulls" id="HG" record=")" + homeRecord +
        R"("><totals/></team>)" +
        R"(<team vh="V" name="Prairie Comets" id="PC"><totals/></team><plays>)" + plays +
        "</plays></fbgame>";
    ASSERT_TRUE(loaded.game.Open(dir.Write("game.xml", xml)));
    loaded.teams[0].SetSide('H');
    loaded.teams[1].SetSide('V');
    for (CTeamStats &team : loaded.teams)
        team.LoadGame(loaded.game);
}

} // namespace

TEST(OverviewText, FullVenueWithOfficialsInTheirFixedOrder)
{
    LoadedGame loaded;
    load(
        loaded,
        R"(<venue location="Harbor City" stadium="Lighthouse Field" start="1:05 PM" end="4:01 PM" )"
        R"(date="09/12/2026" duration="2:56" attend="18,450">)"
        R"(<officials sc="Pat Lindqvist" ref="Dale Varga"/></venue>)",
        "3-1");
    EXPECT_EQ(BuildOverviewText(loaded.teams, loaded.game),
              "Harbor Gulls - Record 3-1\n"
              "Prairie Comets - Record unavailable\n"
              "\nLocation: Harbor City"
              "\nStadium: Lighthouse Field"
              "\nTime: 1:05 PM to 4:01 PM on 09/12/2026 (length 2:56)"
              "\nAttendance: 18,450"
              "\n"
              "\nReferee: Dale Varga"
              "\nScorer: Pat Lindqvist");
}

TEST(OverviewText, MissingValuesKeepTheirCaptionsAndASpaceRecordIsUnavailable)
{
    LoadedGame loaded;
    load(loaded, R"(<venue date="10/01/2026"/>)", " ");
    EXPECT_EQ(BuildOverviewText(loaded.teams, loaded.game), "Harbor Gulls - Record unavailable\n"
                                                            "Prairie Comets - Record unavailable\n"
                                                            "\nLocation: \nStadium: "
                                                            "\nTime:  to  on 10/01/2026 (length )"
                                                            "\nAttendance: ");
}

TEST(OverviewText, EmptyOfficialsElementAddsOneEmptyLine)
{
    LoadedGame loaded;
    load(loaded, R"(<venue attend="900"><officials/></venue>)", "0-0");
    const std::string text = BuildOverviewText(loaded.teams, loaded.game);
    EXPECT_TRUE(text.ends_with("\nAttendance: 900\n")) << text;
}

TEST(OverviewText, EveryOfficialHasItsOwnCaption)
{
    LoadedGame loaded;
    load(
        loaded,
        R"(<venue><officials bj="B" fj="F" lj="LJ" line="L" ref="R" sc="S" sj="SJ" ump="U"/></venue>)",
        "1-0");
    const std::string text = BuildOverviewText(loaded.teams, loaded.game);
    EXPECT_TRUE(text.ends_with("\nAttendance: \n\nReferee: R\nUmpire: U\nLinesman: L"
                               "\nLine judge: LJ\nBack judge: B\nField judge: F\nSide judge: SJ"
                               "\nScorer: S"))
        << text;
}

TEST(PeriodEntries, QuartersThenOvertimePeriodsFoundInThePlays)
{
    LoadedGame loaded;
    load(loaded, R"(<venue><rules qtrs="4"/></venue>)", "",
         R"(<qtr number="1"/><qtr number="4"/><qtr number="6"/><qtr number="5"/>)");
    EXPECT_EQ(BuildPeriodEntries(loaded.game),
              (std::vector<std::string>{"Entire Game", "Quarter 1", "Quarter 2", "Quarter 3",
                                        "Quarter 4", "Overtime", "Overtime 2"}));
}

TEST(PeriodEntries, NoRulesAndNoPlaysLeaveTheWholeGameOnly)
{
    LoadedGame loaded;
    load(loaded, "<venue/>", "");
    EXPECT_EQ(BuildPeriodEntries(loaded.game), std::vector<std::string>{"Entire Game"});

    LoadedGame regulation;
    load(regulation, R"(<venue><rules qtrs="2"/></venue>)", "", R"(<qtr number="2"/>)");
    EXPECT_EQ(BuildPeriodEntries(regulation.game),
              (std::vector<std::string>{"Entire Game", "Quarter 1", "Quarter 2"}));
}
