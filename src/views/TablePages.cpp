#include "TablePages.h"

#include "ChartListTables.h"
#include "ColumnFitting.h"
#include "PlayByPlayTable.h"
#include "PlayerStatTable.h"
#include "ScoringTable.h"
#include "TeamStatsTable.h"
#include "ViewOptions.h"
#include "YardageSummaryTable.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"

#include <algorithm>

namespace
{

StatTable yardage(const TableInput &input, const TableKey &)
{
    return BuildYardageSummaryTable(input.session.teams());
}

StatTable teamStats(const TableInput &input, const TableKey &)
{
    return BuildTeamStatsTable(input.session.teams(), input.options.showTop);
}

StatTable players(const TableInput &input, const TableKey &key)
{
    return BuildPlayerStatTable(*key.table->layout, input.session.team(key.side),
                                input.session.season(key.side));
}

StatTable scoring(const TableInput &input, const TableKey &)
{
    return ScoringTable::Build(input.session, input.options.showTop);
}

StatTable playByPlay(const TableInput &input, const TableKey &)
{
    PlayByPlayOptions options;
    options.period = input.options.drives.quarter;
    options.showTOP = input.options.showTop;
    if (input.options.playColumnWidth)
        options.playColumnWidth = std::max(0, *input.options.playColumnWidth);
    return PlayByPlayTable::Build(input.session, options, input.wrapper);
}

StatTable drives(const TableInput &input, const TableKey &)
{
    return BuildDriveListTable(input.drives, input.options.showTop);
}

StatTable plays(const TableInput &input, const TableKey &)
{
    return BuildPlayListTable(input.drives);
}

// The yardage summary stands 5 pixels in under the page buttons, 128 wide.
constexpr int kYardageWidth = 128 - 5;

} // namespace

const std::array<TablePageInfo, 9> kTablePages{{
    {TablePage::Yardage, "yardage", {}, 1, kYardageWidth, yardage},
    {TablePage::TeamStats, "team_stats", {}, 1, 0, teamStats},
    {TablePage::Offense, "offense", StatColumnSets::kOffenseTables, 2, 0, players},
    {TablePage::Defense, "defense", StatColumnSets::kDefenseTables, 1, 0, players},
    {TablePage::SpecialTeams, "special_teams", StatColumnSets::kSpecialTeamsTables, 2, 0, players},
    {TablePage::Scoring, "scoring", {}, 1, 0, scoring},
    {TablePage::PlayByPlay, "play_by_play", {}, 1, 0, playByPlay},
    {TablePage::Drives, "drives", {}, 1, 0, drives},
    {TablePage::Plays, "plays", {}, 1, 0, plays},
}};

std::string TableKey::Path() const
{
    std::string path(TablePageOf(page).key);
    if (table)
        path += (side == 0 ? "/home/" : "/visitor/") + std::string(table->name);
    return path;
}

const TablePageInfo &TablePageOf(TablePage page)
{
    return kTablePages[static_cast<std::size_t>(page)];
}

std::optional<TablePage> TablePageOfKey(std::string_view key)
{
    for (const TablePageInfo &info : kTablePages) {
        if (info.key == key)
            return info.page;
    }
    return std::nullopt;
}

std::vector<TableKey> AllTableKeys()
{
    std::vector<TableKey> keys;
    for (const TablePageInfo &info : kTablePages) {
        if (info.tables.empty())
            keys.push_back({info.page, -1, nullptr});
        for (int side = 0; side < 2 && !info.tables.empty(); ++side) {
            for (const NamedStatTable &table : info.tables)
                keys.push_back({info.page, side, &table});
        }
    }
    return keys;
}

StatTable BuildPageTable(const TableInput &input, const TableKey &key)
{
    StatTable table = TablePageOf(key.page).build(input, key);
    FitPageTable(table, key.page, input.wrapper, PageWidthForClient(input.options.client.width()));
    return table;
}
