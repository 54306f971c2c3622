#include "StatPages.h"

#include "gamedata/GameSession.h"
#include "platform/ControlIds.h"

#include <QLabel>

const std::array<const char *, 3> StatPages::kOffenseTitles{"Passing", "Rushing", "Receiving"};
const std::array<const char *, 7> StatPages::kSpecialTitles{
    "Field Goals",  "Punting",     "Kickoffs",      "Kick Returns",
    "Punt Returns", "Int Returns", "Fumble Returns"};

namespace
{

// A table window with its columns; every table but the yardage summary
// selects whole rows.
template <typename Grid> Grid *makeTable(QWidget *parent, int id, bool fullRow = true)
{
    auto *grid = new Grid(parent, id);
    grid->SetupColumns();
    if (fullRow)
        grid->SetFlags(GLF_FULLROWSELECT);
    return grid;
}

QLabel *makeTitle(QWidget *parent, const char *text, const QFont &boldFont)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    SetDlgCtrlID(label, IDC_STATIC_TEXT);
    label->setFont(boldFont);
    return label;
}

// Refills one player table in its page's default order.
void fillSorted(CStatGridCtrl *table, const GameSession &session, int side, int column)
{
    table->FillTeam(session.team(side), session.season(side));
    // A live game refills every minute: restart the direction so that the
    // default order does not flip at every reload.
    table->ResetSortOrder();
    table->SortByColumn(column);
}

} // namespace

StatPages::StatPages(QWidget *dialog, QWidget *container, const QFont &boldFont)
{
    yardage = makeTable<CYardageSummaryGrid>(dialog, IDC_YARDAGE_SUMMARY, false);
    teamStats = makeTable<CTeamStatsGrid>(container, IDC_TEAM_STATS);
    for (int side = 0; side < 2; ++side) {
        passing[side] = makeTable<CPassingGrid>(container, IDC_PASSING);
        rushing[side] = makeTable<CRushingGrid>(container, IDC_RUSHING);
        receiving[side] = makeTable<CReceivingGrid>(container, IDC_RECEIVING);
        defense[side] = makeTable<CDefenseGrid>(container, IDC_DEFENSE_TABLE);
    }
    for (int i = 0; i < 6; ++i)
        offenseTitles[i] = makeTitle(container, kOffenseTitles[i % 3], boldFont);
    for (int side = 0; side < 2; ++side) {
        const int first = side * 7;
        specialTeams[first + 0] = makeTable<CFieldGoalGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
        specialTeams[first + 1] = makeTable<CPuntingGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
        specialTeams[first + 2] = makeTable<CKickoffGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
        specialTeams[first + 3] = makeTable<CKickReturnGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
        specialTeams[first + 4] = makeTable<CPuntReturnGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
        specialTeams[first + 5] = makeTable<CIntReturnGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
        specialTeams[first + 6] = makeTable<CFumbleReturnGrid>(container, IDC_SPECIAL_TEAMS_TABLE);
    }
    for (int i = 0; i < 14; ++i)
        specialTitles[i] = makeTitle(container, kSpecialTitles[i % 7], boldFont);
    scoring = makeTable<CScoringGrid>(container, IDC_SCORING_SUMMARY);
    playByPlay = makeTable<CPlayByPlayGrid>(dialog, IDC_PLAY_BY_PLAY_TABLE);
    driveList = makeTable<CDriveListGrid>(dialog, IDC_DRIVE_LISTS);
    playList = makeTable<CPlayListGrid>(dialog, IDC_DRIVE_LISTS);
    for (CChartListGrid *list :
         {static_cast<CChartListGrid *>(driveList), static_cast<CChartListGrid *>(playList)}) {
        list->SetSingleSelection(true);
        list->SetShowSelectionAlways(true);
        // The sunken client edge.
        list->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    }
}

void StatPages::FillYardage(const GameSession &session)
{
    yardage->Fill(session.teams());
}

void StatPages::FillTeamStats(const GameSession &session, bool showTop)
{
    teamStats->SetShowTOP(showTop);
    teamStats->Fill(session.teams());
}

void StatPages::FillOffense(const GameSession &session)
{
    for (int side = 0; side < 2; ++side) {
        fillSorted(passing[side], session, side, 0);
        fillSorted(rushing[side], session, side, 0);
        fillSorted(receiving[side], session, side, 0);
    }
}

void StatPages::FillDefense(const GameSession &session)
{
    for (int side = 0; side < 2; ++side)
        fillSorted(defense[side], session, side, 2);
}

void StatPages::FillSpecialTeams(const GameSession &session)
{
    for (int i = 0; i < 14; ++i)
        fillSorted(specialTeams[i], session, i / 7, 1);
}

void StatPages::FillScoring(const GameSession &session, bool showTop)
{
    scoring->SetShowTOP(showTop);
    scoring->Fill(session.game());
}

void StatPages::FillPlayByPlay(const GameSession &session, int period, bool showTop)
{
    playByPlay->SetQuarter(period);
    playByPlay->SetShowTOP(showTop);
    playByPlay->Fill(session.game(), session.teams());
}

void StatPages::FillDriveLists(const CDriveChartData &drives, bool showTop)
{
    driveList->SetShowTOP(showTop);
    driveList->Fill(drives);
    playList->Fill(drives);
}
