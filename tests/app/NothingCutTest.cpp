// Texts the window shows whole where it has room, at the default sizes.
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
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace
{

bool anyCut(const StatTable &table)
{
    return std::ranges::any_of(table.rows, [](const TableRow &row) {
        return std::ranges::any_of(row.cells, &TableCell::cut);
    });
}

// The window at its default size on `game`, as the export starts it.
struct Window {
    ScratchDirectory dir;
    CPylonixDlg dlg;
    explicit Window(const std::string &game) : dlg(optionsFor(game)) { dlg.resize(1024, 720); }
    WindowOptions optionsFor(const std::string &game) const
    {
        WindowOptions options;
        options.gameFile = game;
        options.iniFile = dir.PathOf("Pylonix.ini");
        options.interactive = false;
        return options;
    }
};

} // namespace

TEST(NothingCut, PlayerWindowADrivesPlaysAndConfigureShowTheirTextsWhole)
{
    Window window(PYLONIX_SAMPLES_DIR "/game-final.xml");
    ASSERT_TRUE(window.dlg.OnInitDialog());
    CPlayerDlg player;
    player.SetSession(window.dlg.session());
    player.resize(600, 400);
    player.SetPlayer(1, 0);
    player.ShowPlayer();
    EXPECT_FALSE(anyCut(player.PlaysGrid()->ShownTable()));
    EXPECT_GT(player.PlaysGrid()->ShownTable().DrawnWidth(1), 40) << "Ball On grew";

    // The plays of a drive after the drives, as a double click on it shows them.
    DriveChartsPage &page = window.dlg.drivePage();
    window.dlg.ClickPage(PAGE_DRIVE_CHARTS);
    page.ShowDrivePlays(page.drives().item(0).driveIndex);
    const StatTable &plays = page.playsList()->ShownTable();
    EXPECT_FALSE(anyCut(plays));
    EXPECT_GT(page.playsList()->GetColumnWidth(6), 300) << "Play grew into the room";
    for (const TableRow &row : plays.rows)
        EXPECT_NE(row.cells[5].text, "0") << "a play given no clock has no time";

    CConfigureDlg configure{Settings{}};
    for (const QWidget *text : configure.findChildren<QWidget *>()) {
        const bool showsText =
            qobject_cast<const QLabel *>(text) || qobject_cast<const QCheckBox *>(text);
        EXPECT_TRUE(!showsText || text->width() >= text->sizeHint().width());
    }
}

TEST(NothingCut, LongTeamIdsAndFourOvertimesFitTheYardageSummaryAndTheLineScore)
{
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
    ScratchDirectory files;
    Window window(files.Write("game.xml", text));
    ASSERT_TRUE(window.dlg.OnInitDialog());

    const auto *yardage = window.dlg.findChild<CYardageSummaryGrid *>();
    const QFontMetrics header(yardage->font());
    for (int column = 1; column <= 2; ++column)
        EXPECT_GE(yardage->GetColumnWidth(column),
                  header.horizontalAdvance(yardage->GetColumnText(column)) + 6);
    EXPECT_LE(yardage->geometry().right(), 128) << "under the page buttons";

    auto *lineScore = qobject_cast<CLineScoreView *>(window.dlg.Control(LayoutRole::LineScore));
    ASSERT_EQ(lineScore->rows()[0].size(), 10);
    QFont bold = lineScore->font();
    bold.setBold(true);
    EXPECT_GE(lineScore->columnWidths()[8], QFontMetrics(bold).horizontalAdvance("4OT") + 6);
    const int total =
        1 + std::accumulate(lineScore->columnWidths().begin(), lineScore->columnWidths().end(), 0);
    EXPECT_GT(total, 260);
    ASSERT_GE(lineScore->width(), total);
    // The last column's right edge is drawn inside the control.
    EXPECT_EQ(lineScore->grab().toImage().pixelColor(total - 1, 8), QColor(Qt::black));
}
