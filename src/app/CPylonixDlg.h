#pragma once

#include "app/HeaderPainter.h"
#include "app/MainLayout.h"
#include "app/Settings.h"
#include "live/LiveGame.h"
#include "views/ReloadStatus.h"

#include <QDateTime>
#include <QDialog>
#include <QFont>
#include <QMessageBox>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CGameStrip;
class CLineScoreView;
class DriveChartsPage;
class CPageContainerWnd;
class GameSession;
class StatPages;
class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

// How the window starts. Paths given here replace those of the settings
// file for this run. A window that is not interactive (the export and the
// screenshot) never prompts, never opens Configure and watches nothing:
// when the game file cannot be read, OnInitDialog fails instead.
struct WindowOptions {
    std::optional<std::string> gameFile;
    std::optional<std::string> homeFile;
    std::optional<std::string> visitorFile;
    // The settings file; by default "Pylonix.ini" where the program keeps it.
    // A window that is not interactive reads one only when it is given.
    std::optional<std::string> iniFile;
    bool interactive = true;
    // Whether an interactive window watches the game file and reloads it.
    bool watchGameFile = true;
    // This run's Show Time of Possession and play-by-play "Play" column width
    // (pixels), in place of the settings file's and the table's own.
    std::optional<bool> showTop;
    std::optional<int> playByPlayWidth;
    // Whether an interactive window takes the place and size the settings
    // file remembers (not when this run gives a size of its own).
    bool rememberedPlacement = true;
    // A game loaded already, which the window shows instead of a game of its
    // own; it must outlive the window. The window loads it only when it has
    // not been loaded yet.
    LiveGame *game = nullptr;
    // The time the strip tells reloads by; the system clock when not given.
    std::function<QDateTime()> clock;
};

// The main window: a fixed header (title picture and scoreboard), a column of
// page buttons with the yardage summary under them, the Configure button and
// one page at a time to the right. It shows the game its LiveGame loads and
// asks the user when a load fails, fills a page when it is shown after a
// reload, and routes the messages by which
// the drive chart, the drive lists, the tables and the Individual Player
// window talk to each other.
class CPylonixDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPylonixDlg(WindowOptions options = {}, QWidget *parent = nullptr);
    ~CPylonixDlg() override;

    // Creates every control, loads the game and shows the first page. False
    // only for a window that is not interactive and cannot read the game.
    bool OnInitDialog();

    // Shows the page of the checked page button, filling it first when it was
    // not filled since the last reload, and lays the window out.
    void ShowPage();

    // Has the live game reload every file; the window refreshes when it
    // reports the load. A request made while a reload runs is served once,
    // after it.
    void ReloadGame();

    // Places the controls of the current page for the client size.
    void Layout();

    // Clicks the page button of `page` (a PageCode) as the user would.
    void ClickPage(int page);
    // Ends the window as a Yes to the quit prompt does: the settings are
    // written and the dialog closes. No prompt opens after it.
    void QuitConfirmed();

    // The box score of the game shown, on the printer (or PDF file) the user
    // chooses in the print dialog: the "Box Score..." entry and Ctrl+P.
    void PrintBoxScore();
    // The action of the window's menu that prints the box score.
    QAction *boxScoreAction() const { return boxScoreAction_; }

    // Chooses entry `index` of the period box as the user would.
    void ChoosePeriod(int index);

    int currentPage() const { return page_; }
    int filledPages() const { return filledPages_; }
    int periodSelection() const { return period_; }
    int chartHeight() const { return chartHeight_; }
    int textHeight() const { return textHeight_; }
    // The settings in use, and those the settings file gets when written:
    // values given for this run only reach it through Configure.
    const Settings &settings() const { return settings_; }
    Settings fileSettings() const { return fileValues_.ForFile(settings_); }
    bool playsMode() const;
    // Reloads that read the game file, since start-up.
    int reloadCount() const { return game_->reloadCount(); }
    const GameSession &session() const { return *session_; }
    // The Drive Charts page, for the export's clicks and for checks.
    DriveChartsPage &drivePage() { return *drivePage_; }
    const DriveChartsPage &drivePage() const { return *drivePage_; }
    LiveGame &liveGame() const { return *game_; }

    // The control a layout role names, or null when this window has none.
    QWidget *Control(LayoutRole role, int index = 0) const;
    // Every control with its role name for the export, in a fixed order.
    std::vector<std::pair<QString, QWidget *>> NamedControls() const;
    // The result of the latest layout.
    const LayoutResult &lastLayout() const { return lastLayout_; }
    // Where the layout last put the period box, its drop-down list included.
    std::optional<QRect> periodBoxRect() const { return periodBoxRect_; }
    // The page container's content size as the latest layout set it.
    QSize containerContentSize() const;
    // Why the latest load of the game file failed.
    const std::string &lastLoadError() const { return game_->lastError(); }

    // Fills the Game Overview page's text if it is not filled yet, whichever
    // page is shown (the export always reports it).
    void EnsureOverviewFilled();

    // The text of the Game Overview page as its static control holds it.
    QString OverviewText() const;
    // What the header shows now.
    HeaderState CurrentHeaderState() const;

    // The entries of the period box.
    QStringList PeriodEntries() const;

    static constexpr const char *kCaption = "Torvell Pylonix Football";

protected:
    // Asks a Yes/No question; true for Yes. Tests replace it.
    virtual bool AskYesNo(const QString &text, const QString &caption, QMessageBox::Icon icon);
    // Runs the Configure dialog on the current settings; true when confirmed.
    virtual bool RunConfigureDialog();
    // Opens (or points the open) Individual Player window at the player of
    // team `team` (0 home, 1 visitor) with index `player` in that team. The
    // window it makes is kept in playerWindow_; when it announces
    // playerClosed the window deletes it.
    virtual void OpenPlayerWindow(int team, int player);
    // Opens the About box.
    virtual void ShowAbout();
    // Runs the print dialog on `printer`; true when the user chose to print.
    // Tests replace it.
    virtual bool RunPrintDialog(QPrinter &printer);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The window's own menu (the system menu of the classic window): the About item.
    void contextMenuEvent(QContextMenuEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void accept() override;
    void reject() override;

    // The settings in use, for a Configure dialog that replaces them.
    Settings &settingsInUse() { return settings_; }

    // The Individual Player window while it is open.
    QPointer<QWidget> playerWindow_;

private:
    // Start-up.
    void CreateControls();
    void CreateDriveChartControls();
    // The strip and the line score and situation of the Game Overview page.
    void CreateGlanceControls();
    // The window's menu entry and shortcut for the box score.
    void CreateBoxScoreAction();
    void RegisterPageTables();
    void RegisterControl(LayoutRole role, int index, QWidget *control);

    // Messages and commands.
    void OnCancel();
    void OnConfigure();
    void ReadSettings();
    // Puts the window where the settings file remembers it and gives the
    // play-by-play column and the drive text box their remembered sizes.
    void UseRememberedWindow();
    // The window's place and sizes as they are now, into the settings in use.
    void RememberWindow();
    void WriteSettings();
    // Tells the user (on the error stream) why the settings file is not read
    // or written; once a run.
    void ReportSettingsProblem(const std::string &problem);
    void ApplyConfigured();
    void StartWatcher();
    // The files the settings in use name, for the live game.
    void UseSettingsFiles();
    void OnPeriodChanged(int index);
    void OnSplitterMoved(int delta);
    void OnPlayerClosed();
    void OnGridLayout();

    // Reloading.
    QTime Now() const;
    void ShowReloadStatus();
    void OnReloaded();
    void OnLoadFailed(LiveFile file, const QString &reason);
    void OnGameFileMissing(const QString &path);
    // Fits the line score's columns to its texts; returns the width it needs.
    int FitLineScore();
    void RebuildPeriodBox();

    // Pages.
    void FillPage(int page);
    void FillOverview();
    void FillDriveCharts();
    void RefillDriveCharts();
    void SetDrivesMode(bool playsMode);
    std::vector<QWidget *> PageControls(int page) const;

    // Layout.
    QRect PageButtonRect(int index) const;
    void MakeButtonImages();
    QPoint ContainerScroll() const;
    void SetContainerContentSize(QSize size);
    void PlaceYardageSummary();
    // Repaints the parts of the header whose values changed since the last call.
    void RepaintHeader();

    WindowOptions options_;

    // Settings.
    Settings settings_;
    OverriddenFileValues fileValues_;
    std::string iniPath_;
    bool settingsProblemReported_ = false;
    // The quit is confirmed: whatever still runs asks nothing more.
    bool quitConfirmed_ = false;
    bool MayPrompt() const { return options_.interactive && !quitConfirmed_; }

    int page_ = PAGE_OVERVIEW;
    int shownPage_ = 0; // the page ShowPage showed last, 0 before the first
    // The header ShowPage last asked to paint: the next shows only what differs.
    std::optional<HeaderState> shownHeader_;
    int filledPages_ = 0;
    int period_ = 0;
    int chartHeight_ = 200;
    int textHeight_ = 50;
    int playByPlayColumn2_ = 0;
    std::optional<QRect> periodBoxRect_;

    // The game shown: the window's own, or the one its options gave.
    std::unique_ptr<LiveGame> ownGame_;
    LiveGame *game_;
    GameSession *session_; // the game's

    QFont boldFont_;
    QLabel *titlePicture_ = nullptr;
    std::array<QPushButton *, 7> pageButtons_{};
    QButtonGroup *pageGroup_ = nullptr;
    QPushButton *configure_ = nullptr;
    CPageContainerWnd *container_ = nullptr;
    std::unique_ptr<StatPages> pages_;
    QLabel *overviewText_ = nullptr;
    QComboBox *periodBox_ = nullptr;
    DriveChartsPage *drivePage_ = nullptr; // a child object of the window
    CGameStrip *strip_ = nullptr;
    CLineScoreView *lineScore_ = nullptr;
    QLabel *situationText_ = nullptr;
    QAction *boxScoreAction_ = nullptr;

    // A load the user started runs (start-up, Configure, ReloadGame): only
    // such a load asks when it fails; the watcher's and the timer's tell the strip.
    bool userLoadRunning_ = false;
    ReloadStatus reloadStatus_;

    std::map<std::pair<LayoutRole, int>, QWidget *> controls_;
    LayoutResult lastLayout_;
};
