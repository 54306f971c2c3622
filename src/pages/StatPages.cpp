#include "StatPages.h"

#include "gamedata/GameSession.h"
#include "platform/ControlIds.h"
#include "views/ChartListTables.h"
#include "views/ColumnFitting.h"
#include "views/PlayerStatTable.h"
#include "views/TeamStatsTable.h"
#include "views/YardageSummaryTable.h"

#include <QLabel>

const std::array<const char *, 8> StatPages::kFilledTables{
    "yardage",       "team_stats", "offense",      "defense",
    "special_teams", "scoring",    "play_by_play", "drives"};

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

void StatPages::Fill(std::string_view name, const GameSession &session, const FillOptions &options)
{
    if (name == "yardage")
        FillYardage(session);
    else if (name == "team_stats")
        FillTeamStats(session, options.showTop);
    else if (name == "offense")
        FillOffense(session);
    else if (name == "defense")
        FillDefense(session);
    else if (name == "special_teams")
        FillSpecialTeams(session);
    else if (name == "scoring")
        FillScoring(session, options.showTop);
    else if (name == "play_by_play")
        FillPlayByPlay(session, options.period, options.showTop);
    else if (name == "drives" && options.drives)
        FillDriveLists(*options.drives, options.showTop);
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

std::vector<std::pair<CStatGridCtrl *, std::string_view>>
StatPages::FittedTables(std::string_view name) const
{
    std::vector<std::pair<CStatGridCtrl *, std::string_view>> tables;
    const auto add = [&tables](CStatGridCtrl *grid, std::string_view page) {
        tables.emplace_back(grid, page);
    };
    if (name == "yardage") {
        add(yardage, "yardage");
    } else if (name == "team_stats") {
        add(teamStats, "team_stats");
    } else if (name == "offense") {
        for (int side = 0; side < 2; ++side) {
            add(passing[side], "offense");
            add(rushing[side], "offense");
            add(receiving[side], "offense");
        }
    } else if (name == "defense") {
        for (CDefenseGrid *grid : defense)
            add(grid, "defense");
    } else if (name == "special_teams") {
        for (CPlayerStatGrid *grid : specialTeams)
            add(grid, "special_teams");
    } else if (name == "scoring") {
        add(scoring, "scoring");
    } else if (name == "play_by_play") {
        add(playByPlay, "play_by_play");
    } else if (name == "drives") {
        add(driveList, "drives");
        add(playList, "plays");
    }
    return tables;
}

void StatPages::Refit(std::string_view name)
{
    for (const auto &fitted : FittedTables(name)) {
        const QFont font = fitted.first->font();
        const std::string_view page = fitted.second;
        fitted.first->RefitTable(
            [&font, page, this](StatTable &table) { FitPageTable(table, page, font, pageWidth_); });
    }
}

void StatPages::showFitted(CStatGridCtrl *grid, std::string_view page, StatTable table) const
{
    FitPageTable(table, page, grid->font(), pageWidth_);
    grid->ShowTable(std::move(table));
}

void StatPages::FillYardage(const GameSession &session)
{
    showFitted(yardage, "yardage", BuildYardageSummaryTable(session.teams()));
}

void StatPages::FillTeamStats(const GameSession &session, bool showTop)
{
    showFitted(teamStats, "team_stats", BuildTeamStatsTable(session.teams(), showTop));
}

void StatPages::FillOffense(const GameSession &session)
{
    for (int side = 0; side < 2; ++side) {
        const std::array<CPlayerStatGrid *, 3> tables{passing[side], rushing[side],
                                                      receiving[side]};
        for (CPlayerStatGrid *table : tables)
            showFitted(table, "offense", playersOf(table, session, side));
    }
}

void StatPages::FillDefense(const GameSession &session)
{
    for (int side = 0; side < 2; ++side)
        showFitted(defense[side], "defense", playersOf(defense[side], session, side));
}

void StatPages::FillSpecialTeams(const GameSession &session)
{
    for (int i = 0; i < 14; ++i)
        showFitted(specialTeams[i], "special_teams", playersOf(specialTeams[i], session, i / 7));
}

void StatPages::FillScoring(const GameSession &session, bool showTop)
{
    StatTable table = ScoringTable::Build(session, showTop);
    FitPageTable(table, "scoring", scoring->font(), pageWidth_);
    scoring->Show(std::move(table));
}

void StatPages::FillPlayByPlay(const GameSession &session, int period, bool showTop)
{
    showFitted(playByPlay, "play_by_play",
               PlayByPlayTable::Build(session, playByPlay->Options(period, showTop),
                                      playByPlay->Wrapper()));
}

void StatPages::FillDriveLists(const CDriveChartData &drives, bool showTop)
{
    StatTable table = BuildDriveListTable(drives, showTop);
    FitPageTable(table, "drives", driveList->font(), pageWidth_);
    driveList->ShowDrives(std::move(table));
    showFitted(playList, "plays", BuildPlayListTable(drives));
}
