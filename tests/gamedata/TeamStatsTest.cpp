#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

// Opens a game file made of the given team elements.
class GameFile
{
public:
    explicit GameFile(const std::string &teams)
    {
        const std::string path = dir_.Write("game.xml", "<fbgame>" + teams + "</fbgame>");
        opened_ = document_.Open(path);
    }
    const CGameDocument &document() const { return document_; }
    bool opened() const { return opened_; }

    CTeamStats Load(char side, bool *complete = nullptr) const
    {
        CTeamStats team;
        team.SetSide(side);
        const bool result = team.LoadGame(document_);
        if (complete)
            *complete = result;
        return team;
    }

private:
    ScratchDirectory dir_;
    CGameDocument document_;
    bool opened_ = false;
};

CTeamStats threePlayers()
{
    GameFile game(R"(<team vh="H" name="N" id="I" record="R">
        <player name="A" checkname="SMITH,J"/><player name="B" checkname="Smith,J"/>
        <player name="C" checkname="SMITH,J"/><totals/></team>)");
    return game.Load('H');
}

} // namespace

TEST(TeamStatsLookup, PlayerIndexIsClamped)
{
    const CTeamStats team = threePlayers();
    ASSERT_EQ(team.playerCount(), 3);
    EXPECT_EQ(team.GetPlayerValue(5, "Name"), "C");
    EXPECT_EQ(team.GetPlayerValue(-1, "Name"), "A");
    EXPECT_EQ(team.GetPlayerValue(1, "Unknown"), "");
    const CTeamStats empty;
    EXPECT_EQ(empty.GetPlayerValue(5, "Name"), "");
    EXPECT_EQ(empty.GetPlayerValue(-1, "Name"), "");
    EXPECT_EQ(empty.GetTeamValue("Name"), "");
}

TEST(TeamStatsLookup, CheckNameMatchesExactlyAndFirst)
{
    const CTeamStats team = threePlayers();
    EXPECT_EQ(team.FindPlayerByCheckName("SMITH,J"), 0);
    EXPECT_EQ(team.FindPlayerByCheckName("Smith,J"), 1);
    EXPECT_EQ(team.FindPlayerByCheckName("smith,j"), -1);
    EXPECT_EQ(team.FindPlayerByCheckName(""), -1);
}

TEST(TeamStatsCombine, SumsAndRatios)
{
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "3", "4"), "7");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "3", ""), "3");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, " 12abc", "-2"), "10");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Ratio, "45", "10"), "4.5");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Ratio, "45", "0"), "0.0");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Ratio, "45", ""), "0.0");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Ratio, "x", "7"), "0.0");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Ratio, "10", "3"), "3.3");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Ratio, "-4", "1"), "-4.0");
    // Sums that are not counts print as "%.0f" does.
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "-0", "-0"), "-0");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "0.5", "0"), "0");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "1.5", ""), "2");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "2.25", "2.25"), "4");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "-3", "1"), "-2");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "1e20", "0"), "100000000000000000000");
    EXPECT_EQ(CTeamStats::CombineValues(CombineKind::Sum, "999999999999999", "1"),
              "1000000000000000");
}

TEST(TeamStatsLoadGame, StopsAtAMissingIdentityAttribute)
{
    bool homeComplete = true, visitorComplete = false;
    GameFile game(R"(<team vh="H" name="Home" id="HOM"><player name="P"/><totals/></team>
                     <team vh="V" name="Away" id="AWY" record="1-0"><player name="Q"/><totals/></team>)");
    const CTeamStats home = game.Load('H', &homeComplete);
    const CTeamStats visitor = game.Load('V', &visitorComplete);
    EXPECT_FALSE(homeComplete);
    EXPECT_EQ(home.GetTeamValue("Name"), "Home");
    EXPECT_EQ(home.GetTeamValue("Short Name"), "HOM");
    EXPECT_EQ(home.playerCount(), 0);
    EXPECT_EQ(home.teamValues().size(), 2u) << "no totals after the stop";
    EXPECT_TRUE(visitorComplete);
    EXPECT_EQ(visitor.GetPlayerValue(0, "Name"), "Q");
    EXPECT_EQ(visitor.GetTeamValue("Record"), "1-0");
}

TEST(TeamStatsLoadGame, CategoryDefaultsAndDerivedValues)
{
    GameFile game(R"(<team vh="H" name="N" id="I" record="R">
        <player uni="4" name="Full Back" gp="1" shortname="Back" checkname="BACK,FULL">
          <pass comp="3" att="5"/>
          <rush att="10" yds="45"/>
          <rcv no="0" yds="15"/>
          <defense/>
          <pat kickmade="3" kickatt="4"/>
          <punt no="2"/>
        </player>
        <player name="Kicker"><defense tacka="2" tackua="3" tfla="1" sacka="1" ff="1"/><pat/></player>
        <totals/></team>)");
    const CTeamStats team = game.Load('H');
    ASSERT_EQ(team.playerCount(), 2);
    const auto value = [&](int player, const char *label) {
        return team.GetPlayerValue(player, label);
    };
    EXPECT_EQ(value(0, "No"), "4");
    EXPECT_EQ(value(0, "Short Name"), "Back");
    EXPECT_EQ(value(0, "Check Name"), "BACK,FULL");
    EXPECT_EQ(value(0, "Pass Sck"), "") << "passing attributes default to the empty text";
    EXPECT_TRUE(team.playerValues(0).contains("Pass Sck"));
    EXPECT_EQ(value(0, "Rush Avg"), "4.5");
    EXPECT_EQ(value(0, "Rcv Avg"), "0.0");
    EXPECT_EQ(value(0, "Def Has"), "1");
    for (const char *label :
         {"Def UTack", "Def ATack", "Def TTack", "Def TFL", "Def Sck", "Def FF", "Def PBU"})
        EXPECT_EQ(value(0, label), "0") << label;
    EXPECT_EQ(value(0, "FG PAT"), "3/4");
    EXPECT_EQ(value(0, "Punt Yds"), "0");
    EXPECT_EQ(value(0, "KO No"), "") << "no kickoff element, no kickoff labels";
    EXPECT_FALSE(team.playerValues(0).contains("KO No"));
    EXPECT_FALSE(team.playerValues(0).contains("FG Made"));

    EXPECT_EQ(value(1, "Def TTack"), "5");
    EXPECT_EQ(value(1, "Def TFL"), "1");
    EXPECT_EQ(value(1, "Def Sck"), "1");
    EXPECT_EQ(value(1, "Def FF"), "1");
    EXPECT_EQ(value(1, "FG PAT"), "0/0");
    EXPECT_FALSE(team.playerValues(1).contains("Pass Att"));
    EXPECT_EQ(value(1, "Short Name"), "") << "a missing identity attribute is stored empty";
    EXPECT_TRUE(team.playerValues(1).contains("Short Name"));
}

TEST(TeamStatsLoadGame, TeamTotals)
{
    GameFile game(R"(<team vh="V" name="N" id="I" record="R"><totals>
        <rush att="25" yds="75" gain="80" loss="5"/><pass att="20" comp="12" int="1" yds="150"/>
        <punt no="4" yds="170"/><penalties no="6" yds="45"/><misc top="31:02"/>
        <conversions thirdconv="4" thirdatt="11"/></totals></team>)");
    bool complete = false;
    const CTeamStats team = game.Load('V', &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(team.playerCount(), 0);
    const auto total = [&](const char *label) { return team.GetTeamValue(label); };
    EXPECT_EQ(total("Tot Off Yds"), "225");
    EXPECT_EQ(total("Tot Off Plays-Yds"), "45 - 225");
    EXPECT_EQ(total("Avg Gain per Play"), "5.0");
    EXPECT_EQ(total("Rush Att-Yds"), "25 - 75");
    EXPECT_EQ(total("Rush Avg"), "3.0");
    EXPECT_EQ(total("Rush Gain-Loss"), "80 - 5");
    EXPECT_EQ(total("Pass Att-Comp-Int"), "20 - 12 - 1");
    EXPECT_EQ(total("Punts-Avg"), "4 - 42.5");
    EXPECT_EQ(total("Penalties-Yds"), "6 - 45");
    EXPECT_EQ(total("Third-Down Conversions"), "4 - 11");
    EXPECT_EQ(total("Possession Time"), "31:02");
    EXPECT_EQ(total("FD"), "") << "no firstdowns element";
    EXPECT_EQ(total("FD Rush-Pass-Penalty"), " -  - ");
    EXPECT_EQ(total("Fumbles-Lost"), " - ");
    EXPECT_EQ(total("Sacks By-Yds"), " - ");
    EXPECT_EQ(team.teamValues().size(), 3u + 22u);
}

TEST(TeamStatsLoadGame, NoPuntsGiveZeroAverage)
{
    GameFile game(R"(<team vh="H" name="N" id="I" record="R"><totals/></team>)");
    EXPECT_EQ(game.Load('H').GetTeamValue("Punts-Avg"), " - 0.0");
}

TEST(TeamStatsLoadGame, MissingTotalsKeepsPlayersAndReportsIncomplete)
{
    GameFile game(R"(<team vh="H" name="N" id="I" record="R"><player name="P"/></team>)");
    bool complete = true;
    const CTeamStats team = game.Load('H', &complete);
    EXPECT_FALSE(complete);
    EXPECT_EQ(team.GetPlayerValue(0, "Name"), "P");
    EXPECT_EQ(team.GetTeamValue("FD"), "");
    EXPECT_EQ(team.teamValues().size(), 3u);
}

TEST(TeamStatsLoadGame, TwoTeamsOfOneSideAndAnyOrder)
{
    GameFile game(R"(<team vh="V" name="V1" id="V" record="0-1"><player name="v"/><totals/></team>
        <team vh="H" name="H1" id="A" record="1-0"><player name="a"/><totals><rush yds="10"/></totals></team>
        <team vh="H" name="H2" id="B" record="2-0"><player name="b"/><totals><rush yds="99"/></totals></team>)");
    const CTeamStats home = game.Load('H');
    EXPECT_EQ(home.GetTeamValue("Name"), "H1");
    EXPECT_EQ(home.GetTeamValue("Rush Yds"), "10");
    ASSERT_EQ(home.playerCount(), 2);
    EXPECT_EQ(home.GetPlayerValue(1, "Name"), "b");
    EXPECT_EQ(game.Load('V').GetTeamValue("Name"), "V1");
}

TEST(TeamStatsLoadGame, ReloadStartsFromEmpty)
{
    ScratchDirectory dir;
    CGameDocument document;
    CTeamStats team;
    team.SetSide('H');
    ASSERT_TRUE(document.Open(dir.Write("a.xml", R"(<fbgame><team vh="H" name="N" id="I" record="R">
        <player name="A"><pass att="3"/></player><player name="B"/><totals/></team></fbgame>)")));
    ASSERT_TRUE(team.LoadGame(document));
    ASSERT_TRUE(document.Open(dir.Write("b.xml", R"(<fbgame><team vh="H" name="N" id="I" record="R">
        <player name="A"/></team></fbgame>)")));
    EXPECT_FALSE(team.LoadGame(document));
    EXPECT_EQ(team.playerCount(), 1);
    EXPECT_EQ(team.GetPlayerValue(0, "Pass Att"), "");
    EXPECT_EQ(team.GetTeamValue("Rush Avg"), "");

    // A load that stops before the players, then one with more players.
    ASSERT_TRUE(document.Open(dir.Write("c.xml", R"(<fbgame><team vh="H" name="N"/></fbgame>)")));
    EXPECT_FALSE(team.LoadGame(document));
    EXPECT_EQ(team.playerCount(), 0);
    ASSERT_TRUE(document.Open(dir.Write("d.xml", R"(<fbgame><team vh="H" name="N" id="I" record="R">
        <player name="Cornelius Alexander"><rush att="2" yds="9"/></player><player/>
        <player name="E" uni="TM"><pat kickmade="1"/></player><totals/></team></fbgame>)")));
    EXPECT_TRUE(team.LoadGame(document));
    ASSERT_EQ(team.playerCount(), 3);
    std::vector<std::string> values;
    for (int i = 0; i < team.playerCount(); ++i) {
        team.playerValues(i).forEach([&](std::string_view label, const std::string &value) {
            values.push_back(std::string(label) + "=" + value);
        });
    }
    EXPECT_EQ(values, (std::vector<std::string>{"No=",         "Name=Cornelius Alexander",
                                                "Played=",     "Short Name=",
                                                "Check Name=", "Rush Att=2",
                                                "Rush Yds=9",  "Rush TD=",
                                                "Rush Lng=",   "Rush Avg=4.5",
                                                "No=",         "Name=",
                                                "Played=",     "Short Name=",
                                                "Check Name=", "No=TM",
                                                "Name=E",      "Played=",
                                                "Short Name=", "Check Name=",
                                                "FG PAT=1/0"}));
}

TEST(SeasonStats, LoadsPlayersAndTotalsAndMatchesByCheckName)
{
    ScratchDirectory dir;
    CGameDocument game;
    CXmlDocument season;
    ASSERT_TRUE(game.Open(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    ASSERT_TRUE(season.Open(PYLONIX_SAMPLES_DIR "/small/season-visitor.xml"));
    CTeamStats visitor;
    visitor.SetSide('V');
    ASSERT_TRUE(visitor.LoadGame(game));
    CSeasonStats seasonVisitor;
    seasonVisitor.SetSide('V');
    ASSERT_TRUE(seasonVisitor.LoadSeason(season));
    EXPECT_EQ(seasonVisitor.GetTeamValue("Name"), "Prairie A&M Comets");
    EXPECT_EQ(seasonVisitor.GetTeamValue("Record"), "");
    EXPECT_EQ(seasonVisitor.GetTeamValue("Rush Att-Yds"), "109 - 455");

    const int gamePlayer = visitor.FindPlayerByCheckName("NUNEZ,MARCO");
    ASSERT_GE(gamePlayer, 0);
    EXPECT_EQ(visitor.GetPlayerValue(gamePlayer, "Name"), "Marco Ñúñez");
    const int seasonPlayer =
        seasonVisitor.FindPlayerByCheckName(visitor.GetPlayerValue(gamePlayer, "Check Name"));
    ASSERT_GE(seasonPlayer, 0);
    EXPECT_EQ(seasonVisitor.GetPlayerValue(seasonPlayer, "Played"), "3");
    EXPECT_EQ(seasonVisitor.GetPlayerValue(seasonPlayer, "Rush Avg"), "4.8");
    EXPECT_FALSE(seasonVisitor.playerValues(seasonPlayer).contains("Short Name"));
    EXPECT_EQ(seasonVisitor.FindPlayerByCheckName("BRANDT,IVO"), -1) << "no season line";
}

TEST(SeasonStats, WithoutTotalsPlayersStillMatch)
{
    ScratchDirectory dir;
    CXmlDocument season;
    ASSERT_TRUE(season.Open(dir.Write("s.xml", R"(<fbseas><team name="N" id="I"/>
        <player name="A" gp="2" checkname="A,B"/><player name="Same" checkname="A,B"/></fbseas>)")));
    CSeasonStats stats;
    stats.SetSide('H');
    EXPECT_FALSE(stats.LoadSeason(season));
    EXPECT_EQ(stats.FindPlayerByCheckName("A,B"), 0);
    EXPECT_EQ(stats.GetTeamValue("FD"), "");
    EXPECT_EQ(stats.GetTeamValue("Short Name"), "I");
}

TEST(SeasonStats, PlayersWithoutCheckNamesMatchOnlyAnEmptyName)
{
    ScratchDirectory dir;
    CXmlDocument season;
    ASSERT_TRUE(season.Open(dir.Write("s.xml", R"(<fbseas><team name="N" id="I"/>
        <player name="A"/><player name="B"/><totals/></fbseas>)")));
    CSeasonStats stats;
    stats.SetSide('V');
    EXPECT_TRUE(stats.LoadSeason(season));
    EXPECT_EQ(stats.FindPlayerByCheckName(""), 0);
    EXPECT_EQ(stats.FindPlayerByCheckName("A"), -1);
}

TEST(SeasonStats, CheckNameLookUpFollowsEveryReloadAndClear)
{
    ScratchDirectory dir;
    CXmlDocument season;
    CSeasonStats stats;
    stats.SetSide('H');
    ASSERT_TRUE(season.Open(dir.Write("a.xml", R"(<fbseas><team name="N" id="I"/>
        <player name="A" checkname="A,A"/><player name="B" checkname="B,B"/><totals/></fbseas>)")));
    ASSERT_TRUE(stats.LoadSeason(season));
    EXPECT_EQ(stats.FindPlayerByCheckName("B,B"), 1);

    ASSERT_TRUE(season.Open(dir.Write("b.xml", R"(<fbseas><team name="N" id="I"/>
        <player name="B" checkname="B,B"/><player name="C" checkname="C,C"/>
        <player name="B2" checkname="B,B"/><totals/></fbseas>)")));
    ASSERT_TRUE(stats.LoadSeason(season));
    EXPECT_EQ(stats.FindPlayerByCheckName("A,A"), -1);
    EXPECT_EQ(stats.FindPlayerByCheckName("B,B"), 0);
    EXPECT_EQ(stats.FindPlayerByCheckName("C,C"), 1);

    stats.Clear();
    EXPECT_EQ(stats.FindPlayerByCheckName("C,C"), -1);
    EXPECT_EQ(stats.FindPlayerByCheckName(""), 0) << "cleared players have empty names";
}

TEST(SeasonStats, WrongRootOrEmptyDocumentLeavesItEmpty)
{
    ScratchDirectory dir;
    CXmlDocument season;
    ASSERT_TRUE(season.Open(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    CSeasonStats stats;
    stats.SetSide('H');
    EXPECT_FALSE(stats.LoadSeason(season));
    EXPECT_EQ(stats.playerCount(), 0);
    EXPECT_TRUE(stats.teamValues().empty());
    season.Recreate();
    EXPECT_FALSE(stats.LoadSeason(season));
    EXPECT_EQ(stats.playerCount(), 0);
}

TEST(SeasonStats, ClearKeepsThePlayerCountWithEmptyValues)
{
    CXmlDocument season;
    ASSERT_TRUE(season.Open(PYLONIX_SAMPLES_DIR "/small/season-home.xml"));
    CSeasonStats stats;
    stats.SetSide('H');
    ASSERT_TRUE(stats.LoadSeason(season));
    ASSERT_EQ(stats.playerCount(), 5);
    stats.Clear();
    EXPECT_EQ(stats.playerCount(), 5);
    EXPECT_TRUE(stats.teamValues().empty());
    for (int i = 0; i < stats.playerCount(); ++i)
        EXPECT_TRUE(stats.playerValues(i).empty());
    EXPECT_EQ(stats.FindPlayerByCheckName("ALBRECHT,SVEN"), -1);
}

TEST(StatValues, SetReplacesAndKeepsTheOrderOfFirstSetting)
{
    StatValues values;
    values.set("Pass Att", "12");
    values.set("Team Colour", "green"); // not a label of the vocabulary
    values.set("Name", "A");
    values.set("Pass Att", "13");
    values.set("Team Colour", "red");
    EXPECT_EQ(values.size(), 3u);
    EXPECT_EQ(values.get("Pass Att"), "13");
    EXPECT_EQ(values.get("Team Colour"), "red");
    EXPECT_EQ(values.get("Rush Att"), "");
    EXPECT_FALSE(values.contains("pass att")) << "labels are case-sensitive";
    std::vector<std::string> order;
    values.forEach([&](std::string_view label, const std::string &value) {
        order.push_back(std::string(label) + "=" + value);
    });
    EXPECT_EQ(order, (std::vector<std::string>{"Pass Att=13", "Team Colour=red", "Name=A"}));
    values.clear();
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(values.get("Name"), "");
}

TEST(StatValues, EveryLoaderLabelIsInTheVocabulary)
{
    CXmlDocument season;
    ASSERT_TRUE(season.Open(PYLONIX_SAMPLES_DIR "/small/season-home.xml"));
    CSeasonStats stats;
    ASSERT_TRUE(stats.LoadSeason(season));
    auto allKnown = [](const StatValues &values) {
        bool known = true;
        values.forEach([&](std::string_view label, const std::string &) {
            known = known && StatValues::LabelIndex(label) >= 0;
        });
        return known;
    };
    EXPECT_TRUE(allKnown(stats.teamValues()));
    for (int i = 0; i < stats.playerCount(); ++i)
        EXPECT_TRUE(allKnown(stats.playerValues(i))) << i;
    EXPECT_EQ(StatValues::LabelText(StatValues::LabelIndex("Punt In20")), "Punt In20");
}

TEST(StatValues, EveryTextReadsBackAsItWasSet)
{
    // Whole numbers and ratios at and beyond the ends of the shared range,
    // and texts that only look like numbers.
    const std::vector<std::string> texts = {
        "",     "0",     "-0",   "00",   "007",  "7",     "-7",    "-99",   "-100", "1999",
        "2000", "12345", "0.0",  "4.5",  "99.9", "100.0", "-4.5",  "4.50",  "04.5", "4.",
        ".5",   " 5",    "5 ",   "+5",   "1e2",  "x",     "Ñúñez", "1 - 2", "3/4",  "0.05",
        "-",    "99.99", "10.0", "1000", "-1.0", "9999",  "-99.9", "0-0",   "1.5.5"};
    std::vector<std::string> labels;
    for (size_t i = 0; i < texts.size(); ++i)
        labels.emplace_back(StatValues::LabelText(static_cast<int>(i)));
    StatValues values;
    for (size_t i = 0; i < texts.size(); ++i)
        values.set(labels[i], texts[i]);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(values.get(labels[i]), texts[i]) << labels[i];

    // Replacing turns each text into the one it mirrors.
    for (size_t i = 0; i < texts.size(); ++i)
        values.set(labels[i], texts[texts.size() - 1 - i]);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(values.get(labels[i]), texts[texts.size() - 1 - i]) << labels[i];
    EXPECT_EQ(values.size(), texts.size());
    values.set("Own Label", "-0");
    values.set("Own Label", "12");
    EXPECT_EQ(values.get("Own Label"), "12");
    values.clear();
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(values.get(labels[1]), "");
}
