#include "CTeamStatsGrid.h"

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
constexpr int kPossessionRow = 21;

} // namespace

void CTeamStatsGrid::SetupColumns()
{
    AddColumn(0, QString(), LVCFMT_LEFT, 150, kSortText, false);
    AddColumn(1, QStringLiteral("Home"), LVCFMT_CENTER, 75, kSortText, false);
    AddColumn(2, QStringLiteral("Visitor"), LVCFMT_CENTER, 75, kSortText, false);
}

void CTeamStatsGrid::Fill(std::span<const CTeamStats, 2> teams)
{
    DeleteAllItems();
    const int rows = showTOP_ ? kPossessionRow + 1 : kPossessionRow;
    for (int row = 0; row < rows; ++row) {
        InsertItem(row, QString::fromLatin1(kRows[row].caption));
        if (!kRows[row].label)
            SetCellBkColor(row, -1, RGB(0, 0, 0));
    }
    for (int team = 0; team < 2; ++team) {
        SetColumnText(team + 1, QString::fromStdString(teams[team].GetTeamValue("Short Name")));
        for (int row = 0; row < rows; ++row) {
            if (kRows[row].label)
                SetItemText(row, team + 1,
                            QString::fromStdString(teams[team].GetTeamValue(kRows[row].label)));
        }
    }
}
