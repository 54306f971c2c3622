#include "PlayerStatTable.h"

#include "gamedata/CSeasonStats.h"
#include "gamedata/TextNumbers.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{

QString text(std::string_view value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

// Keeps one digit behind the first decimal point: "12.34" -> "12.3".
std::string cutToOneDecimal(std::string value)
{
    const std::size_t point = value.find('.');
    if (point != std::string::npos && point + 2 < value.size())
        value.resize(point + 2);
    return value;
}

// Whether a player's game value beats his season: averages compare as they
// stand, totals against the season total per game; only with three games played.
bool beatsSeason(const std::string &gameValue, const CSeasonStats &season, int seasonPlayer,
                 std::string_view label)
{
    if (seasonPlayer < 0)
        return false;
    const std::string &played = season.GetPlayerValue(seasonPlayer, "Played");
    if (TextNumbers::LeadingInt(played) < 3)
        return false;
    const double game = TextNumbers::LeadingNumber(gameValue);
    const double seasonValue =
        TextNumbers::LeadingNumber(season.GetPlayerValue(seasonPlayer, label));
    return label.find("Avg") != std::string_view::npos
               ? game > seasonValue
               : game > seasonValue / TextNumbers::LeadingNumber(played);
}

TableCell statCell(const StatColumn &column, const CTeamStats &team, int player,
                   const CSeasonStats &season, int seasonPlayer)
{
    const std::string value = cutToOneDecimal(team.GetPlayerValue(player, column.label));
    TableCell cell = TableCell::Text(text(value));
    if (column.sortKind == TableSortKind::Integer)
        cell.number = TextNumbers::LeadingInt(value);
    else if (column.sortKind == TableSortKind::Real)
        cell.number = TextNumbers::LeadingNumber(value);
    if (beatsSeason(value, season, seasonPlayer, column.label))
        cell.background = kSeasonMarkColor;
    return cell;
}

// Marks the largest values of every leader column, compared in tenths so
// that 0.05 and 0 tie and a column below 0.1 marks nothing.
void markLeaders(StatTable &table)
{
    std::vector<double> tenths(table.rows.size());
    for (int column = 0; column < table.ColumnCount(); ++column) {
        if (!table.columns[static_cast<std::size_t>(column)].leaders)
            continue;
        double best = 1;
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const QString &shown = table.rows[r].Cell(column).text;
            tenths[r] = std::trunc(TextNumbers::LeadingNumber(shown.toStdString()) * 10.0);
            best = std::max(best, tenths[r]);
        }
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            if (tenths[r] == best && column < static_cast<int>(table.rows[r].cells.size()))
                table.rows[r].cells[static_cast<std::size_t>(column)].textColor = kLeaderColor;
        }
    }
}

} // namespace

std::vector<TableColumn> PlayerStatColumns(const StatTableLayout &layout)
{
    std::vector<TableColumn> columns;
    columns.reserve(layout.columns.size());
    for (const StatColumn &column : layout.columns)
        columns.push_back(
            {text(column.header), column.width, column.alignment, column.sortKind, column.leaders});
    return columns;
}

StatTable BuildPlayerStatTable(const StatTableLayout &layout, const CTeamStats &team,
                               const CSeasonStats &season)
{
    StatTable table;
    table.sortable = true;
    table.columns = PlayerStatColumns(layout);
    if (!table.columns.empty())
        table.columns[0].caption = text(team.GetTeamValue("Short Name"));

    for (int player = 0; player < team.playerCount(); ++player) {
        if (TextNumbers::LeadingInt(team.GetPlayerValue(player, layout.gateLabel)) == 0)
            continue;
        const int seasonPlayer =
            season.FindPlayerByCheckName(team.GetPlayerValue(player, "Check Name"));
        TableRow row;
        row.itemData = player;
        row.cells.reserve(layout.columns.size());
        row.cells.push_back(TableCell::Text(text(team.GetPlayerValue(player, "Name"))));
        for (std::size_t column = 1; column < layout.columns.size(); ++column) {
            const StatColumn &definition = layout.columns[column];
            if (definition.IsSeparator()) {
                TableCell separator;
                separator.background = GetSysColor(COLOR_BTNFACE);
                row.cells.push_back(separator);
            } else {
                row.cells.push_back(statCell(definition, team, player, season, seasonPlayer));
            }
        }
        table.rows.push_back(std::move(row));
    }
    if (table.rows.empty()) {
        TableRow none;
        none.itemData = -1;
        none.cells.push_back(TableCell::Text(QStringLiteral("None")));
        table.rows.push_back(std::move(none));
    }
    markLeaders(table);
    // A live game rebuilds every minute: the default order starts afresh
    // each time, so that it does not flip at every reload.
    table.SortByHeaderClick(layout.defaultSortColumn);
    return table;
}
