// CTeamStats reads each player in one walk; PerQueryTeamLoader asks one XPath
// question per value. Both must give the same labels, values and order.

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"

#include "../support/PerQueryTeamLoader.h"
#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

void expectSame(const PerQueryTeamLoader::Team &loaded, const PerQueryTeamLoader::Team &expected,
                const std::string &what)
{
    EXPECT_EQ(loaded.complete, expected.complete) << what;
    EXPECT_EQ(loaded.team, expected.team) << what;
    ASSERT_EQ(loaded.players.size(), expected.players.size()) << what;
    for (size_t i = 0; i < loaded.players.size(); ++i)
        EXPECT_EQ(loaded.players[i], expected.players[i]) << what << ", player " << i;
}

void expectGameLoadsAsPerQuery(const CGameDocument &document, const std::string &what)
{
    for (const char side : {'H', 'V'}) {
        CTeamStats team;
        team.SetSide(side);
        const bool complete = team.LoadGame(document);
        expectSame(PerQueryTeamLoader::Describe(team, complete),
                   PerQueryTeamLoader::LoadGame(document, side), what + " side " + side);
    }
}

void expectSeasonLoadsAsPerQuery(const CXmlDocument &document, const std::string &what)
{
    CSeasonStats season;
    season.SetSide('V');
    const bool complete = season.LoadSeason(document);
    expectSame(PerQueryTeamLoader::Describe(season, complete),
               PerQueryTeamLoader::LoadSeason(document), what);
}

} // namespace

TEST(PlayerLoad, SampleFilesLoadAsWithOneQueryPerValue)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    for (const char *name : {"/game-final.xml", "/game-live.xml", "/small/game.xml"}) {
        CGameDocument game;
        ASSERT_TRUE(game.Open(samples + name)) << name;
        expectGameLoadsAsPerQuery(game, name);
    }
    for (const char *name : {"/season-home.xml", "/season-visitor.xml", "/small/season-home.xml",
                             "/small/season-visitor.xml"}) {
        CXmlDocument season;
        ASSERT_TRUE(season.Open(samples + name)) << name;
        expectSeasonLoadsAsPerQuery(season, name);
    }
}

// Players written in every odd way a file can hold them: attributes in any
// order, missing or empty, names that only look like those read, a category
// twice, categories nested too deep, non-element nodes named like categories.
TEST(PlayerLoad, OddPlayersLoadAsWithOneQueryPerValue)
{
    const std::string players = R"(
        <player checkname="LAST" gp="" name="Attributes Reversed" uni="7" shortname="A.R."/>
        <player/>
        <player uni="1" Uni="2" name="Case" NAME="x"><Pass att="9"/><RUSH att="3"/></player>
        <player name="Twice"><rush att="10" yds="45"/><rush att="1" yds="99"/>
            <rcv yds="30"/><rcv no="3" yds="31"/></player>
        <player name="Empty attributes"><pass comp="" att="" sacks=""/>
            <rush att="" yds=""/><defense tacka="" tackua="" sacka="" sackua=""/>
            <pat kickmade=""/></player>
        <player name="Bare elements"><defense/><pat/><fg/><punt/><ko/><kr/><pr/><ir/><fr/>
            <rcv/><rush/><pass/></player>
        <player name="Every attribute">
            <fr no="1" yds="2" td="3" long="4" extra="5"/><ir long="8" td="7" yds="6" no="5"/>
            <pr no="9" yds="10" td="11" long="12"/><kr no="13" yds="14" td="15" long="16"/>
            <ko no="17" yds="18" tb="19"/>
            <punt no="20" yds="21" long="22" blkd="23" tb="24" plus50="25" inside20="26"/>
            <pat kickatt="27" kickmade="28"/><fg made="29" att="30" long="31" blkd="32"/>
            <defense tackua="33" tacka="34" tfla="35" tflua="36" tflyds="37" sacka="38"
                     sackua="39" sackyds="40" int="41" intyds="42" brup="43" blkd="44" ff="45"
                     fr="46"/>
            <rcv no="47" yds="48" td="49" long="50"/><rush att="51" yds="52" td="53" long="54"/>
            <pass comp="55" att="56" int="57" yds="58" td="59" long="60" sacks="61"/></player>
        <player name="Not numbers"><rush att="x" yds=" 12abc"/><rcv no="0" yds="-7"/>
            <defense tacka="1.5" tackua="2.25" tfla="1e2" sacka="-1"/></player>
        <player name="Hidden"><stats><pass att="3"/></stats><!-- <rush att="1"/> -->
            <?rush att="2"?>text<![CDATA[<rcv no="1"/>]]><kr no="2">inner text</kr></player>
    )";
    ScratchDirectory dir;
    CGameDocument game;
    ASSERT_TRUE(game.Open(dir.Write("game.xml", "<fbgame><team vh=\"V\" name=\"N\" id=\"I\" "
                                                "record=\"R\">" +
                                                    players + "<totals/></team></fbgame>")))
        << game.LastError();
    expectGameLoadsAsPerQuery(game, "odd game players");

    CXmlDocument season;
    ASSERT_TRUE(season.Open(
        dir.Write("season.xml", "<fbseas><team name=\"N\" id=\"I\"/>" + players + "</fbseas>")))
        << season.LastError();
    expectSeasonLoadsAsPerQuery(season, "odd season players");

    CTeamStats team;
    team.SetSide('V');
    team.LoadGame(game);
    ASSERT_EQ(team.playerCount(), 9);
    // A few values spelled out, so that both loaders cannot be wrong alike.
    EXPECT_EQ(team.GetPlayerValue(0, "Short Name"), "A.R.");
    EXPECT_EQ(team.GetPlayerValue(0, "Played"), "");
    EXPECT_FALSE(team.playerValues(2).contains("Pass Att"));
    EXPECT_EQ(team.GetPlayerValue(2, "No"), "1");
    EXPECT_EQ(team.GetPlayerValue(3, "Rush Avg"), "4.5");
    EXPECT_EQ(team.GetPlayerValue(3, "Rcv Avg"), "0.0");
    EXPECT_EQ(team.GetPlayerValue(4, "Pass Sck"), "");
    EXPECT_EQ(team.GetPlayerValue(4, "FG PAT"), "/0");
    EXPECT_EQ(team.GetPlayerValue(5, "FG PAT"), "0/0");
    EXPECT_EQ(team.GetPlayerValue(5, "Def FF"), "0");
    EXPECT_EQ(team.GetPlayerValue(5, "Def Sck"), "0");
    EXPECT_EQ(team.GetPlayerValue(5, "Pass Att"), "");
    EXPECT_EQ(team.GetPlayerValue(6, "FG PAT"), "28/27");
    EXPECT_EQ(team.GetPlayerValue(6, "Def TFL"), "71");
    EXPECT_EQ(team.GetPlayerValue(6, "IR Lng"), "8");
    EXPECT_EQ(team.GetPlayerValue(7, "Rush Avg"), "0.0");
    EXPECT_EQ(team.GetPlayerValue(7, "Def TTack"), "4");
    EXPECT_EQ(team.GetPlayerValue(7, "Def TFL"), "100");
    EXPECT_FALSE(team.playerValues(8).contains("Pass Att"));
    EXPECT_FALSE(team.playerValues(8).contains("Rush Att"));
    EXPECT_EQ(team.GetPlayerValue(8, "KR No"), "2");
    EXPECT_EQ(team.playerValues(8).size(), 9u) << "identity and the four kr labels";
}

// Team totals where the first child of a name lacks an attribute a later one
// has, children that only look like totals, and attributes out of order.
TEST(PlayerLoad, OddTotalsLoadAsWithOneQueryPerValue)
{
    const std::string totals = R"(<totals>
        <rush att="5"/><rush yds="40" att="9" loss="3"/><rush gain="50" loss="4"/>
        <!-- <pass att="1"/> --><?pass att="2"?><Pass att="3"/><x><pass att="4"/></x>
        <pass yds="" comp="7"/><pass att="12" int="1"/>
        <punt yds="170"/><punt no="4" yds="1"/><misc top=""/><misc top="31:20"/>
        <conversions fourthatt="2" thirdatt="11" fourthconv="1" thirdconv="4"/>
        <firstdowns no="x" penalty="2"/><defense sackyds="19"/><defense sacks="3"/>
        <fumbles/><penalties no="6" yds="45"/><kr no="3" yds="60"/><fr/>
        </totals>)";
    ScratchDirectory dir;
    CGameDocument game;
    ASSERT_TRUE(
        game.Open(dir.Write("game.xml", R"(<fbgame><team vh="H" name="N" id="I" record="R">)" +
                                            totals + "</team></fbgame>")))
        << game.LastError();
    expectGameLoadsAsPerQuery(game, "odd game totals");
    CXmlDocument season;
    ASSERT_TRUE(season.Open(
        dir.Write("season.xml", R"(<fbseas><team name="N" id="I"/>)" + totals + "</fbseas>")))
        << season.LastError();
    expectSeasonLoadsAsPerQuery(season, "odd season totals");

    CTeamStats team;
    team.LoadGame(game);
    EXPECT_EQ(team.GetTeamValue("Rush Att-Yds"), "5 - 40");
    EXPECT_EQ(team.GetTeamValue("Rush Gain-Loss"), "50 - 3");
    EXPECT_EQ(team.GetTeamValue("Pass Att-Comp-Int"), "12 - 7 - 1");
    EXPECT_EQ(team.GetTeamValue("Pass Yds"), "");
    EXPECT_EQ(team.GetTeamValue("Punts-Avg"), "4 - 42.5");
    EXPECT_EQ(team.GetTeamValue("Possession Time"), "");
    EXPECT_EQ(team.GetTeamValue("Sacks By-Yds"), "3 - 19");
    EXPECT_EQ(team.GetTeamValue("Avg Gain per Play"), "2.4");
}
