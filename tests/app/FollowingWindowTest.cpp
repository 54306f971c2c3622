// The main window as it follows a game: reloads of the watcher that fail ask
// nothing and tell the strip, and the user's sort, the selected drive and
// the newest plays survive the reloads.
#include "app/CGameStrip.h"
#include "app/CPylonixDlg.h"
#include "app/DriveChartsPage.h"
#include "drivechart/CDriveChartWnd.h"
#include "gamedata/GameSession.h"
#include "gridctrl/CFlatHdrCtrl.h"
#include "pages/CChartListGrid.h"
#include "pages/CPlayByPlayGrid.h"
#include "platform/QtConversions.h"
#include "views/AddedRows.h"

#include "../support/ScratchDirectory.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// The main window with every question it would ask counted and answered No.
class CountingDlg : public CPylonixDlg
{
public:
    using CPylonixDlg::CPylonixDlg;
    int questions = 0;
    int configureRuns = 0;

protected:
    bool AskYesNo(const QString &, const QString &, QMessageBox::Icon) override
    {
        ++questions;
        return false;
    }
    bool RunConfigureDialog() override
    {
        ++configureRuns;
        return false;
    }
};

std::string sampleGame()
{
    return ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
}

void processUntil(const std::function<bool()> &done)
{
    for (int round = 0; round < 1000 && !done(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::vector<QString> columnTexts(const CZrGridListCtrl &grid, int column)
{
    std::vector<QString> texts;
    for (int row = 0; row < grid.GetItemCount(); ++row)
        texts.push_back(grid.GetItemText(row, column));
    return texts;
}

class FollowingWindow : public testing::Test
{
protected:
    ScratchDirectory dir;
    std::string game = dir.Write("game.xml", sampleGame());
    QDateTime now{QDate(2026, 10, 17), QTime(13, 5, 0)};

    WindowOptions options()
    {
        WindowOptions options;
        options.gameFile = game;
        options.iniFile = dir.PathOf("Pylonix.ini");
        options.watchGameFile = false;
        options.clock = [this] { return now; };
        return options;
    }
};

} // namespace

TEST_F(FollowingWindow, WatcherFailingForMinutesAsksNothingAndTheStripTellsWhyUntilAGoodFile)
{
    CountingDlg dlg(options());
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.liveGame().SetRetryDelay(std::chrono::milliseconds(0));
    int failures = 0;
    QObject::connect(&dlg.liveGame(), &LiveGame::loadFailed, [&failures] { ++failures; });
    auto *strip = qobject_cast<CGameStrip *>(dlg.Control(LayoutRole::Strip));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->status(), "Updated 13:05:00");
    EXPECT_TRUE(strip->situation().startsWith("HCM ")) << strip->situation().toStdString();
    const QString overview = dlg.OverviewText();

    // The file stays broken over three minutes of watcher and timer reloads.
    dir.Write("game.xml", "<fbgame><venue");
    for (int reload = 1; reload <= 4; ++reload) {
        now = now.addSecs(50);
        const int before = failures;
        emit dlg.liveGame().reloadRequested();
        processUntil([&] { return failures > before; });
        ASSERT_EQ(failures, before + 1) << reload;
    }
    EXPECT_EQ(dlg.questions, 0);
    EXPECT_EQ(dlg.configureRuns, 0);
    EXPECT_EQ(strip->status(), "Game file unreadable since 13:05:50: " +
                                   QString::fromStdString(dlg.lastLoadError()));
    EXPECT_TRUE(dlg.lastLoadError().starts_with(game + ": ")) << dlg.lastLoadError();
    EXPECT_TRUE(strip->problem());
    EXPECT_EQ(dlg.OverviewText(), overview) << "the last good game stays";
    EXPECT_EQ(dlg.reloadCount(), 1);

    now = now.addSecs(7);
    dir.Write("game.xml", sampleGame());
    emit dlg.liveGame().reloadRequested();
    processUntil([&] { return dlg.reloadCount() == 2; });
    EXPECT_EQ(strip->status(), "Updated 13:08:27");
    EXPECT_FALSE(strip->problem());

    // A load the user starts still asks.
    dir.Write("game.xml", "<fbgame><venue");
    dlg.ReloadGame();
    EXPECT_EQ(dlg.questions, 1);
}

TEST_F(FollowingWindow, OverviewShowsTheLineScoreAndSituationBesideTheText)
{
    CountingDlg dlg(options());
    ASSERT_TRUE(dlg.OnInitDialog());
    QWidget *lineScore = dlg.Control(LayoutRole::LineScore);
    auto *situation = qobject_cast<QLabel *>(dlg.Control(LayoutRole::SituationText));
    ASSERT_NE(lineScore, nullptr);
    ASSERT_NE(situation, nullptr);
    EXPECT_FALSE(lineScore->isHidden());
    EXPECT_TRUE(situation->text().startsWith("Period: ")) << situation->text().toStdString();
    const QRect text = dlg.Control(LayoutRole::OverviewText)->geometry();
    EXPECT_GE(lineScore->x(), text.right()) << "beside the overview text, not over it";
    EXPECT_EQ(lineScore->y(), text.y());

    dlg.ClickPage(PAGE_SCORING);
    EXPECT_TRUE(lineScore->isHidden());
    EXPECT_FALSE(dlg.Control(LayoutRole::Strip)->isHidden()) << "the strip shows on every page";
}

TEST_F(FollowingWindow, UserSortOutlivesReloadsAndPageChanges)
{
    dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    CountingDlg dlg(options());
    dlg.resize(1024, 720);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.show();
    dlg.ClickPage(PAGE_OFFENSE);
    auto *rushing = qobject_cast<CStatGridCtrl *>(dlg.Control(LayoutRole::Rushing, 0));
    ASSERT_NE(rushing, nullptr);
    ASSERT_GT(rushing->GetItemCount(), 1);
    const QPoint yards = ToQPoint(rushing->GetHeaderCtrl()->GetItemRect(2).CenterPoint());
    // Two clicks: the fewest yards first.
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(rushing->GetHeaderCtrl(), Qt::LeftButton, {}, yards);
        QCoreApplication::processEvents();
    }
    const std::vector<QString> sorted = columnTexts(*rushing, 2);
    ASSERT_LT(sorted.front().toInt(), sorted.back().toInt());

    dlg.ReloadGame();
    EXPECT_EQ(columnTexts(*rushing, 2), sorted);
    dlg.ClickPage(PAGE_DEFENSE);
    dlg.ReloadGame();
    dlg.ClickPage(PAGE_OFFENSE);
    EXPECT_EQ(columnTexts(*rushing, 2), sorted);

    // The next click goes on from there: the most yards first.
    QTest::mouseClick(rushing->GetHeaderCtrl(), Qt::LeftButton, {}, yards);
    QCoreApplication::processEvents();
    EXPECT_GT(columnTexts(*rushing, 2).front().toInt(), sorted.front().toInt());
}

TEST_F(FollowingWindow, SelectedDriveStaysSelectedWhileTheGameStillHasIt)
{
    CountingDlg dlg(options());
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    auto *drives = qobject_cast<CChartListGrid *>(dlg.Control(LayoutRole::DriveLists, 0));
    auto *chart = qobject_cast<CDriveChartWnd *>(dlg.Control(LayoutRole::DriveChart));
    ASSERT_NE(drives, nullptr);
    ASSERT_NE(chart, nullptr);
    emit drives->chartDriveSelected(1);
    dlg.drivePage().SelectDriveRow(1);
    ASSERT_EQ(chart->selected(), 1);

    dlg.ReloadGame();
    EXPECT_EQ(chart->selected(), 1);
    EXPECT_EQ(drives->GetFirstSelectedRow(), 1);

    // The first drive is gone from the file: the selection follows its drive.
    std::string fewer = sampleGame();
    const std::size_t first = fewer.find("<drive driveindex=\"1\"");
    fewer.erase(first, fewer.find("<drive driveindex=\"2\"") - first);
    dir.Write("game.xml", fewer);
    dlg.ClickPage(PAGE_OVERVIEW);
    dlg.ReloadGame();
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    EXPECT_EQ(chart->selected(), 0);
    EXPECT_EQ(drives->GetFirstSelectedRow(), 0);
    EXPECT_EQ(dlg.drivePage().drives().item(0).startTime.str(), "13:53");

    // Its start changed: it no longer exists, nothing is selected.
    fewer.replace(fewer.find("PUNT,1,13:53"), 12, "PUNT,1,13:50");
    dir.Write("game.xml", fewer);
    dlg.ReloadGame();
    EXPECT_EQ(chart->selected(), -1);
    EXPECT_EQ(drives->GetFirstSelectedRow(), -1);
}

TEST_F(FollowingWindow, PlaysAddedByAReloadAreMarkedAndFollowed)
{
    CountingDlg dlg(options());
    dlg.resize(1024, 400);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.show();
    dlg.ClickPage(PAGE_PLAY_BY_PLAY);
    auto *plays = qobject_cast<CPlayByPlayGrid *>(dlg.Control(LayoutRole::PlayByPlay));
    ASSERT_NE(plays, nullptr);
    const int rows = plays->GetItemCount();
    EXPECT_EQ(plays->markedRowCount(), 0) << "nothing is new at start";
    plays->EnsureVisible(rows - 1, false);

    // One more play at the end of the last quarter.
    std::string more = sampleGame();
    const std::size_t lastPlay = more.rfind("<play ");
    const std::size_t end = more.find("/>", lastPlay) + 2;
    std::string added = more.substr(lastPlay, end - lastPlay);
    added.replace(added.find("text=\"") + 6, 0, "Later: ");
    more.insert(end, added);
    dir.Write("game.xml", more);
    dlg.ReloadGame();

    ASSERT_GT(plays->GetItemCount(), rows);
    EXPECT_GT(plays->markedRowCount(), 0);
    EXPECT_EQ(plays->firstMarkedRow() + plays->markedRowCount(), plays->GetItemCount());
    EXPECT_EQ(plays->GetCellBkColor(plays->GetItemCount() - 1, 0), kAddedRowColor);
    EXPECT_NE(plays->GetCellBkColor(0, 0), kAddedRowColor);
    EXPECT_GE(plays->GetTopIndex() + plays->GetCountPerPage(), plays->GetItemCount())
        << "the newest play is in view";

    // Scrolled away to the top, the page stays there.
    plays->EnsureVisible(0, false);
    dlg.ReloadGame();
    EXPECT_EQ(plays->GetTopIndex(), 0);
    EXPECT_EQ(plays->markedRowCount(), 0) << "the next reload added nothing";
}

TEST_F(FollowingWindow, SeasonFileTheWatcherCannotReadIsToldInTheStripNotAsked)
{
    WindowOptions withSeason = options();
    withSeason.visitorFile = dir.PathOf("missing-visitor.xml");
    CountingDlg dlg(withSeason);
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(dlg.questions, 1) << "the start-up load asks";
    auto *strip = qobject_cast<CGameStrip *>(dlg.Control(LayoutRole::Strip));
    ASSERT_NE(strip, nullptr);

    now = now.addSecs(60);
    emit dlg.liveGame().reloadRequested();
    processUntil([&] { return dlg.reloadCount() == 2; });
    EXPECT_EQ(dlg.questions, 1);
    EXPECT_TRUE(
        strip->status().startsWith("Updated 13:06:00; Visitor season file unreadable: " +
                                   QString::fromStdString(dir.PathOf("missing-visitor.xml"))))
        << strip->status().toStdString();
}

TEST_F(FollowingWindow, ADeletedGameFileIsToldInTheStripWithinASecondUntilItIsBack)
{
    WindowOptions watched = options();
    watched.watchGameFile = true;
    CountingDlg dlg(watched);
    ASSERT_TRUE(dlg.OnInitDialog());
    auto *strip = qobject_cast<CGameStrip *>(dlg.Control(LayoutRole::Strip));
    QSignalSpy missing(&dlg.liveGame(), &LiveGame::gameFileMissing);
    QSignalSpy failed(&dlg.liveGame(), &LiveGame::loadFailed);
    now = now.addSecs(30);
    std::filesystem::remove(game);
    ASSERT_TRUE(missing.wait(1000)) << "told within a second, not at the next minute";
    const QString told = "Game file missing since 13:05:30: " + QString::fromStdString(game);
    EXPECT_EQ(strip->status(), told);
    // The minute's reload finds nothing either: told at once, since the same time.
    now = now.addSecs(60);
    emit dlg.liveGame().reloadRequested();
    ASSERT_TRUE(missing.wait(1000));
    EXPECT_EQ(strip->status(), told);
    EXPECT_EQ(failed.count() + dlg.questions, 0);
    // Still watched: the file written again is read.
    QSignalSpy reloaded(&dlg.liveGame(), &LiveGame::reloaded);
    dir.Write("game.xml", sampleGame());
    ASSERT_TRUE(reloaded.wait(5000));
    EXPECT_EQ(strip->status(), "Updated 13:06:30");
}

TEST_F(FollowingWindow, PlayByPlayOpenedLateInAGameShowsTheNewestPlayAndKeepsIt)
{
    game = dir.Write("live.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-live.xml"));
    CountingDlg dlg(options());
    dlg.resize(1024, 720);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_PLAY_BY_PLAY); // as at start-up: before the window is on the screen
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto *plays = qobject_cast<CPlayByPlayGrid *>(dlg.Control(LayoutRole::PlayByPlay));
    ASSERT_GT(plays->GetItemCount(), 2 * plays->GetCountPerPage());
    const auto newestInView = [plays] {
        return plays->GetTopIndex() + plays->GetCountPerPage() == plays->GetItemCount();
    };
    EXPECT_TRUE(newestInView()) << plays->GetTopIndex();
    // Scrolled away, then another page and back.
    plays->EnsureVisible(0, false);
    dlg.ClickPage(PAGE_SCORING);
    dlg.ClickPage(PAGE_PLAY_BY_PLAY);
    EXPECT_TRUE(newestInView());
    dlg.resize(1024, 500);
    QCoreApplication::processEvents();
    EXPECT_TRUE(newestInView()) << "a lower window keeps following";
}
