#include "app/CPylonixDlg.h"
#include "app/DriveChartsPage.h"
#include "app/GameExport.h"
#include "drivechart/CDriveChartWnd.h"
#include "drivechart/CSplitterBar.h"
#include "gamedata/GameSession.h"
#include "gridctrl/CZrGridListCtrl.h"
#include "pages/CChartListGrid.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CStatGridCtrl.h"
#include "platform/Colors.h"
#include "platform/ControlIds.h"
#include "platform/DialogUnits.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "platform/NotifyEvent.h"
#include "platform/QtConversions.h"
#include "player/CPlayerDlg.h"
#include "views/ColumnFitting.h"

#include "../support/ScratchDirectory.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <new>

namespace
{

// While set, an allocation of this many bytes or more fails, as it does when
// memory runs out in the middle of a load.
std::atomic<std::size_t> failAllocationsFrom{0};

} // namespace

// The replacements below pair malloc with free; the compiler, seeing free
// inlined after operator new, cannot tell they are a pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t size)
{
    const std::size_t limit = failAllocationsFrom.load();
    if (limit != 0 && size >= limit)
        throw std::bad_alloc();
    if (void *memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void *memory) noexcept
{
    std::free(memory);
}
void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace
{

struct Prompt {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
};

// The main window with its message boxes and dialogs answered by the test.
class TestDlg : public CPylonixDlg
{
public:
    using CPylonixDlg::CPylonixDlg;

    std::vector<Prompt> prompts;
    std::deque<bool> answers;           // next Yes/No answers; No when empty
    std::function<void()> duringPrompt; // runs inside each prompt, as its event loop would
    std::function<bool()> configure = [] { return false; }; // true: OK with `configured`
    Settings configured;
    int configureRuns = 0;
    std::vector<std::pair<int, int>> openedPlayers;

    void SetRetryDelay(int ms) { liveGame().SetRetryDelay(std::chrono::milliseconds(ms)); }

protected:
    bool AskYesNo(const QString &text, const QString &caption, QMessageBox::Icon icon) override
    {
        prompts.push_back({text, caption, icon});
        if (duringPrompt)
            duringPrompt();
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool RunConfigureDialog() override
    {
        ++configureRuns;
        if (!configure())
            return false;
        settingsInUse() = configured;
        return true;
    }
    void OpenPlayerWindow(int team, int player) override
    {
        openedPlayers.emplace_back(team, player);
        if (realPlayerWindow)
            CPylonixDlg::OpenPlayerWindow(team, player);
    }

public:
    bool realPlayerWindow = false; // open the Individual Player window itself
    QWidget *PlayerWindow() const { return playerWindow_; }
};

const QString kGamePrompt = "Pylonix couldn't load the Game file.\nOpen the Configure dialog?";
const QString kQuitPrompt = "Do you want to quit Pylonix?";

std::string sampleGame()
{
    return ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
}

// Delivers posted messages and timers until `done` holds, at most a bounded
// number of rounds (no wall-clock deadline).
void processUntil(const std::function<bool()> &done)
{
    for (int round = 0; round < 1000 && !done(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool shown(const QWidget *widget)
{
    return widget && !widget->isHidden();
}

class MainWindow : public testing::Test
{
protected:
    ScratchDirectory dir;
    std::string game = dir.Write("game.xml", sampleGame());
    std::string ini = dir.PathOf("Pylonix.ini");

    // Paths of this run as the command line gives them, a settings file of
    // the test's own, no watcher.
    WindowOptions optionsFor(const std::string &gameFile, const std::string &home = "",
                             const std::string &visitor = "")
    {
        WindowOptions options;
        options.gameFile = gameFile;
        options.homeFile = home;
        options.visitorFile = visitor;
        options.iniFile = ini;
        options.watchGameFile = false;
        return options;
    }
};

} // namespace

TEST_F(MainWindow, StartsOnTheOverviewWithItsTextAndEveryPageButton)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(dlg.windowTitle(), "Torvell Pylonix Football");
    EXPECT_EQ(dlg.minimumSize(), QSize(510, 384)) << "the smallest client area";
    EXPECT_EQ(dlg.currentPage(), PAGE_OVERVIEW);
    EXPECT_EQ(dlg.filledPages(), PAGE_OVERVIEW);
    EXPECT_TRUE(dlg.prompts.empty());
    const QStringList captions = {"Game Overview", "Offense",      "Defense",     "Special Teams",
                                  "Scoring plays", "Play-by-Play", "Drive Charts"};
    for (int i = 0; i < 7; ++i) {
        auto *button = qobject_cast<QPushButton *>(GetDlgItem(&dlg, IDC_GAME_OVERVIEW + i));
        ASSERT_NE(button, nullptr) << i;
        EXPECT_EQ(button->isChecked(), i == 0) << i;
    }
    EXPECT_NE(GetDlgItem(&dlg, IDC_CONFIGURE), nullptr);
    EXPECT_TRUE(dlg.OverviewText().startsWith("Harbor")) << dlg.OverviewText().toStdString();
    EXPECT_TRUE(dlg.OverviewText().contains("\nReferee: Dale Varga"))
        << dlg.OverviewText().toStdString();
    EXPECT_EQ(dlg.PeriodEntries(),
              QStringList({"Entire Game", "Quarter 1", "Quarter 2", "Quarter 3", "Quarter 4"}));
}

TEST_F(MainWindow, PageButtonsAreMeasuredInDialogUnitsRoundedAsEveryDialogIs)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    const QSize base = kClassicDialogBaseUnits;
    for (int i = 0; i < 7; ++i) {
        auto *button = qobject_cast<QPushButton *>(GetDlgItem(&dlg, IDC_GAME_OVERVIEW + i));
        ASSERT_NE(button, nullptr) << i;
        // 85 x 15 units from y 50, each edge rounded to the nearest pixel.
        const int top = ((50 + 15 * i) * base.height() + 4) / 8;
        const int bottom = ((65 + 15 * i) * base.height() + 4) / 8;
        EXPECT_EQ(button->y(), top) << i;
        EXPECT_EQ(button->height(), bottom - top) << i;
    }
}

TEST_F(MainWindow, TablesAreFittedToThePageWidthOfTheSizeGivenBeforeShowing)
{
    const std::string final = PYLONIX_SAMPLES_DIR "/game-final.xml";
    TestDlg dlg(optionsFor(final));
    dlg.resize(600, 720);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_SCORING);
    ExportRequest request;
    request.gameFile = final;
    request.view.client.setWidth(600);
    QJsonObject exported;
    QString error;
    ASSERT_TRUE(GameExport::Run(request, exported, error)) << error.toStdString();
    const QJsonArray columns =
        exported["pages"].toObject()["scoring"].toObject()["columns"].toArray();
    auto *table = qobject_cast<CStatGridCtrl *>(dlg.Control(LayoutRole::Scoring));
    ASSERT_EQ(table->GetColumnCount(), columns.size());
    int grown = 0;
    for (const QJsonValue column : columns)
        grown += column["drawn_width"].toInt() - column["width"].toInt();
    // Less room than at the default size, all taken by the play texts.
    EXPECT_EQ(grown, PageWidthForClient(600) - 444); // the columns' own widths add up to 444
    for (int column = 0; column < table->GetColumnCount(); ++column)
        EXPECT_EQ(table->GetColumnWidth(column), columns[column].toObject()["drawn_width"].toInt())
            << column;
}

TEST_F(MainWindow, ResizingRefitsTheShownTablesWithoutAReload)
{
    TestDlg dlg(optionsFor(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    dlg.resize(600, 720);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_SCORING);
    dlg.show();
    auto *table = qobject_cast<CStatGridCtrl *>(dlg.Control(LayoutRole::Scoring));
    const auto cutCells = [table] {
        int cut = 0;
        for (const TableRow &row : table->ShownTable().rows)
            for (const TableCell &cell : row.cells)
                cut += cell.cut;
        return cut;
    };
    const auto columnsAsFitted = [table] {
        for (int column = 0; column < table->GetColumnCount(); ++column)
            EXPECT_EQ(table->GetColumnWidth(column), table->ShownTable().DrawnWidth(column));
    };
    ASSERT_GT(cutCells(), 0);
    const int reloads = dlg.reloadCount();
    const int narrowWidth = table->GetColumnWidth(3); // "Play"

    dlg.resize(1400, 720);
    QCoreApplication::processEvents();
    EXPECT_EQ(cutCells(), 0);
    EXPECT_GT(table->GetColumnWidth(3), narrowWidth);
    columnsAsFitted();

    dlg.resize(600, 720);
    QCoreApplication::processEvents();
    EXPECT_GT(cutCells(), 0);
    EXPECT_EQ(table->GetColumnWidth(3), narrowWidth);
    columnsAsFitted();
    EXPECT_EQ(dlg.reloadCount(), reloads);
}

TEST_F(MainWindow, EachPageShowsOnlyItsOwnControls)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    QWidget *container = dlg.Control(LayoutRole::Container);
    QWidget *period = dlg.Control(LayoutRole::PeriodBox);
    QWidget *overview = dlg.Control(LayoutRole::OverviewText);
    QWidget *hint = dlg.Control(LayoutRole::Hint);
    QWidget *scoringOnly = dlg.Control(LayoutRole::ScoringOnly);

    EXPECT_TRUE(shown(container));
    EXPECT_TRUE(shown(overview));
    EXPECT_FALSE(shown(period));
    EXPECT_FALSE(shown(hint));

    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    EXPECT_EQ(dlg.currentPage(), PAGE_DRIVE_CHARTS);
    EXPECT_FALSE(shown(container)) << "the drive chart page has its own place";
    EXPECT_TRUE(shown(period));
    EXPECT_TRUE(shown(hint));
    EXPECT_TRUE(shown(scoringOnly));
    EXPECT_FALSE(shown(overview));
    for (LayoutRole role : {LayoutRole::HomeButton, LayoutRole::VisitorButton,
                            LayoutRole::BothButton, LayoutRole::DriveText})
        EXPECT_TRUE(shown(dlg.Control(role))) << static_cast<int>(role);

    dlg.ClickPage(PAGE_PLAY_BY_PLAY);
    EXPECT_FALSE(shown(container));
    EXPECT_TRUE(shown(period)) << "the period box serves the play-by-play too";
    EXPECT_FALSE(shown(hint));
    EXPECT_FALSE(shown(scoringOnly));

    dlg.ClickPage(PAGE_DEFENSE);
    EXPECT_TRUE(shown(container));
    EXPECT_FALSE(shown(period));
    EXPECT_FALSE(shown(overview));
}

TEST_F(MainWindow, PagesAreFilledWhenShownAndAgainOnlyAfterAReload)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    EXPECT_EQ(dlg.filledPages(), PAGE_OVERVIEW | PAGE_DRIVE_CHARTS);
    auto *home = qobject_cast<QPushButton *>(dlg.Control(LayoutRole::HomeButton));
    EXPECT_EQ(home->text(),
              QString::fromStdString(dlg.session().team(0).GetTeamValue("Short Name")));
    EXPECT_FALSE(home->text().isEmpty());

    // The overview text changes in the file, but the page is not refilled
    // until it is shown after a reload.
    std::string changed = sampleGame();
    changed.replace(changed.find("Harbor City"), 11, "Mill Valley");
    dir.Write("game.xml", changed);
    dlg.ClickPage(PAGE_OVERVIEW);
    EXPECT_FALSE(dlg.OverviewText().contains("Mill Valley"));

    dlg.ClickPage(PAGE_OFFENSE);
    dlg.ReloadGame();
    EXPECT_EQ(dlg.filledPages(), PAGE_OFFENSE) << "a reload fills the current page only";
    EXPECT_FALSE(dlg.OverviewText().contains("Mill Valley"));
    dlg.ClickPage(PAGE_OVERVIEW);
    EXPECT_TRUE(dlg.OverviewText().contains("Location: Mill Valley"));
}

TEST_F(MainWindow, ReloadThatRunsOutOfMemoryKeepsTheGameShown)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_OFFENSE);
    const auto *passing =
        dynamic_cast<const CZrGridListCtrl *>(dlg.Control(LayoutRole::Passing, 0));
    ASSERT_NE(passing, nullptr);
    const QString passer = passing->GetItemText(0, 0);
    ASSERT_FALSE(passer.isEmpty());

    // The game grows far beyond what the memory left can hold.
    std::string huge = sampleGame();
    huge.insert(huge.find("<venue") + 6, " note=\"" + std::string(8 << 20, 'x') + "\"");
    dir.Write("game.xml", huge);
    failAllocationsFrom = 4 << 20;
    dlg.ReloadGame();
    failAllocationsFrom = 0;
    EXPECT_EQ(dlg.lastLoadError(), "not enough memory to load the game");
    EXPECT_EQ(passing->GetItemText(0, 0), passer);
    EXPECT_TRUE(dlg.filledPages() & PAGE_OFFENSE) << "the page shown stays as it was";

    // With memory again, the next reload reads the file.
    dlg.ReloadGame();
    EXPECT_EQ(passing->GetItemText(0, 0), passer);
    EXPECT_GT(dlg.session().team(0).playerCount(), 0);
}

TEST_F(MainWindow, ReloadKeepsPagePeriodAndFilters)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    auto *period = qobject_cast<QComboBox *>(dlg.Control(LayoutRole::PeriodBox));
    period->setCurrentIndex(2);
    emit period->activated(2);
    EXPECT_EQ(dlg.periodSelection(), 2);
    auto *scoringOnly = qobject_cast<QCheckBox *>(dlg.Control(LayoutRole::ScoringOnly));
    scoringOnly->click();
    auto *visitor = qobject_cast<QPushButton *>(dlg.Control(LayoutRole::VisitorButton));
    visitor->click();

    dlg.ReloadGame();
    EXPECT_EQ(dlg.currentPage(), PAGE_DRIVE_CHARTS);
    EXPECT_EQ(dlg.periodSelection(), 2);
    EXPECT_EQ(period->currentIndex(), 2);
    EXPECT_TRUE(scoringOnly->isChecked());
    EXPECT_TRUE(visitor->isChecked());
    EXPECT_EQ(dlg.drivePage().filter().quarter, 2);
    EXPECT_TRUE(dlg.drivePage().filter().visitorOnly);
}

TEST_F(MainWindow, PlaysModeDisablesTheFiltersUntilTheDriveListReturns)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    auto *hint = qobject_cast<QLabel *>(dlg.Control(LayoutRole::Hint));
    EXPECT_EQ(hint->text(), "Double click on a drive to view individual plays.");

    auto *chart = qobject_cast<CDriveChartWnd *>(dlg.Control(LayoutRole::DriveChart));
    emit chart->drivePlaysRequested(2);
    EXPECT_TRUE(dlg.playsMode());
    EXPECT_TRUE(dlg.drivePage().drives().playsMode());
    EXPECT_EQ(dlg.drivePage().drives().playsDrive(), 2);
    EXPECT_EQ(hint->text(), "Right click on the field to view the drives list again.");
    for (LayoutRole role : {LayoutRole::PeriodBox, LayoutRole::ScoringOnly, LayoutRole::HomeButton,
                            LayoutRole::VisitorButton, LayoutRole::BothButton})
        EXPECT_FALSE(dlg.Control(role)->isEnabled()) << static_cast<int>(role);

    emit chart->driveListRequested();
    EXPECT_FALSE(dlg.playsMode());
    EXPECT_FALSE(dlg.drivePage().drives().playsMode());
    EXPECT_EQ(hint->text(), "Double click on a drive to view individual plays.");
    EXPECT_TRUE(dlg.Control(LayoutRole::PeriodBox)->isEnabled());
    EXPECT_TRUE(dlg.Control(LayoutRole::BothButton)->isEnabled());
}

TEST_F(MainWindow, DriveTextFollowsTheChartAndTheSplitter)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.resize(1024, 720);
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    auto *chart = qobject_cast<CDriveChartWnd *>(dlg.Control(LayoutRole::DriveChart));
    emit chart->driveTextChanged(QStringLiteral("Selected:\r\nHome drive"));
    EXPECT_EQ(qobject_cast<QPlainTextEdit *>(dlg.Control(LayoutRole::DriveText))->toPlainText(),
              "Selected:\nHome drive");

    const int start = dlg.drivePage().FourLineTextHeight();
    EXPECT_EQ(dlg.Control(LayoutRole::DriveText)->geometry(), QRect(130, 307, 894, start));
    auto *splitter = qobject_cast<CSplitterBar *>(dlg.Control(LayoutRole::Splitter));
    emit splitter->splitterMoved(30);
    EXPECT_EQ(dlg.textHeight(), start + 30);
    EXPECT_EQ(dlg.Control(LayoutRole::DriveText)->geometry(), QRect(130, 307, 894, start + 30));
    emit splitter->splitterMoved(-100);
    EXPECT_EQ(dlg.textHeight(), 50) << "the text box keeps at least 50 pixels";
}

TEST_F(MainWindow, EnterDoesNothingAndQuittingAsksFirst)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.prompts.empty());

    QTest::keyClick(&dlg, Qt::Key_Escape);
    ASSERT_EQ(dlg.prompts.size(), 1u);
    EXPECT_EQ(dlg.prompts[0].text, kQuitPrompt);
    EXPECT_EQ(dlg.prompts[0].caption, "Torvell Pylonix");
    EXPECT_TRUE(dlg.isVisible()) << "No keeps the window";

    dlg.answers = {false};
    EXPECT_FALSE(dlg.close());
    EXPECT_EQ(dlg.prompts.size(), 2u);
    EXPECT_TRUE(dlg.isVisible());

    dlg.answers = {true};
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.prompts.size(), 3u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(MainWindow, UnreadableGameAsksToConfigureAndNoKeepsWhatWasLoaded)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    const std::string overview = dlg.OverviewText().toStdString();
    dir.Write("game.xml", "<fbgame><venue");

    dlg.answers = {false};
    dlg.ReloadGame();
    ASSERT_EQ(dlg.prompts.size(), 1u);
    EXPECT_EQ(dlg.prompts[0].text, kGamePrompt);
    EXPECT_EQ(dlg.prompts[0].icon, QMessageBox::Critical);
    EXPECT_EQ(dlg.reloadCount(), 1);
    EXPECT_EQ(dlg.OverviewText().toStdString(), overview);

    // Yes opens Configure, then the load is tried again; the file is whole by then.
    dlg.answers = {true};
    dlg.configure = [this] {
        dir.Write("game.xml", sampleGame());
        return false;
    };
    dlg.ReloadGame();
    EXPECT_EQ(dlg.configureRuns, 1);
    EXPECT_EQ(dlg.prompts.size(), 2u);
    EXPECT_EQ(dlg.reloadCount(), 2);
}

TEST_F(MainWindow, UnreadableSeasonFileAsksToTurnItsStatisticsOff)
{
    const std::string visitor =
        dir.Write("visitor.xml", ReadFile(PYLONIX_SAMPLES_DIR "/small/season-visitor.xml"));
    TestDlg dlg(optionsFor(game, dir.PathOf("missing-home.xml"), visitor));
    dlg.answers = {false};
    ASSERT_TRUE(dlg.OnInitDialog());
    ASSERT_EQ(dlg.prompts.size(), 1u);
    EXPECT_EQ(dlg.prompts[0].text, "Pylonix couldn't load the Home Season file.\nDo you want to "
                                   "turn off home season stats?");
    EXPECT_EQ(dlg.prompts[0].icon, QMessageBox::Warning);
    EXPECT_EQ(dlg.settings().homeFile, dir.PathOf("missing-home.xml")) << "No keeps the path";

    dlg.answers = {true};
    dlg.ReloadGame();
    EXPECT_EQ(dlg.prompts.size(), 2u);
    EXPECT_EQ(dlg.settings().homeFile, "");
    EXPECT_FALSE(dlg.settings().defaultTeamFiles);
    EXPECT_EQ(dlg.settings().visitorFile, visitor);
    dlg.ReloadGame();
    EXPECT_EQ(dlg.prompts.size(), 2u) << "an emptied path is not asked about again";
}

TEST_F(MainWindow, WatcherReloadsRetryAHalfWrittenFileAndNeverAsk)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.SetRetryDelay(0);
    const std::string whole = sampleGame();
    dir.Write("game.xml", whole.substr(0, whole.size() / 2));

    // The writer finishes while the retries run: no prompt at all.
    int attempts = 0;
    emit dlg.liveGame().reloadRequested();
    processUntil([&] {
        if (++attempts == 3)
            dir.Write("game.xml", whole);
        return dlg.reloadCount() == 2;
    });
    EXPECT_EQ(dlg.reloadCount(), 2);
    EXPECT_TRUE(dlg.prompts.empty());

    // A file that stays broken is reported once the retries are used up,
    // without a question: the watcher's reloads never ask.
    int failures = 0;
    QObject::connect(&dlg.liveGame(), &LiveGame::loadFailed, [&failures] { ++failures; });
    dir.Write("game.xml", "<fbgame>");
    emit dlg.liveGame().reloadRequested();
    processUntil([&] { return failures > 0; });
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(dlg.prompts.empty());
    EXPECT_EQ(dlg.reloadCount(), 2);
}

TEST_F(MainWindow, QueuedAndNestedReloadRequestsMergeIntoOne)
{
    const std::string visitor = dir.PathOf("missing-visitor.xml");
    TestDlg dlg(optionsFor(game, "", visitor));
    dlg.answers = {false};
    ASSERT_TRUE(dlg.OnInitDialog());
    ASSERT_EQ(dlg.reloadCount(), 1);

    // Three requests queued behind each other give one reload.
    dlg.prompts.clear();
    for (int i = 0; i < 3; ++i)
        emit dlg.liveGame().reloadRequested();
    processUntil([] { return false; });
    EXPECT_EQ(dlg.reloadCount(), 2);
    EXPECT_TRUE(dlg.prompts.empty()) << "a watcher reload asks nothing, not even of a season file";

    // Requests arriving while the season prompt is open wait for the reload
    // to end and are then served once.
    int reloadsSeenInPrompt = -1;
    dlg.duringPrompt = [&] {
        dlg.duringPrompt = nullptr;
        emit dlg.liveGame().reloadRequested();
        emit dlg.liveGame().reloadRequested();
        processUntil([] { return false; });
        reloadsSeenInPrompt = dlg.reloadCount();
    };
    dlg.ReloadGame();
    EXPECT_EQ(reloadsSeenInPrompt, 2) << "no reload ran inside the prompt";
    EXPECT_EQ(dlg.reloadCount(), 3);
    processUntil([] { return false; });
    EXPECT_EQ(dlg.reloadCount(), 4);
}

TEST_F(MainWindow, WindowThatIsNotInteractiveFailsWithoutAsking)
{
    WindowOptions options = optionsFor(dir.PathOf("none.xml"));
    options.interactive = false;
    TestDlg dlg(options);
    EXPECT_FALSE(dlg.OnInitDialog());
    EXPECT_TRUE(dlg.prompts.empty());
}

TEST_F(MainWindow, CommandLinePathsReachTheSettingsFileOnlyThroughConfigure)
{
    dir.Write("Pylonix.ini", "[Pylonix]\r\nGameFile=" + dir.PathOf("old.xml") +
                                 "\r\nHomeFile=\r\nVstrFile=\r\nShowTOP=0\r\n");
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(dlg.settings().gameFile, game);
    EXPECT_FALSE(dlg.settings().showTOP) << "the rest comes from the settings file";
    dlg.answers = {true};
    dlg.close();
    EXPECT_EQ(Settings::Read(ini).gameFile, dir.PathOf("old.xml"));

    // Configure's OK writes what it confirmed, goes back to the drives list
    // and loads the new game.
    TestDlg configured(optionsFor(game));
    ASSERT_TRUE(configured.OnInitDialog());
    configured.ClickPage(PAGE_DRIVE_CHARTS);
    configured.drivePage().ShowDrivePlays(1);
    const std::string other =
        dir.Write("other.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    configured.configured.gameFile = other;
    configured.configure = [] { return true; };
    QTest::mouseClick(GetDlgItem(&configured, IDC_CONFIGURE), Qt::LeftButton);
    EXPECT_EQ(Settings::Read(ini).gameFile, other);
    EXPECT_FALSE(configured.playsMode());
    EXPECT_EQ(configured.reloadCount(), 2);
    EXPECT_EQ(configured.session().scoreboard().final, 1);
}

TEST_F(MainWindow, TurnedOffSeasonFileIsWrittenWhenTheUserQuits)
{
    const std::string missing = dir.PathOf("home.xml");
    dir.Write("Pylonix.ini", "[Pylonix]\r\nGameFile=" + game + "\r\nHomeFile=" + missing +
                                 "\r\nDefaultTeamFiles=1\r\n");
    WindowOptions options;
    options.iniFile = ini;
    options.watchGameFile = false;
    TestDlg dlg(options);
    dlg.answers = {true};
    ASSERT_TRUE(dlg.OnInitDialog());
    ASSERT_EQ(dlg.prompts.size(), 1u);
    EXPECT_EQ(Settings::Read(ini).homeFile, missing) << "nothing is written before quitting";

    dlg.answers = {true};
    QTest::keyClick(&dlg, Qt::Key_Escape);
    const Settings written = Settings::Read(ini);
    EXPECT_EQ(written.homeFile, "");
    EXPECT_FALSE(written.defaultTeamFiles);
    EXPECT_EQ(written.gameFile, game);
}

TEST_F(MainWindow, SeasonFileOfTheCommandLineTurnedOffLeavesTheFilesPathAndFlag)
{
    const std::string fileHome = dir.Write("home.xml", "<fbseas/>");
    dir.Write("Pylonix.ini", "[Pylonix]\r\nGameFile=" + game + "\r\nHomeFile=" + fileHome +
                                 "\r\nDefaultTeamFiles=1\r\nShowTOP=0\r\n");
    TestDlg dlg(optionsFor(game, dir.PathOf("missing.xml")));
    dlg.answers = {true};
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(dlg.settings().homeFile, "");
    EXPECT_FALSE(dlg.settings().defaultTeamFiles);

    dlg.answers = {true};
    dlg.close();
    const Settings written = Settings::Read(ini);
    EXPECT_EQ(written.homeFile, fileHome);
    EXPECT_TRUE(written.defaultTeamFiles);
    EXPECT_FALSE(written.showTOP);
}

TEST_F(MainWindow, SeasonTurnedOffAfterConfigureConfirmedItsPathReachesTheFile)
{
    const std::string missing = dir.PathOf("missing.xml");
    TestDlg dlg(optionsFor(game, missing));
    dlg.answers = {false};
    ASSERT_TRUE(dlg.OnInitDialog());

    // Configure confirms the command line's path, which is the file's from
    // then on; the reload after it asks again, and Yes turns it off.
    dlg.configured.gameFile = game;
    dlg.configured.homeFile = missing;
    dlg.configure = [] { return true; };
    dlg.answers = {true};
    QTest::mouseClick(GetDlgItem(&dlg, IDC_CONFIGURE), Qt::LeftButton);
    ASSERT_EQ(dlg.prompts.size(), 2u);
    EXPECT_EQ(dlg.settings().homeFile, "");

    dlg.answers = {true};
    dlg.close();
    const Settings written = Settings::Read(ini);
    EXPECT_EQ(written.homeFile, "");
    EXPECT_FALSE(written.defaultTeamFiles);
}

TEST_F(MainWindow, NoGameFileOpensConfigureAtStart)
{
    WindowOptions options;
    options.iniFile = ini;
    options.watchGameFile = false;
    TestDlg dlg(options);
    dlg.configured.gameFile = game;
    dlg.configure = [] { return true; };
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(dlg.configureRuns, 1);
    EXPECT_TRUE(dlg.prompts.empty());
    EXPECT_EQ(Settings::Read(ini).gameFile, game);
    EXPECT_TRUE(dlg.OverviewText().contains("Harbor City"));
}

TEST_F(MainWindow, WatchedGameFileReloadsWhenRewrittenAndTheWindowQuitsWhileWatching)
{
    WindowOptions options = optionsFor(game);
    options.watchGameFile = true;
    auto dlg = std::make_unique<TestDlg>(options);
    ASSERT_TRUE(dlg->OnInitDialog());
    dir.Write("unrelated.txt", "another file in the folder");
    std::string changed = sampleGame();
    changed.replace(changed.find("Harbor City"), 11, "Mill Valley");
    dir.Write("game.xml", changed);
    // Waits for the watcher's message; no deadline.
    while (dlg->reloadCount() < 2)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_TRUE(dlg->OverviewText().contains("Mill Valley"));
    EXPECT_TRUE(dlg->prompts.empty());
    // Destroying the window stops the watcher, which is waiting for changes.
    dlg.reset();
}

TEST_F(MainWindow, HeaderShowsTheScoreboardAndThePicturesOfTheCurrentPage)
{
    TestDlg dlg(optionsFor(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    dlg.resize(900, 600);
    ASSERT_TRUE(dlg.OnInitDialog());
    for (const int page : {PAGE_OVERVIEW, PAGE_PLAY_BY_PLAY, PAGE_DRIVE_CHARTS}) {
        dlg.ClickPage(page);
        const HeaderState state = dlg.CurrentHeaderState();
        EXPECT_EQ(state.page, page);
        EXPECT_EQ(state.scoreboard.final, 1);
        EXPECT_FALSE(state.homeShortName.empty());

        // The header right of the title picture is exactly what the header
        // painter draws on the button face for that state, but for the strip
        // of the game at a glance.
        QImage expected(900, 80, QImage::Format_RGB32);
        expected.fill(ToQColor(GetSysColor(COLOR_BTNFACE)));
        {
            QPainter painter(&expected);
            QFont bold = DialogFont();
            bold.setWeight(QFont::Bold);
            PaintHeader(painter, state, bold);
        }
        const QImage shown = dlg.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect strip = dlg.Control(LayoutRole::Strip)->geometry();
        int differing = 0;
        for (int y = 0; y < 80; ++y) {
            for (int x = 128; x < 900; ++x)
                differing += !strip.contains(x, y) && shown.pixel(x, y) != expected.pixel(x, y);
        }
        EXPECT_EQ(differing, 0) << "page " << page;
    }
    // The title picture and the button images come from the program's bitmaps.
    auto *title = dlg.findChildren<QLabel *>().front();
    EXPECT_EQ(title->pixmap().size(), QSize(128, 80));
    auto *offense = qobject_cast<QPushButton *>(GetDlgItem(&dlg, IDC_OFFENSE));
    EXPECT_TRUE(offense->text().isEmpty());
    EXPECT_EQ(offense->accessibleName(), "Offense");
    EXPECT_EQ(offense->iconSize(), QSize(125, 21));
}

TEST_F(MainWindow, PageTablesShowWithTheirPageAndFillLazily)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    const auto rows = [&dlg](LayoutRole role, int index = 0) {
        return qobject_cast<CZrGridListCtrl *>(dlg.Control(role, index))->GetItemCount();
    };
    EXPECT_TRUE(shown(dlg.Control(LayoutRole::TeamStats)));
    EXPECT_GT(rows(LayoutRole::TeamStats), 0);
    EXPECT_EQ(rows(LayoutRole::Passing, 0), 0)
        << "the Offense page is not filled before it is shown";

    dlg.ClickPage(PAGE_OFFENSE);
    for (int side = 0; side < 2; ++side) {
        for (LayoutRole role : {LayoutRole::Passing, LayoutRole::Rushing, LayoutRole::Receiving}) {
            EXPECT_TRUE(shown(dlg.Control(role, side)));
            EXPECT_GT(rows(role, side), 0);
        }
        EXPECT_FALSE(shown(dlg.Control(LayoutRole::Defense, side)));
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(shown(dlg.Control(LayoutRole::OffenseTitle, i))) << i;
    EXPECT_FALSE(shown(dlg.Control(LayoutRole::TeamStats)));

    dlg.ClickPage(PAGE_SPECIAL_TEAMS);
    for (int i = 0; i < 14; ++i) {
        EXPECT_TRUE(shown(dlg.Control(LayoutRole::SpecialTeams, i))) << i;
        EXPECT_TRUE(shown(dlg.Control(LayoutRole::SpecialTitle, i))) << i;
    }
    EXPECT_FALSE(shown(dlg.Control(LayoutRole::Passing, 0)));

    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    EXPECT_TRUE(shown(dlg.Control(LayoutRole::DriveLists, 0)));
    EXPECT_FALSE(shown(dlg.Control(LayoutRole::DriveLists, 1)));
    EXPECT_EQ(rows(LayoutRole::DriveLists, 0), dlg.drivePage().drives().count());
    dlg.drivePage().ShowDrivePlays(1);
    EXPECT_FALSE(shown(dlg.Control(LayoutRole::DriveLists, 0)));
    EXPECT_TRUE(shown(dlg.Control(LayoutRole::DriveLists, 1)));
    EXPECT_EQ(rows(LayoutRole::DriveLists, 1), dlg.drivePage().drives().count());
    EXPECT_GT(dlg.drivePage().drives().count(), 0);
}

TEST_F(MainWindow, OffenseTablesArePlacedFromTheirNaturalSizes)
{
    TestDlg dlg(optionsFor(game));
    dlg.resize(1024, 720);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_OFFENSE);
    const QRect homePassing = dlg.Control(LayoutRole::Passing, 0)->geometry();
    const QRect homeRushing = dlg.Control(LayoutRole::Rushing, 0)->geometry();
    const QRect visitorPassing = dlg.Control(LayoutRole::Passing, 1)->geometry();
    const QRect visitorRushing = dlg.Control(LayoutRole::Rushing, 1)->geometry();
    // Inside the container's 2-pixel sunken edge.
    EXPECT_EQ(homePassing.topLeft(), QPoint(2, 17));
    EXPECT_EQ(dlg.Control(LayoutRole::OffenseTitle, 0)->geometry(),
              QRect(2, 2, homePassing.width(), 15));
    // Rows line up across the teams, under the taller passing table.
    EXPECT_EQ(homeRushing.y(), visitorRushing.y());
    EXPECT_EQ(homeRushing.y(),
              2 + std::max(homePassing.height(), visitorPassing.height()) + 25 + 15);
    const int widestHome = std::max({homePassing.width(), homeRushing.width(),
                                     dlg.Control(LayoutRole::Receiving, 0)->geometry().width()});
    EXPECT_EQ(visitorPassing.x(), 2 + widestHome + 10);
    EXPECT_EQ(dlg.Control(LayoutRole::Container)->geometry(), QRect(130, 80, 894, 640));
}

TEST_F(MainWindow, ScrolledPageIsLaidOutAtTheScrollPositionAndAReloadReturnsToTheTop)
{
    TestDlg dlg(optionsFor(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    dlg.resize(600, 400);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.show();
    dlg.ClickPage(PAGE_OFFENSE);
    auto *container = dlg.findChild<CPageContainerWnd *>();
    ASSERT_NE(container, nullptr);
    ASSERT_GT(container->ContentSize().height(), container->height());
    container->OnVScroll(SB_LINEDOWN);
    const int position = container->VertPosition();
    EXPECT_GT(position, 0);
    EXPECT_EQ(dlg.Control(LayoutRole::Passing, 0)->y(), 2 + 15 - position)
        << "the container tells the window, which lays the page out again";

    dlg.ReloadGame();
    EXPECT_EQ(container->VertPosition(), 0);
    EXPECT_EQ(dlg.Control(LayoutRole::Passing, 0)->y(), 2 + 15);
}

namespace
{

// A double click with the left button inside a cell of a table.
void doubleClickCell(CZrGridListCtrl *table, int row, int column)
{
    const CRect cell = table->GetCellRect(row, column);
    const QPointF at((cell.left + cell.right) / 2.0, (cell.top + cell.bottom) / 2.0);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, table->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(table->viewport(), &click);
}

} // namespace

TEST_F(MainWindow, DoubleClickOnAPlayerRowOpensThePlayerOfThatTeam)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_SPECIAL_TEAMS);
    dlg.ClickPage(PAGE_OFFENSE);
    auto *visitorRushing = qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::Rushing, 1));
    ASSERT_GT(visitorRushing->GetItemCount(), 0);
    doubleClickCell(visitorRushing, 0, 1);
    ASSERT_EQ(dlg.openedPlayers.size(), 1u);
    EXPECT_EQ(dlg.openedPlayers[0],
              std::make_pair(1, static_cast<int>(visitorRushing->GetItemData(0))));

    // A row with a negative player index (a team line) opens nothing.
    visitorRushing->SetItemData(0, -1);
    doubleClickCell(visitorRushing, 0, 1);
    EXPECT_EQ(dlg.openedPlayers.size(), 1u);

    // Special-teams tables belong to team i / 7: kickoffs are 2 (home) and 9 (visitor).
    for (const int table : {2, 9}) {
        auto *kickoffs =
            qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::SpecialTeams, table));
        ASSERT_GT(kickoffs->GetItemCount(), 0) << table;
        doubleClickCell(kickoffs, 0, 0);
        EXPECT_EQ(dlg.openedPlayers.back(),
                  std::make_pair(table / 7, static_cast<int>(kickoffs->GetItemData(0))));
    }
    EXPECT_EQ(dlg.openedPlayers.size(), 3u);
}

TEST_F(MainWindow, OnePlayerWindowIsOpenedReusedAndForgottenWhenItCloses)
{
    TestDlg dlg(optionsFor(game));
    dlg.realPlayerWindow = true;
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_OFFENSE);
    auto *visitorRushing = qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::Rushing, 1));
    auto *homeRushing = qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::Rushing, 0));
    ASSERT_GT(visitorRushing->GetItemCount(), 0);
    ASSERT_GT(homeRushing->GetItemCount(), 0);
    doubleClickCell(visitorRushing, 0, 1);
    QPointer<CPlayerDlg> player = qobject_cast<CPlayerDlg *>(dlg.PlayerWindow());
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(player->TeamIndex(), 1);
    EXPECT_EQ(player->PlayerIndex(), static_cast<int>(visitorRushing->GetItemData(0)));
    EXPECT_NE(player->TitleStatic()->text(), QStringLiteral("#0 No Player"));

    doubleClickCell(homeRushing, 0, 1);
    EXPECT_EQ(dlg.PlayerWindow(), player.data()) << "the open window is reused";
    EXPECT_EQ(player->TeamIndex(), 0);

    // After a reload the window shows its player again from the refilled game.
    player->TitleStatic()->clear();
    dlg.ReloadGame();
    EXPECT_EQ(player->TitleStatic()->text(), player->Content().title);
    EXPECT_FALSE(player->Content().title.isEmpty());

    player->reject();
    processUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return player.isNull();
    });
    EXPECT_TRUE(player.isNull()) << "closing the player window deletes it";
    EXPECT_EQ(dlg.PlayerWindow(), nullptr);
}

TEST_F(MainWindow, ChartSelectionReachesBothLists)
{
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    auto *drives = qobject_cast<CZrGridListCtrl *>(dlg.Control(LayoutRole::DriveLists, 0));
    ASSERT_GT(drives->GetItemCount(), 1);
    auto *chart = qobject_cast<CDriveChartWnd *>(dlg.Control(LayoutRole::DriveChart));
    ASSERT_NE(chart, nullptr);
    emit chart->driveRowSelected(1);
    EXPECT_EQ(drives->GetFirstSelectedRow(), 1);
    emit chart->driveRowSelected(0);
    EXPECT_EQ(drives->GetFirstSelectedRow(), 0);
    EXPECT_EQ(drives->GetItemState(1, LVIS_SELECTED), 0u) << "the earlier row is deselected";

    // A row chosen in a list selects that drive in the chart, whose read-out
    // reaches the drive text box.
    auto *list = qobject_cast<CChartListGrid *>(drives);
    emit list->chartDriveSelected(1);
    EXPECT_EQ(chart->selected(), 1);
    EXPECT_TRUE(qobject_cast<QPlainTextEdit *>(dlg.Control(LayoutRole::DriveText))
                    ->toPlainText()
                    .startsWith("Selected:"));

    emit list->chartDriveSelected(99);
    EXPECT_EQ(chart->selected(), dlg.drivePage().drives().count() - 1)
        << "the index is clamped to the list";
}

TEST_F(MainWindow, NarrowerPlayColumnRefillsThePlayByPlayWithMoreWrappedLines)
{
    TestDlg dlg(optionsFor(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_PLAY_BY_PLAY);
    auto *table = qobject_cast<CStatGridCtrl *>(dlg.Control(LayoutRole::PlayByPlay));
    const int rows = table->GetItemCount();
    ASSERT_GT(rows, 0);
    table->SetColumnWidth(2, table->GetColumnWidth(2) / 2);
    emit table->gridLayoutChanged();
    EXPECT_EQ(table->GetItemCount(), rows) << "the layout waits until the resize is done";
    QApplication::processEvents();
    EXPECT_GT(table->GetItemCount(), rows);
}

TEST_F(MainWindow, ShrinkingTheDriveChartsPageGivesUpTheTextBoxFirst)
{
    TestDlg dlg(optionsFor(game));
    dlg.resize(1024, 720);
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.show();
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    emit qobject_cast<CSplitterBar *>(dlg.Control(LayoutRole::Splitter))
        ->splitterMoved(150 - dlg.textHeight());
    ASSERT_EQ(dlg.textHeight(), 150);

    // 520 < 200 + 150 + 200: the text box gives up 30 pixels, the chart none.
    dlg.resize(1024, 520);
    EXPECT_EQ(dlg.textHeight(), 120);
    EXPECT_EQ(dlg.chartHeight(), 200);
    // 420 leaves 20 pixels for the text: it keeps 50 and the chart gets 170.
    dlg.resize(1024, 420);
    EXPECT_EQ(dlg.textHeight(), 50);
    EXPECT_EQ(dlg.chartHeight(), 170);
    EXPECT_EQ(dlg.Control(LayoutRole::DriveChart)->geometry(), QRect(130, 103, 894, 170));
    EXPECT_EQ(dlg.Control(LayoutRole::DriveText)->geometry(), QRect(130, 277, 894, 50));
    EXPECT_EQ(dlg.Control(LayoutRole::Splitter)->geometry(), QRect(130, 327, 894, 4));
    EXPECT_EQ(dlg.Control(LayoutRole::DriveLists, 0)->geometry(), QRect(130, 331, 894, 89));
}

TEST_F(MainWindow, HintTellsOfAGameFileWithoutDrivesOrPlays)
{
    dir.Write("game.xml", R"(<fbgame><venue><rules qtrs="4" field="100"/></venue>
      <team vh="H" name="Home" id="HOM"/><team vh="V" name="Away" id="AWY"/></fbgame>)");
    TestDlg dlg(optionsFor(game));
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.ClickPage(PAGE_DRIVE_CHARTS);
    auto *hint = qobject_cast<QLabel *>(dlg.Control(LayoutRole::Hint));
    EXPECT_EQ(hint->text(), "This game file has no drives and no plays.");

    dir.Write("game.xml", sampleGame());
    dlg.ReloadGame();
    EXPECT_EQ(hint->text(), "Double click on a drive to view individual plays.");
}
