#include "YardageSummaryTable.h"

#include "gamedata/CTeamStats.h"

#include <array>

namespace
{

struct SummaryRow {
    const char *caption;
    const char *label;
};

constexpr std::array<SummaryRow, 4> kRows{{
    {"Rush", "Rush Yds"},
    {"Pass", "Pass Yds"},
    {"Tot", "Tot Off Yds"},
    {"FD", "FD"},
}};

} // namespace

std::vector<TableColumn> YardageSummaryColumns()
{
    return {{QString(), 40, TableAlignment::Left, TableSortKind::Text, false},
            {QString(), 33, TableAlignment::Right, TableSortKind::Text, false},
            {QString(), 33, TableAlignment::Right, TableSortKind::Text, false}};
}

StatTable BuildYardageSummaryTable(std::span<const CTeamStats, 2> teams)
{
    StatTable table;
    table.columns = YardageSummaryColumns();
    for (std::size_t team = 0; team < 2; ++team)
        table.columns[team + 1].caption =
            QString::fromStdString(teams[team].GetTeamValue("Short Name"));
    for (const SummaryRow &summary : kRows) {
        TableRow row;
        row.cells.push_back(TableCell::Text(QString::fromLatin1(summary.caption)));
        for (const CTeamStats &team : teams)
            row.cells.push_back(
                TableCell::Text(QString::fromStdString(team.GetTeamValue(summary.label))));
        table.rows.push_back(std::move(row));
    }
    return table;
}
