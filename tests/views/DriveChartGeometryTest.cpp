// The drive chart laid out as values: scale, rows, scrolling, hit rectangles,
// arrows and read-outs for a list and a client size, without a widget.
#include "views/DriveChartGeometry.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "views/ChartListTables.h"
#include "views/DriveChartReadout.h"

#include "../support/ScratchDirectory.h"
#include "../support/TestTeams.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

// A drive as the game file gives it: spots count from the team's own goal line.
struct Drive {
    char vh = 'H';
    int startSpot = 20;
    int endSpot = 30;
    int yards = 10;
};

class DriveChartGeometryTest : public testing::Test
{
protected:
    // The list of `drives` (drive k has index k + 1), or of the plays of drive 1.
    CDriveChartData List(const std::vector<Drive> &drives, bool playsOfFirst = false)
    {
        std::string xml = R"(<fbgame><venue><rules field="100"/></venue>
            <team vh="H" id="HOM" name="Home" record=""><totals/></team>
            <team vh="V" id="AWY" name="Away" record=""><totals/></team><drives>)";
        std::string starts;
        for (std::size_t k = 0; k < drives.size(); ++k) {
            const Drive &d = drives[k];
            const std::string index = std::to_string(k + 1);
            xml += "<drive driveindex=\"" + index + "\" vh=\"" + d.vh + "\" plays=\"3\" yards=\"" +
                   std::to_string(d.yards) + "\" top=\"04:12\" start=\"KO,1,15:00," +
                   std::to_string(d.startSpot) + "\" end=\"PUNT,1,10:48," +
                   std::to_string(d.endSpot) + "\"/>";
            starts += "<drivestart driveindex=\"" + index + ",1\" vh=\"" + d.vh + "\"/>";
        }
        xml +=
            "</drives><plays><qtr number=\"1\">" + starts +
            R"(<play playid="1,1,1" context="H,1,10,H20" type="R" yds="5" text="Run." clock="14:30"/>
               </qtr></plays></fbgame>)";
        CGameDocument document;
        EXPECT_TRUE(document.Open(dir_.Write("game.xml", xml)));
        const std::array<CTeamStats, 2> teams = TeamsOf(document);
        DriveFilter filter;
        if (playsOfFirst)
            filter.playsOfDrive = 1;
        return CDriveChartData::Load(document, teams, filter);
    }
    CDriveChartData Uniform(int count) { return List(std::vector<Drive>(count, Drive{})); }

    ScratchDirectory dir_;
};

} // namespace

TEST_F(DriveChartGeometryTest, TheFieldScalesWithTheWidthAndKeepsTwoPixelsAYard)
{
    const DriveChartGeometry wide(Uniform(1), QSize(600, 300), 0);
    EXPECT_EQ(wide.pixelsPerYard(), 5);
    EXPECT_EQ(wide.leftMargin(), 0);
    EXPECT_EQ(wide.YardToX(0), 50) << "the home goal line";
    EXPECT_EQ(wide.YardToX(100), 550);
    const DriveChartGeometry narrow(Uniform(1), QSize(200, 300), 0);
    EXPECT_EQ(narrow.pixelsPerYard(), 2) << "200 / 120 is 1, raised to 2";
    EXPECT_EQ(narrow.leftMargin(), -20);
    EXPECT_EQ(narrow.FieldRect(), CRect(-20, 0, 220, 300));
    EXPECT_EQ(narrow.HomeNameAnchor(), QPoint(-7, 150)) << "6.67 yards, truncated";
    EXPECT_EQ(narrow.VisitorNameAnchor(), QPoint(206, 150));
}

TEST_F(DriveChartGeometryTest, RowsScrollOnlyWhenTheyDoNotFitAboveTheNumbers)
{
    const DriveChartGeometry scrolling(Uniform(23), QSize(600, 250), 5);
    EXPECT_EQ(scrolling.rowArea(), 200);
    EXPECT_TRUE(scrolling.scrolling()) << "200 < 9 * 23 - 3";
    EXPECT_EQ(scrolling.visibleRows(), 22);
    EXPECT_EQ(scrolling.firstRow(), 1) << "the rows may not end above the bottom";
    EXPECT_EQ(scrolling.RowClip(), CRect(0, 20, 600, 221));
    EXPECT_EQ(scrolling.HitRect(0), CRect(-1, -1, -1, -1)) << "scrolled off the top";
    EXPECT_EQ(scrolling.HitRect(1).top, 20);

    const DriveChartGeometry fitting(Uniform(22), QSize(600, 250), 5);
    EXPECT_FALSE(fitting.scrolling()) << "9 * 22 - 3 = 195 fits into 200";
    EXPECT_EQ(fitting.firstRow(), 0);
    EXPECT_EQ(fitting.RowClip(), std::nullopt);
    EXPECT_EQ(fitting.HitRect(21).top, 20 + 9 * 21);

    const DriveChartGeometry empty(CDriveChartData(), QSize(600, 250), 0);
    EXPECT_EQ(empty.visibleRows(), 0);
    EXPECT_EQ(empty.HitTest(QPoint(200, 23)), -1);
}

TEST_F(DriveChartGeometryTest, EntriesAreArrowsTheWayTheyWentOrBoxesWhenGroundWasLost)
{
    // Home 20 -> 65; visitor 20 -> 30 (home-relative 80 -> 70); home 30 -> 25
    // lost ground; home 42 -> 42, a mark one pixel wide.
    const DriveChartGeometry g(
        List({{'H', 20, 65, 45}, {'V', 20, 30, 10}, {'H', 30, 25, -5}, {'H', 42, 42, 0}}),
        QSize(600, 400), 0);
    EXPECT_EQ(g.HitRect(0), CRect(150, 20, 376, 27));
    EXPECT_EQ(*g.ArrowPoints(0), QPolygon({QPoint(150, 20), QPoint(370, 20), QPoint(375, 23),
                                           QPoint(370, 26), QPoint(150, 26)}));
    EXPECT_EQ(g.HitRect(1), CRect(400, 29, 451, 36));
    EXPECT_EQ(*g.ArrowPoints(1), QPolygon({QPoint(450, 29), QPoint(405, 29), QPoint(400, 32),
                                           QPoint(405, 35), QPoint(450, 35)}));
    EXPECT_TRUE(g.IsBox(2));
    EXPECT_FALSE(g.ArrowPoints(2));
    EXPECT_EQ(g.HitRect(3), CRect(260, 47, 261, 54));
    EXPECT_EQ(g.ArrowPoints(3)->at(2), QPoint(260, 50));
}

TEST_F(DriveChartGeometryTest, PointingFindsTheEntryByItsLeftAndTopEdges)
{
    const DriveChartGeometry g(List({{'H', 20, 65, 45}, {'H', 20, 65, 45}}), QSize(600, 400), 0);
    EXPECT_EQ(g.HitTest(QPoint(150, 20)), 0);
    EXPECT_EQ(g.HitTest(QPoint(375, 26)), 0);
    EXPECT_EQ(g.HitTest(QPoint(376, 23)), -1) << "right edge excluded";
    EXPECT_EQ(g.HitTest(QPoint(200, 27)), -1) << "the gap between rows";
    EXPECT_EQ(g.HitTest(QPoint(200, 29)), 1);
}

TEST_F(DriveChartGeometryTest, ScrollCodesAndShowingAnEntryStayWithinTheList)
{
    const CDriveChartData list = Uniform(40);
    const DriveChartGeometry top(list, QSize(600, 250), 0);
    EXPECT_EQ(top.ScrollTarget(DriveChartScroll::PageDown, 0), 18) << "stopped at 40 - 22";
    EXPECT_EQ(top.ScrollTarget(DriveChartScroll::LineUp, 0), 0);
    EXPECT_EQ(top.ScrollTarget(DriveChartScroll::ThumbTrack, 7), 7);
    EXPECT_EQ(top.ScrollTarget(DriveChartScroll::Bottom, 0), 18);
    EXPECT_EQ(top.RowToShow(27), 6) << "entry 27 becomes the bottom row";
    EXPECT_EQ(top.RowToShow(40), 0) << "outside the list: no movement";
    const DriveChartGeometry middle(list, QSize(600, 250), 10);
    EXPECT_EQ(middle.ScrollTarget(DriveChartScroll::PageUp, 0), 0);
    EXPECT_EQ(middle.ScrollTarget(DriveChartScroll::EndScroll, 0), 10);
    EXPECT_EQ(middle.RowToShow(4), 4);
}

TEST_F(DriveChartGeometryTest, SelectionAndPointingDecideTheColours)
{
    const CDriveChartData list = List({{'H', 20, 65, 45}, {'V', 30, 25, -5}});
    EXPECT_EQ(DriveChartRowColors(list.item(0), 0, -1, -1),
              (DriveRowColors{RGB(255, 255, 255), RGB(0, 0, 0)}));
    EXPECT_EQ(DriveChartRowColors(list.item(1), 1, -1, -1),
              (DriveRowColors{RGB(128, 128, 128), RGB(255, 0, 0)}));
    EXPECT_EQ(DriveChartRowColors(list.item(1), 1, 1, -1),
              (DriveRowColors{RGB(0, 0, 128), RGB(128, 128, 255)}));
    EXPECT_EQ(DriveChartRowColors(list.item(1), 1, 1, 1),
              (DriveRowColors{RGB(0, 0, 128), RGB(255, 255, 0)}));
}

TEST_F(DriveChartGeometryTest, ReadoutsNameThePointedAtEntryBeforeTheSelectedOne)
{
    const CDriveChartData drives = List({{'H', 20, 65, 45}, {'V', 20, 30, 10}});
    const QString first = QStringLiteral("HOM drive: 3 plays, 45 yards\r\n"
                                         "Started by KO on 20 at 15:00 in quarter 1\r\n"
                                         "Ended by PUNT on V35 at 10:48 in quarter 1");
    EXPECT_EQ(DriveChartReadout::Text(drives, -1, 0, false), "Selected:\r\n" + first);
    EXPECT_EQ(DriveChartReadout::Text(drives, 0, 1, false), "Pointing at:\r\n" + first);
    EXPECT_EQ(DriveChartReadout::Text(drives, -1, -1, false), QString());
    EXPECT_TRUE(DriveChartReadout::Describe(drives, 0, true)
                    .startsWith("HOM drive: 3 plays, 45 yards, TOP 04:12\r\n"));
    EXPECT_EQ(DriveChartReadout::Describe(drives, 2, true), QString()) << "outside the list";

    const CDriveChartData plays = List({{'H', 20, 65, 45}}, true);
    EXPECT_EQ(DriveChartReadout::Describe(plays, 0, true),
              "Qtr: 1, Down: 1-10, Spot: HOM20, Time: 14:30\r\nRun.");
}

TEST_F(DriveChartGeometryTest, ADriveWorkedOutFromThePlaysReadsHowItStartedAndItsTimeOfPossession)
{
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir_.Write("plays.xml", R"(<fbgame><venue><rules field="100"/></venue>
        <team vh="H" id="HOM" name="Home" record=""><totals/></team>
        <team vh="V" id="AWY" name="Away" record=""><totals/></team>
        <plays><qtr number="2">
          <play playid="1,1,1" context="H,1,10,H25" type="R" yds="5" text="Run for 5 yards." clock="14:30"/>
          <play playid="1,2,2" context="H,2,5,H30" type="P" yds="10" text="Pass for 10 yards." clock="14:00"/>
        </qtr></plays></fbgame>)")));
    const std::array<CTeamStats, 2> teams = TeamsOf(document);
    const CDriveChartData drives = CDriveChartData::Load(document, teams, DriveFilter{});
    ASSERT_TRUE(drives.derived());
    ASSERT_EQ(drives.count(), 1);
    const CChartItem &drive = drives.item(0);
    const QStringList lines = DriveChartReadout::Describe(drives, 0, false).split("\r\n");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("Started by POSS on %1 at 14:30 in quarter 2")
                            .arg(QString::fromStdString(drive.startSpot)));
    EXPECT_EQ(lines[2], QStringLiteral("Ended on %1 at 14:00 in quarter 2")
                            .arg(QString::fromStdString(drive.endSpot)));
    EXPECT_FALSE(drive.startSpot.empty());
    // The drive still going on ends, so far, at its latest clock.
    const QString first = DriveChartReadout::Describe(drives, 0, true).split("\r\n").front();
    EXPECT_TRUE(first.endsWith(", TOP 00:30")) << first.toStdString();
}

TEST_F(DriveChartGeometryTest, TheListsShowOneRowPerEntryInTheTeamsColours)
{
    const CDriveChartData drives = List({{'H', 20, 65, 45}, {'V', 20, 30, 10}});
    const StatTable hidden = BuildDriveListTable(drives, false);
    ASSERT_EQ(hidden.RowCount(), 2);
    EXPECT_EQ(hidden.columns[12].width, 0) << "no time of possession without ShowTOP";
    EXPECT_EQ(hidden.columns[12].caption, QString());
    EXPECT_EQ(hidden.rows[0].Cell(12).text, QString());
    EXPECT_EQ(hidden.rows[0].Cell(11).text, "3 - 45");
    EXPECT_EQ(hidden.rows[0].Cell(7).text, "V35");
    EXPECT_EQ(hidden.TextColorAt(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(hidden.BackgroundAt(1, 5), RGB(128, 128, 128));
    EXPECT_EQ(hidden.TextColorAt(1, 5), RGB(255, 255, 255));
    EXPECT_FALSE(hidden.sortable) << "a row is the entry's index";
    const StatTable shown = BuildDriveListTable(drives, true);
    EXPECT_EQ(shown.columns[12].caption, "TOP");
    EXPECT_EQ(shown.columns[12].width, 40);
    EXPECT_EQ(shown.rows[1].Cell(12).text, "04:12");

    const StatTable plays = BuildPlayListTable(List({{'H', 20, 65, 45}}, true));
    ASSERT_EQ(plays.RowCount(), 1);
    EXPECT_EQ(plays.rows[0].Cell(3).text, "1-10");
    EXPECT_EQ(plays.rows[0].Cell(6).text, "Run.");
    EXPECT_EQ(plays.columns[6].width, 300);
}
