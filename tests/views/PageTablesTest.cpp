// The play-by-play and scoring tables built from a game: every row kind, its
// texts, shades and colours, the period filter and the time of possession.
#include "views/ChartListTables.h"
#include "views/ColumnFitting.h"
#include "views/PlayByPlayTable.h"
#include "views/ScoringTable.h"
#include "views/TextWrapper.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

// Texts in test failures as text, not as bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace
{

const char *const kTeams =
    R"(<team vh="H" name="Harbor City" id="HCM"/><team vh="V" name="Prairie" id="PAM"/>)";

// A game loaded from the given text; the teams are added after its root's start tag.
class GameText
{
public:
    explicit GameText(std::string xml, bool withTeams = true)
    {
        if (withTeams)
            xml.insert(xml.find('>') + 1, kTeams);
        opened_ = session_.Reload({dir_.Write("game.xml", xml), "", ""}).gameOpened;
    }
    const CGameDocument &document() const { return session_.game(); }
    const GameSession &session() const { return session_; }
    bool opened() const { return opened_; }
    StatTable PlayByPlay(const PlayByPlayOptions &options) const
    {
        return PlayByPlayTable::Build(session_, options, wrapper_);
    }

private:
    ScratchDirectory dir_;
    GameSession session_;
    TextWrapper wrapper_;
    bool opened_ = false;
};

// A cell's text as composed, "&" before a bold one.
QString drawn(const StatTable &table, int row, int column)
{
    const TableCell &cell = table.rows.at(row).Cell(column);
    return cell.bold ? "&" + cell.text : cell.text;
}

const char *const kPlays = R"(<fbgame>
<plays>
<qtr number="1">
  <drivestart vh="V" spot="V20" clock="15:00"/>
  <play context="V,1,10,V20" type="R" yds="3" text="Short run."/>
  <play context="V,2,7,V23" type="P" first="P" yds="12" text="Pass for a first down."/>
  <timeout team="V"/>
  <play context="V,1,10,V35" type="U" yds="40" text="Punt."/>
  <drivesum plays="3" yards="15" top="01:27"/>
  <comment text="Injury timeout."/>
  <endqtr/>
</qtr>
<qtr number="2">
  <drivestart vh="H" spot="H25" clock="14:10"/>
  <play context="H,3,7,V42" type="X" first="E" yds="15" text="Penalty, first down."/>
  <play text="Nothing known."/>
  <score H="7"/>
</qtr>
</plays>
</fbgame>)";

} // namespace

TEST(PlayByPlayTable, EveryRowKindWithItsTextsAndColours)
{
    const GameText game(kPlays);
    const StatTable table = game.PlayByPlay({});
    ASSERT_EQ(table.RowCount(), 11); // the timeout element gives no row
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), grey = RGB(128, 128, 128);

    EXPECT_EQ(drawn(table, 0, 2), "&Prairie drive start on PAM20 at 15:00");
    EXPECT_EQ(table.rows[0].BackgroundOf(2), black);
    EXPECT_EQ(table.rows[0].TextColorOf(2), white);

    EXPECT_EQ(drawn(table, 1, 0), "1-10");
    EXPECT_EQ(drawn(table, 1, 1), "PAM20");
    EXPECT_EQ(drawn(table, 1, 3), "r3");
    EXPECT_EQ(table.rows[1].BackgroundOf(0), white); // first play of a drive
    EXPECT_EQ(drawn(table, 2, 3), "&P12");
    EXPECT_EQ(table.rows[2].BackgroundOf(0), kShadedPlayColor);
    EXPECT_EQ(drawn(table, 3, 3), " 40");
    EXPECT_EQ(table.rows[3].BackgroundOf(0), white);

    EXPECT_EQ(drawn(table, 4, 2), "Drive summary: 3 plays, 15 yards");
    EXPECT_EQ(table.rows[4].BackgroundOf(2), grey);
    EXPECT_EQ(drawn(table, 5, 2), "Injury timeout.");
    EXPECT_EQ(table.rows[5].BackgroundOf(2), grey);
    EXPECT_EQ(drawn(table, 6, 2), "&End of quarter");
    EXPECT_EQ(table.rows[6].TextColorOf(2), white);
    EXPECT_EQ(table.rows[6].BackgroundOf(2), grey);

    // A new drive starts white again, whatever the shade before it.
    EXPECT_EQ(drawn(table, 7, 2), "&Harbor City drive start on HCM25 at 14:10");
    EXPECT_EQ(drawn(table, 8, 0), "3-7");
    EXPECT_EQ(drawn(table, 8, 1), "PAM42");
    EXPECT_EQ(drawn(table, 8, 3), "&X15");
    EXPECT_EQ(table.rows[8].BackgroundOf(0), white);
    // Missing attributes read as "0": no context, no yards.
    EXPECT_EQ(drawn(table, 9, 0), "0-0");
    EXPECT_EQ(drawn(table, 9, 3), " 0");
    EXPECT_EQ(table.rows[9].BackgroundOf(0), kShadedPlayColor);
    EXPECT_EQ(drawn(table, 10, 2), "Harbor City 7 - Prairie 0");
    EXPECT_EQ(table.rows[10].BackgroundOf(2), kScoreLineColor);
    EXPECT_EQ(table.rows[10].TextColorOf(2), black);
}

// Plays without yards of their own show what their text or the next spot
// tells, in a quarter shown alone too; a run nothing tells of shows no
// number, a penalty the "0" it always did.
TEST(PlayByPlayTable, YardsWorkedOutWhereThePlayHasNone)
{
    const GameText game(R"(<fbgame><plays>
<qtr number="1">
  <play playid="1,1,1" context="H,1,10,H20" type="R" text="Run up the middle."/>
  <play playid="1,2,2" context="H,2,3,H27" type="P" text="Pass complete for 12 yards."/>
  <play playid="1,3,3" context="H,1,10,H39" type="E" text="PENALTY HCM holding 10 yards."/>
</qtr>
<qtr number="2">
  <play playid="1,4,4" context="H,1,20,H29" type="R" text="Run for loss of 2 yards."/>
  <play playid="1,5,5" context="H,2,22,H27" type="P" yds="5" text="Pass for 9 yards."/>
  <play playid="2,1,6" context="V,1,10,V20" type="R" text="Run up the middle."/>
</qtr></plays></fbgame>)");
    StatTable table = game.PlayByPlay({});
    ASSERT_EQ(table.RowCount(), 6);
    EXPECT_EQ(drawn(table, 5, 3), "r") << "the last play has no next spot";
    EXPECT_EQ(drawn(table, 0, 3), "r7") << "from its spot to the next one";
    EXPECT_EQ(drawn(table, 1, 3), "p12");
    EXPECT_EQ(drawn(table, 2, 3), " 0");
    EXPECT_EQ(drawn(table, 3, 3), "r-2");
    EXPECT_EQ(drawn(table, 4, 3), "p5") << "the file's own yards win";

    table = game.PlayByPlay({2, false});
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(drawn(table, 0, 3), "r-2");
}

TEST(PlayByPlayTable, QuarterFilterAndPossessionTime)
{
    const GameText game(kPlays);
    StatTable table = game.PlayByPlay({2, false});
    ASSERT_EQ(table.RowCount(), 4);
    EXPECT_EQ(drawn(table, 0, 2), "&Harbor City drive start on HCM25 at 14:10");

    table = game.PlayByPlay({1, true});
    EXPECT_EQ(drawn(table, 4, 2), "Drive summary: 3 plays, 15 yards, TOP: 01:27");

    table = game.PlayByPlay({5, false});
    EXPECT_EQ(table.RowCount(), 0); // no "None" row
}

TEST(ScoringTable, Descriptions)
{
    using Facts = ScoringTable::ScoreFacts;
    auto td = [](std::string how, std::string patType, std::string patResult) {
        return Facts{"TD", how, "Oyelaran", "25", "Tillery", patType, "Brandt", patResult};
    };
    EXPECT_EQ(ScoringTable::Describe(td("PASS", "KICK", "GOOD")),
              "Oyelaran 25 yard pass from Tillery (Brandt kick)");
    EXPECT_EQ(ScoringTable::Describe(td("RUSH", "KICK", "BLKD")),
              "Oyelaran 25 yard run (Brandt kick blocked)");
    EXPECT_EQ(ScoringTable::Describe(td("INT", "RUSH", "0")),
              "Oyelaran 25 yard interception return (Brandt rush)");
    EXPECT_EQ(ScoringTable::Describe(td("KO", "PASS", "FAIL")),
              "Oyelaran 25 yard kickoff return (Brandt reception failed)");
    EXPECT_EQ(ScoringTable::Describe(td("PUNT", "DROPKICK", "INT")),
              "Oyelaran 25 yard punt return (Brandt drop kick intercepted)");
    EXPECT_EQ(ScoringTable::Describe(td("FUMB", "KICK", "FUMB")),
              "Oyelaran 25 yard fumble return (Brandt kick fumbled)");
    EXPECT_EQ(ScoringTable::Describe(td("FGA", "0", "GOOD")),
              "Oyelaran 25 yard field goal return ");
    EXPECT_EQ(ScoringTable::Describe(td("NETR", "KICK", "GOOD")),
              "Oyelaran 25 yard net recovery return (Brandt kick)");
    EXPECT_EQ(ScoringTable::Describe(td("OTHER", "KICK", "GOOD")), "");
    EXPECT_EQ(ScoringTable::Describe(Facts{"FG", "0", "Albrecht", "34", "0", "KICK", "X", "FAIL"}),
              "Field Goal MADE by Albrecht 34 yds");
    EXPECT_EQ(ScoringTable::Describe(Facts{"SAF", "PASS", "A", "0", "B", "KICK", "C", "GOOD"}), "");
}

TEST(ScoringTable, RowsColoursAndPossessionColumn)
{
    const GameText game(R"(<fbgame>
      <team vh="V" id="PAM"/><team vh="H" id="HCM"/>
      <scores>
        <score type="FG" vh="H" qtr="1" clock="09:41" scorer="Albrecht" yds="34" plays="9" top="04:12" hscore="14" vscore="7"/>
        <score type="SAF" vh="v" qtr="2" clock="01:00"/>
        <score type="SAF" vh="x' or @vh='H" qtr="3" clock="02:00"/>
      </scores></fbgame>)",
                        false);
    StatTable table = ScoringTable::Build(game.document(), false);
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.columns[ScoringTable::kTopColumn].width, 0);
    EXPECT_EQ(table.columns[ScoringTable::kTopColumn].caption, "");
    EXPECT_EQ(drawn(table, 0, ScoringTable::kTopColumn), "");
    EXPECT_EQ(drawn(table, 0, 0), "HCM");
    EXPECT_EQ(drawn(table, 0, 3), "Field Goal MADE by Albrecht 34 yds");
    EXPECT_EQ(drawn(table, 0, 4), "9 - ") << "no \"@drive\" and no drive named: empty";
    EXPECT_EQ(drawn(table, 0, 6), "14-7");
    EXPECT_EQ(table.rows[0].BackgroundOf(3), RGB(255, 255, 255));
    EXPECT_EQ(table.rows[0].TextColorOf(3), RGB(0, 0, 0));
    // "v" is not "H": a visitor row, with no team of that id.
    EXPECT_EQ(drawn(table, 1, 0), "");
    EXPECT_EQ(drawn(table, 1, 3), "");
    EXPECT_EQ(drawn(table, 1, 6), "0-0");
    EXPECT_EQ(table.rows[1].BackgroundOf(3), RGB(128, 128, 128));
    EXPECT_EQ(table.rows[1].TextColorOf(3), RGB(255, 255, 255));
    // A side that would change the team query names no team.
    EXPECT_EQ(drawn(table, 2, 0), "");

    table = ScoringTable::Build(game.document(), true);
    EXPECT_EQ(table.columns[ScoringTable::kTopColumn].width, 40);
    EXPECT_EQ(table.columns[ScoringTable::kTopColumn].caption, "TOP");
    EXPECT_EQ(drawn(table, 0, ScoringTable::kTopColumn), "04:12");

    const GameText empty("<fbgame><scores/></fbgame>");
    table = ScoringTable::Build(empty.document(), true);
    EXPECT_EQ(table.RowCount(), 0);
}

TEST(ScoringTable, AScoreWithoutItsDrivesDataTakesItFromTheDriveItNames)
{
    const GameText game(R"(<fbgame><drives><drive driveindex="4" plays="7" yards="62" top="03:05"/>
      </drives><scores><score driveindex="4"/><score driveindex="9"/>
        <score driveindex="4" plays="8" drive="70" top="04:00"/></scores></fbgame>)");
    const StatTable table = ScoringTable::Build(game.document(), true);
    const int top = ScoringTable::kTopColumn;
    EXPECT_EQ(drawn(table, 0, 4) + " " + drawn(table, 0, top), "7 - 62 03:05");
    EXPECT_EQ(drawn(table, 1, 4) + drawn(table, 1, top), "") << "no drive 9: empty, not 0 - 0";
    EXPECT_EQ(drawn(table, 2, 4) + " " + drawn(table, 2, top), "8 - 70 04:00") << "its own stand";

    const GameText derived(
        R"(<fbgame><scores><score driveindex="1"/></scores><plays><qtr number="1">
        <play playid="1,1,1" context="H,1,10,H25" type="R" yds="75" text="A rush" clock="15:00"/>
        <play playid="2,1,2" context="V,1,10,V25" type="R" yds="2" text="C rush" clock="14:50"/>
      </qtr></plays></fbgame>)");
    const StatTable worked = ScoringTable::Build(derived.document(), true);
    EXPECT_EQ(drawn(worked, 0, 4) + " " + drawn(worked, 0, top), "1 - 75 00:10");
}

TEST(ScoringTable, DriveThatLostGroundReadsAsInTheDrivesList)
{
    const GameText game(R"(<fbgame>
      <scores><score type="TD" vh="H" qtr="1" clock="09:41" plays="3" drive="-3"/></scores>
      <drives><drive driveindex="1" vh="H" plays="3" yards="-3" start="KO,1,15:00,20"
        end="TD,1,09:41,17"/></drives>
      <plays><qtr number="1"><drivestart driveindex="1,1" vh="H"/></qtr></plays></fbgame>)");
    const StatTable scoring = ScoringTable::Build(game.document(), false);
    EXPECT_EQ(drawn(scoring, 0, 4), "3 - -3");
    const StatTable list = BuildDriveListTable(
        CDriveChartData::Load(game.document(), game.session().teams(), DriveFilter{}), false);
    EXPECT_EQ(drawn(list, 0, 11), drawn(scoring, 0, 4));
}

TEST(PlayByPlayTable, LongTeamNamesAreCutAndAPlaysOwnTextNeverIs)
{
    std::string name;
    for (int i = 0; i < 30; ++i)
        name += "\xe2\x82\xac"; // 90 bytes of three-byte characters
    const std::string longText = std::string(300000, 'w') + " end";
    const GameText game(
        R"(<fbgame><team vh="H" name=")" + name +
            R"(" id="HCM"/><team vh="V" name="Prairie" id="PAM"/><plays><qtr number="1">
        <drivestart vh="H" spot="H20" clock="15:00"/>
        <play context="H,1,10,H20" type="R" yds="1" text=")" +
            longText + R"("/><score H="3" V="0"/></qtr></plays></fbgame>)",
        false);
    const StatTable table = game.PlayByPlay({});
    const QString cut = QString::fromStdString(name.substr(0, 63));
    EXPECT_EQ(drawn(table, 0, 2), "&" + cut + " drive start on HCM20 at 15:00");
    EXPECT_EQ(drawn(table, table.RowCount() - 1, 2), cut + " 3 - Prairie 0");
    // Six lines cut from the play's text, the seventh the rest of it, nothing lost.
    ASSERT_EQ(table.RowCount(), 1 + 7 + 1);
    QString play;
    for (int row = 1; row <= 7; ++row)
        play += drawn(table, row, 2);
    EXPECT_EQ(play, QString::fromStdString(longText));
}

// A bold play is wrapped in the bold face, so its lines fit the width they
// are wrapped to and the "Play" column needs no more; only a longer text that
// is not wrapped (a comment) widens it, where there is room.
TEST(PlayByPlayTable, BoldPlaysFitTheWidthTheyAreWrappedTo)
{
    const std::string words = "Mmmm Wwww Mmmm Wwww Mmmm Wwww Mmmm Wwww Mmmm Wwww Mmmm Wwww";
    const std::string play = R"(<fbgame><plays><qtr number="1">
        <play context="H,1,10,H20" type="R" yds="1" text="&amp;)" +
                             words + R"("/>)";
    const GameText boldOnly(play + "</qtr></plays></fbgame>");
    const GameText withComment(play + R"(<comment text=")" + words + " Mmmm" +
                               R"("/></qtr></plays></fbgame>)");
    for (int width = 120; width <= 240; width += 2) {
        StatTable table = boldOnly.PlayByPlay({0, false, width});
        ASSERT_GT(table.RowCount(), 1);
        EXPECT_TRUE(drawn(table, 0, PlayByPlayTable::kPlayColumn).startsWith("&Mmmm"));
        FitColumns(table, TextWrapper().Font(), 1000);
        EXPECT_EQ(table.DrawnWidth(PlayByPlayTable::kPlayColumn), width)
            << "a bold line wider than its wrap at width " << width;

        StatTable commented = withComment.PlayByPlay({0, false, width});
        FitColumns(commented, TextWrapper().Font(), 1000);
        EXPECT_GT(commented.DrawnWidth(PlayByPlayTable::kPlayColumn), width);
        for (const TableRow &row : commented.rows)
            EXPECT_FALSE(row.Cell(PlayByPlayTable::kPlayColumn).cut) << "width " << width;
    }
}
