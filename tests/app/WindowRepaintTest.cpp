// The main window repaints what a reload changed, and what it leaves on the
// screen is what a fresh drawing shows.
#include "app/CPylonixDlg.h"
#include "gridctrl/CZrGridListCtrl.h"
#include "platform/QtConversions.h"

#include "../support/ScratchDirectory.h"
#include "../support/TableOfGrid.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QScreen>
#include <gtest/gtest.h>
#include <map>

namespace
{

// The region each widget of a window painted.
struct PaintLog : QObject {
    explicit PaintLog(QWidget &window)
    {
        window.installEventFilter(this);
        for (QWidget *child : window.findChildren<QWidget *>())
            child->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted[watched] += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
    std::map<QObject *, QRegion> painted;
};

void settle()
{
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents();
}

} // namespace

TEST(WindowRepaint, AReloadThatChangesNothingPaintsNothingAndOnePlayPaintsItsRowsOnly)
{
    ScratchDirectory dir;
    std::string game = ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
    WindowOptions options;
    options.gameFile = dir.Write("game.xml", game);
    options.iniFile = dir.PathOf("Pylonix.ini");
    options.watchGameFile = false;
    options.clock = [] { return QDateTime(QDate(2026, 10, 17), QTime(13, 5, 0)); };
    CPylonixDlg dlg(options);
    dlg.resize(1024, 420); // the overview scrolls
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.show();
    for (const int page : {PAGE_PLAY_BY_PLAY, PAGE_DRIVE_CHARTS, PAGE_OFFENSE, PAGE_OVERVIEW}) {
        dlg.ClickPage(page);
        settle();
        const PaintLog log(dlg);
        dlg.ReloadGame();
        settle();
        for (const auto &[widget, region] : log.painted)
            ADD_FAILURE() << page << ": " << widget->metaObject()->className() << " painted";
    }

    dlg.ClickPage(PAGE_OFFENSE);
    settle();
    // One more run: the visitor's runner has one carry and three yards more.
    auto *rushing = qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::Rushing, 1));
    ASSERT_NE(rushing, nullptr);
    const StatTable before = TableOf(*rushing);
    const std::string run = "<rush att=\"6\" yds=\"35\"";
    ASSERT_NE(game.find(run), std::string::npos);
    dir.Write("game.xml", game.replace(game.find(run), run.size(), "<rush att=\"7\" yds=\"38\""));
    const PaintLog log(dlg);
    dlg.ReloadGame();
    settle();

    const StatTable after = TableOf(*rushing);
    ASSERT_EQ(after.RowCount(), before.RowCount());
    QRegion changedRows;
    for (int row = 0; row < after.RowCount(); ++row) {
        if (after.rows[row] != before.rows[row])
            changedRows +=
                ToQRect(rushing->GetRowRect(row)).intersected(rushing->viewport()->rect());
    }
    EXPECT_FALSE(changedRows.isEmpty()) << "the run shows in the rushing table";
    ASSERT_EQ(log.painted.size(), 1u) << "only the table that changed paints";
    EXPECT_EQ(log.painted.begin()->first, rushing->viewport());
    EXPECT_EQ(log.painted.begin()->second.subtracted(changedRows), QRegion())
        << "only the rows that changed paint";
    // No stale pixels: the screen shows what the window draws afresh.
    EXPECT_EQ(dlg.screen()->grabWindow(dlg.winId()).toImage().convertToFormat(QImage::Format_RGB32),
              dlg.grab().toImage().convertToFormat(QImage::Format_RGB32));
}
