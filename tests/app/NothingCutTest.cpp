// Texts the window shows whole where it has room: the player window's plays,
// a drive's plays, the Configure dialog's labels, the yardage summary's team
// headers and the line score of a game with several overtimes.
#include "app/CConfigureDlg.h"
#include "app/CLineScoreView.h"
#include "app/CPylonixDlg.h"
#include "app/DriveChartsPage.h"
#include "pages/CPlayListGrid.h"
#include "pages/CYardageSummaryGrid.h"
#include "player/CPlayerDlg.h"

#include "../support/ScratchDirectory.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

namespace
{

bool anyCut(const StatTable &table)
{
    for (const TableRow &row : table.rows)
        for (const TableCell &cell : row.cells)
            if (cell.cut)
                return true;
    return false;
}

WindowOptions windowOn(const std::string &game, const ScratchDirectory &dir)
{
    WindowOptions options;
    options.gameFile = game;
    options.iniFile = dir.PathOf("Pylonix.ini");
    options.interactive = false;
    return options;
}

// The window at its default size, loaded.
bool started(CPylonixDlg &dlg)
{
    dlg.resize(1024, 720);
    return dlg.OnInitDialog();
}

} // namespace

TEST(NothingCut, PlayerWindowAndADrivesPlaysShowTheirTextsAndEveryPlaysTime)
{
    ScratchDirectory dir;
    CPylonixDlg dlg(windowOn(PYLONIX_SAMPLES_DIR "/game-final.xml", dir));
    ASSERT_TRUE(started(dlg));
    CPlayerDlg player;
    player.SetSession(dlg.session());
    player.resize(600, 400);
    player.SetPlayer(1, 0);
    player.ShowPlayer();
    const StatTable &plays = player.PlaysGrid()->ShownTable();
    ASSERT_GT(plays.RowCount(), 0);
    EXPECT_FALSE(anyCut(plays));
    EXPECT_GT(plays.DrawnWidth(1), 40) << "Ball On grew to " << plays.rows[0].cells[1].text.size();

    // The plays of a drive after the drives, as a double click on it shows them.
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    dlg.drivePage().ShowDrivePlays(dlg.drivePage().drives().item(0).driveIndex);
    const StatTable &drivePlays = dlg.drivePage().playsList()->ShownTable();
    ASSERT_GT(drivePlays.RowCount(), 2);
    EXPECT_FALSE(anyCut(drivePlays));
    EXPECT_GT(dlg.drivePage().playsList()->GetColumnWidth(6), 300) << "Play grew into the room";
    for (const TableRow &row : drivePlays.rows)
        EXPECT_NE(row.cells[5].text, "0") << "a play given no clock has no time";

    CConfigureDlg configure{Settings{}};
    for (const QWidget *text : configure.findChildren<QWidget *>())
        if (qobject_cast<const QLabel *>(text) || qobject_cast<const QCheckBox *>(text))
            EXPECT_GE(text->width(), text->sizeHint().width());
}

TEST(NothingCut, LongTeamIdsAndFourOvertimesFitTheYardageSummaryAndTheLineScore)
{
    ScratchDirectory dir;
    std::string text = ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
    const auto replace = [&text](const std::string &from, const std::string &to) {
        text.replace(text.find(from), from.size(), to);
    };
    replace("id=\"PAM\"", "id=\"ALAM\"");
    replace("id=\"HCM\"", "id=\"MVSU\"");
    std::string periods;
    for (int period = 1; period <= 8; ++period)
        periods += "<lineprd prd=\"" + std::to_string(period) + "\" score=\"1\"/>";
    replace("<linescore score=\"7\"/>", "<linescore score=\"8\">" + periods + "</linescore>");
    replace("<linescore score=\"3\"/>", "<linescore score=\"8\">" + periods + "</linescore>");
    CPylonixDlg dlg(windowOn(dir.Write("game.xml", text), dir));
    ASSERT_TRUE(started(dlg));

    const auto *yardage = dlg.findChild<CYardageSummaryGrid *>();
    for (int column = 1; column <= 2; ++column)
        EXPECT_GE(yardage->GetColumnWidth(column),
                  QFontMetrics(yardage->font()).horizontalAdvance(yardage->GetColumnText(column)) +
                      6);
    EXPECT_LE(yardage->geometry().right(), 128) << "under the page buttons";

    auto *lineScore = qobject_cast<CLineScoreView *>(dlg.Control(LayoutRole::LineScore));
    ASSERT_EQ(lineScore->rows()[0].size(), 10);
    QFont bold = lineScore->font();
    bold.setBold(true);
    EXPECT_GE(lineScore->columnWidths()[8], QFontMetrics(bold).horizontalAdvance("4OT") + 6);
    int total = 1;
    for (const int width : lineScore->columnWidths())
        total += width;
    EXPECT_GT(total, 260);
    ASSERT_GE(lineScore->width(), total);
    // The last column's right edge is drawn inside the control.
    EXPECT_EQ(lineScore->grab().toImage().pixelColor(total - 1, 8), QColor(Qt::black));
}
