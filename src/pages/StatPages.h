#pragma once

#include "CDriveListGrid.h"
#include "CPlayByPlayGrid.h"
#include "CPlayListGrid.h"
#include "CPlayerStatGrid.h"
#include "CScoringGrid.h"
#include "CTeamStatsGrid.h"
#include "CYardageSummaryGrid.h"
#include "views/TablePages.h"

#include <QFont>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

class CDriveChartData;
class GameSession;
class QLabel;
class QWidget;

// Every table of the statistics pages, created as the main window creates them, and the fill
// of each page. The main window owns one; the export makes one off-screen; both fill through
// these operations, so the export shows what the window shows. The tables and titles belong
// to their parent windows.
class StatPages
{
public:
    // Creates every table with its id, column setup and (all but the yardage summary)
    // GLF_FULLROWSELECT, and the bold titles (id 1011): the yardage summary, the play-by-play
    // table and the drives and plays lists as children of `dialog`; the team statistics
    // table, the offense, defense and special-teams tables with their titles and the scoring
    // table as children of `container`.
    StatPages(QWidget *dialog, QWidget *container, const QFont &boldFont);

    CYardageSummaryGrid *yardage;
    CTeamStatsGrid *teamStats;
    std::array<CPassingGrid *, 2> passing; // [0] home, [1] visitor
    std::array<CRushingGrid *, 2> rushing;
    std::array<CReceivingGrid *, 2> receiving;
    std::array<QLabel *, 6> offenseTitles; // home Passing, Rushing, Receiving, then visitor
    std::array<CDefenseGrid *, 2> defense;
    std::array<CPlayerStatGrid *, 14> specialTeams; // home seven, then visitor seven
    std::array<QLabel *, 14> specialTitles;
    CScoringGrid *scoring;
    CPlayByPlayGrid *playByPlay;
    CDriveListGrid *driveList;
    CPlayListGrid *playList;

    // What the fills take beside the session: the period shown and whether
    // the time of possession is.
    struct FillOptions {
        int period = 0;
        bool showTop = true;
        // The drive list the drives and plays lists show; without one they are left as they are.
        const CDriveChartData *drives = nullptr;
    };
    // The pages Fill fills: every page of tables, the drives page with the
    // plays list.
    static constexpr std::array<TablePage, 8> kFilledPages{
        TablePage::Yardage,      TablePage::TeamStats, TablePage::Offense,    TablePage::Defense,
        TablePage::SpecialTeams, TablePage::Scoring,   TablePage::PlayByPlay, TablePage::Drives};
    // Fills the tables of one page of kFilledPages; the plays list is filled
    // with the drives list.
    void Fill(TablePage page, const GameSession &session, const FillOptions &options);
    // Every table above, for those who listen to all of them.
    std::vector<CStatGridCtrl *> Tables() const;
    // The tables of players: offense, defense and special teams.
    std::vector<CPlayerStatGrid *> PlayerTables() const;

    // Each fill replaces the rows of its page from the session. The sorted pages come back
    // in their default order and direction, but a table the user sorted by header clicks
    // keeps the user's order (CStatGridCtrl::ShowTable).
    void FillYardage(const GameSession &session);
    void FillTeamStats(const GameSession &session, bool showTop);
    void FillOffense(const GameSession &session);      // sorted by column 0
    void FillDefense(const GameSession &session);      // sorted by column 2
    void FillSpecialTeams(const GameSession &session); // sorted by column 1
    void FillScoring(const GameSession &session, bool showTop);
    void FillPlayByPlay(const GameSession &session, int period, bool showTop);
    void FillDriveLists(const CDriveChartData &drives, bool showTop);

    // The width of the pages the tables stand on (PageWidthForClient); the
    // fills from now on fit the tables' columns to it.
    void SetPageWidth(int width) { pageWidth_ = width; }
    // Fits the shown tables of one page of kFilledPages to the page width
    // anew, their rows as they are: for a page width that changed since the fill.
    void Refit(TablePage page);

private:
    // The tables filled with one page of kFilledPages, each with the page
    // it is fitted as.
    std::vector<std::pair<CStatGridCtrl *, TablePage>> FittedTables(TablePage page) const;
    // Fits a table of `page` to the page width and shows it in `grid`.
    void showFitted(CStatGridCtrl *grid, TablePage page, StatTable table) const;

    int pageWidth_;
};
