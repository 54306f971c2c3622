#include "StatPages.h"

#include "gamedata/GameSession.h"
#include "platform/ControlIds.h"
#include "views/ChartListTables.h"
#include "views/ColumnFitting.h"
#include "views/PlayerStatTable.h"
#include "views/TeamStatsTable.h"
#include "views/YardageSummaryTable.h"

#include <QLabel>

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

QLabel *makeTitle(QWidget *parent, std::string_view text, const QFont &boldFont)
{
    auto *label =
        new QLabel(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), parent);
    SetDlgCtrlID(label, IDC_STATIC_TEXT);
    label->setFont(boldFont);
    return label;
}

StatTable playersOf(const CPlayerStatGrid *table, const GameSession &session, int side)
{
    return BuildPlayerStatTable(table->layout(), session.team(side), session.season(side));
}

} // namespace

StatPages::StatPages(QWidget *dialog, QWidget *container, const QFont &boldFont)
    : pageWidth_(PageWidthForClient(1024))
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
        offenseTitles[i] =
            makeTitle(container, StatColumnSets::kOffenseTables[i % 3].title, boldFont);
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
    for (int side = 0; side < 2; ++side) {
        const std::array<CPlayerStatGrid *, 4> offenseAndDefense{passing[side], rushing[side],
                                                                 receiving[side], defense[side]};
        for (CPlayerStatGrid *table : offenseAndDefense)
            table->SetTeam(side);
        for (int i = 0; i < 7; ++i)
            specialTeams[side * 7 + i]->SetTeam(side);
    }
    for (int i = 0; i < 14; ++i)
        specialTitles[i] =
            makeTitle(container, StatColumnSets::kSpecialTeamsTables[i % 7].title, boldFont);
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

void StatPages::Fill(TablePage page, const GameSession &session, const FillOptions &options)
{
    switch (page) {
    case TablePage::Yardage:
        return FillYardage(session);
    case TablePage::TeamStats:
        return FillTeamStats(session, options.showTop);
    case TablePage::Offense:
        return FillOffense(session);
    case TablePage::Defense:
        return FillDefense(session);
    case TablePage::SpecialTeams:
        return FillSpecialTeams(session);
    case TablePage::Scoring:
        return FillScoring(session, options.showTop);
    case TablePage::PlayByPlay:
        return FillPlayByPlay(session, options.period, options.showTop);
    case TablePage::Drives:
    case TablePage::Plays:
        if (options.drives)
            FillDriveLists(*options.drives, options.showTop);
        return;
    }
}

std::vector<CStatGridCtrl *> StatPages::Tables() const
{
    std::vector<CStatGridCtrl *> tables{yardage,    teamStats, scoring,
                                        playByPlay, driveList, playList};
    for (CPlayerStatGrid *table : PlayerTables())
        tables.push_back(table);
    return tables;
}

std::vector<CPlayerStatGrid *> StatPages::PlayerTables() const
{
    std::vector<CPlayerStatGrid *> tables;
    for (int side = 0; side < 2; ++side)
        tables.insert(tables.end(), {passing[side], rushing[side], receiving[side], defense[side]});
    tables.insert(tables.end(), specialTeams.begin(), specialTeams.end());
    return tables;
}

std::vector<std::pair<CStatGridCtrl *, TablePage>> StatPages::FittedTables(TablePage page) const
{
    std::vector<std::pair<CStatGridCtrl *, TablePage>> tables;
    const auto add = [&tables, page](CStatGridCtrl *grid) { tables.emplace_back(grid, page); };
    switch (page) {
    case TablePage::Yardage:
        add(yardage);
        break;
    case TablePage::TeamStats:
        add(teamStats);
        break;
    case TablePage::Offense:
        for (int side = 0; side < 2; ++side) {
            add(passing[side]);
            add(rushing[side]);
            add(receiving[side]);
        }
        break;
    case TablePage::Defense:
        for (CDefenseGrid *grid : defense)
            add(grid);
        break;
    case TablePage::SpecialTeams:
        for (CPlayerStatGrid *grid : specialTeams)
            add(grid);
        break;
    case TablePage::Scoring:
        add(scoring);
        break;
    case TablePage::PlayByPlay:
        add(playByPlay);
        break;
    case TablePage::Drives:
    case TablePage::Plays:
        tables.emplace_back(driveList, TablePage::Drives);
        tables.emplace_back(playList, TablePage::Plays);
        break;
    }
    return tables;
}

void StatPages::Refit(TablePage page)
{
    for (const auto &[grid, fitted] : FittedTables(page)) {
        const QFont font = grid->font();
        grid->RefitTable([&font, fitted, this](StatTable &table) {
            FitPageTable(table, fitted, font, pageWidth_);
        });
    }
}

void StatPages::showFitted(CStatGridCtrl *grid, TablePage page, StatTable table) const
{
    FitPageTable(table, page, grid->font(), pageWidth_);
    grid->ShowTable(std::move(table));
}

void StatPages::FillYardage(const GameSession &session)
{
    showFitted(yardage, TablePage::Yardage, BuildYardageSummaryTable(session.teams()));
}

void StatPages::FillTeamStats(const GameSession &session, bool showTop)
{
    showFitted(teamStats, TablePage::TeamStats, BuildTeamStatsTable(session.teams(), showTop));
}

void StatPages::FillOffense(const GameSession &session)
{
    for (int side = 0; side < 2; ++side) {
        const std::array<CPlayerStatGrid *, 3> tables{passing[side], rushing[side],
                                                      receiving[side]};
        for (CPlayerStatGrid *table : tables)
            showFitted(table, TablePage::Offense, playersOf(table, session, side));
    }
}

void StatPages::FillDefense(const GameSession &session)
{
    for (int side = 0; side < 2; ++side)
        showFitted(defense[side], TablePage::Defense, playersOf(defense[side], session, side));
}

void StatPages::FillSpecialTeams(const GameSession &session)
{
    for (int i = 0; i < 14; ++i)
        showFitted(specialTeams[i], TablePage::SpecialTeams,
                   playersOf(specialTeams[i], session, i / 7));
}

void StatPages::FillScoring(const GameSession &session, bool showTop)
{
    StatTable table = ScoringTable::Build(session, showTop);
    FitPageTable(table, TablePage::Scoring, scoring->font(), pageWidth_);
    scoring->Show(std::move(table));
}

void StatPages::FillPlayByPlay(const GameSession &session, int period, bool showTop)
{
    showFitted(playByPlay, TablePage::PlayByPlay,
               PlayByPlayTable::Build(session, playByPlay->Options(period, showTop),
                                      playByPlay->Wrapper()));
}

void StatPages::FillDriveLists(const CDriveChartData &drives, bool showTop)
{
    StatTable table = BuildDriveListTable(drives, showTop);
    FitPageTable(table, TablePage::Drives, driveList->font(), pageWidth_);
    driveList->ShowDrives(std::move(table));
    showFitted(playList, TablePage::Plays, BuildPlayListTable(drives));
}
