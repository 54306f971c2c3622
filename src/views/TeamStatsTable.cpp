#include "TeamStatsTable.h"

#include "gamedata/CTeamStats.h"

#include <array>

namespace
{

// A caption and the team value shown beside it; no label is a black bar.
struct ComparisonRow {
    const char *caption;
    const char *label;
};

constexpr std::array<ComparisonRow, 22> kRows{{
    {"First Downs", "FD"},
    {"  Rush - Pass - Penalty", "FD Rush-Pass-Penalty"},
    {"Rushing Att - Yds", "Rush Att-Yds"},
    {"  Avg per Rush", "Rush Avg"},
    {"  Gained - Lost", "Rush Gain-Loss"},
    {"Passing Yds", "Pass Yds"},
    {"  Att - Comp - Int", "Pass Att-Comp-Int"},
    {"Total Offensive Plays - Yds", "Tot Off Plays-Yds"},
    {"  Avg Gain per Play", "Avg Gain per Play"},
    {"", nullptr},
    {"Punts - Avg", "Punts-Avg"},
    {"Punt Returns - Yds", "Punt Returns-Yds"},
    {"Kickoff Returns - Yds", "Kickoff Returns-Yds"},
    {"Interceptions - Yds", "Interceptions-Yds"},
    {"Fumble Returns - Yds", "Fumble Returns-Yds"},
    {"Sacks By - Yds", "Sacks By-Yds"},
    {"", nullptr},
    {"Fumbles - Lost", "Fumbles-Lost"},
    {"Penalties - Yds", "Penalties-Yds"},
    {"Third-Down Conversions", "Third-Down Conversions"},
    {"Fourth-Down Conversions", "Fourth-Down Conversions"},
    {"Possession Time", "Possession Time"},
}};

// The last row, shown only with the time of possession.
constexpr std::size_t kPossessionRow = 21;

} // namespace

std::vector<TableColumn> TeamStatsColumns()
{
    return {{QString(), 150, TableAlignment::Left, TableSortKind::Text, false},
            {QStringLiteral("Home"), 75, TableAlignment::Center, TableSortKind::Text, false},
            {QStringLiteral("Visitor"), 75, TableAlignment::Center, TableSortKind::Text, false}};
}

StatTable BuildTeamStatsTable(std::span<const CTeamStats, 2> teams, bool showTop)
{
    StatTable table;
    table.columns = TeamStatsColumns();
    for (std::size_t team = 0; team < 2; ++team)
        table.columns[team + 1].caption =
            QString::fromStdString(teams[team].GetTeamValue("Short Name"));
    const std::size_t rows = showTop ? kPossessionRow + 1 : kPossessionRow;
    for (std::size_t r = 0; r < rows; ++r) {
        TableRow row;
        row.cells.push_back(TableCell::Text(QString::fromLatin1(kRows[r].caption)));
        if (!kRows[r].label) {
            row.background = RGB(0, 0, 0);
        } else {
            for (const CTeamStats &team : teams)
                row.cells.push_back(
                    TableCell::Text(QString::fromStdString(team.GetTeamValue(kRows[r].label))));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}
