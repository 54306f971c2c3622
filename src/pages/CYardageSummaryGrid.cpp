#include "CYardageSummaryGrid.h"

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

void CYardageSummaryGrid::SetupColumns()
{
    AddColumn(0, QString(), LVCFMT_LEFT, 40, kSortText, false);
    AddColumn(1, QString(), LVCFMT_RIGHT, 33, kSortText, false);
    AddColumn(2, QString(), LVCFMT_RIGHT, 33, kSortText, false);
}

void CYardageSummaryGrid::Fill(std::span<const CTeamStats, 2> teams)
{
    DeleteAllItems();
    for (int team = 0; team < 2; ++team)
        SetColumnText(team + 1, QString::fromStdString(teams[team].GetTeamValue("Short Name")));
    for (int row = 0; row < static_cast<int>(kRows.size()); ++row) {
        InsertItem(row, QString::fromLatin1(kRows[row].caption));
        for (int team = 0; team < 2; ++team)
            SetItemText(row, team + 1,
                        QString::fromStdString(teams[team].GetTeamValue(kRows[row].label)));
    }
}
