// The main window repaints what a reload changed, and what it leaves on the
// screen is what a fresh drawing shows.
#include "app/CPylonixDlg.h"
#include "gridctrl/CZrGridListCtrl.h"
#include "platform/QtConversions.h"

#include "../support/ScratchDirectory.h"

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

QImage image(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
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
            ADD_FAILURE() << page << ": " << widget->metaObject()->className() << " in "
                          << widget->parent()->metaObject()->className() << " painted "
                          << region.boundingRect().x() << "," << region.boundingRect().y() << " "
                          << region.boundingRect().width() << "x" << region.boundingRect().height();
    }

    dlg.ClickPage(PAGE_OFFENSE);
    settle();

    // One more run: the visitor's runner has one carry and three yards more.
    auto *rushing = qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::Rushing, 1));
    ASSERT_NE(rushing, nullptr);
    const auto rowTexts = [rushing](int row) {
        QStringList texts;
        for (int column = 0; column < rushing->GetColumnCount(); ++column)
            texts.append(rushing->GetItemText(row, column));
        return texts;
    };
    std::vector<QStringList> before;
    for (int row = 0; row < rushing->GetItemCount(); ++row)
        before.push_back(rowTexts(row));
    const std::string run = "<rush att=\"6\" yds=\"35\"";
    ASSERT_NE(game.find(run), std::string::npos);
    dir.Write("game.xml", game.replace(game.find(run), run.size(), "<rush att=\"7\" yds=\"38\""));
    const PaintLog log(dlg);
    dlg.ReloadGame();
    settle();

    ASSERT_EQ(rushing->GetItemCount(), static_cast<int>(before.size()));
    QRegion changedRows;
    for (int row = 0; row < rushing->GetItemCount(); ++row) {
        if (rowTexts(row) != before[static_cast<std::size_t>(row)])
            changedRows +=
                ToQRect(rushing->GetRowRect(row)).intersected(rushing->viewport()->rect());
    }
    EXPECT_FALSE(changedRows.isEmpty()) << "the run shows in the rushing table";
    ASSERT_EQ(log.painted.size(), 1u) << "only the table that changed paints";
    EXPECT_EQ(log.painted.begin()->first, rushing->viewport());
    EXPECT_EQ(log.painted.begin()->second.subtracted(changedRows), QRegion())
        << "only the rows that changed paint";
    // No stale pixels: the screen shows what the window draws afresh.
    EXPECT_EQ(image(dlg.screen()->grabWindow(dlg.winId())), image(dlg.grab()));
}
