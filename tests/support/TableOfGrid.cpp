#include "TableJson.h"

#include "CStatGridCtrl.h"
#include "StatPages.h"
#include "views/PagesJson.h"
#include "views/StatTableJson.h"

#include <string>

namespace
{

// The window of a table of the pages, as PageTableSource names it.
CZrGridListCtrl *tableWindow(const StatPages &pages, std::string_view page, int side,
                             std::string_view name)
{
    if (page == "yardage")
        return pages.yardage;
    if (page == "team_stats")
        return pages.teamStats;
    if (page == "scoring")
        return pages.scoring;
    if (page == "play_by_play")
        return pages.playByPlay;
    if (page == "drives")
        return pages.driveList;
    if (page == "plays")
        return pages.playList;
    const auto index = [name](std::span<const NamedStatTable> tables) {
        for (std::size_t i = 0; i < tables.size(); ++i) {
            if (tables[i].name == name)
                return static_cast<int>(i);
        }
        return 0;
    };
    if (page == "offense") {
        const int table = index(StatColumnSets::kOffenseTables);
        return table == 0   ? static_cast<CZrGridListCtrl *>(pages.passing[side])
               : table == 1 ? static_cast<CZrGridListCtrl *>(pages.rushing[side])
                            : static_cast<CZrGridListCtrl *>(pages.receiving[side]);
    }
    if (page == "defense")
        return pages.defense[side];
    return pages.specialTeams[side * 7 + index(StatColumnSets::kSpecialTeamsTables)];
}

// The columns of a window as they stand, drawn at their current widths; a
// column's own width is the one of the table value shown, where there is
// one. They sort as text.
StatTable columnsOf(const CZrGridListCtrl &table)
{
    const auto *statTable = qobject_cast<const CStatGridCtrl *>(&table);
    StatTable value;
    for (int column = 0; column < table.GetColumnCount(); ++column) {
        const int drawn = table.GetColumnWidth(column);
        const bool specified = statTable && column < statTable->ShownTable().ColumnCount();
        const int width =
            specified ? statTable->ShownTable().columns[static_cast<std::size_t>(column)].width
                      : drawn;
        value.columns.push_back({table.GetColumnText(column), width,
                                 static_cast<TableAlignment>(table.GetColumnFormat(column)),
                                 TableSortKind::Text, false});
        value.drawnWidths.push_back(drawn);
    }
    return value;
}

// One row of a window: texts as drawn, bold cells, each cell's colours, the row data.
TableRow rowOf(const CZrGridListCtrl &table, int row)
{
    const auto *statTable = qobject_cast<const CStatGridCtrl *>(&table);
    const int columns = table.GetColumnCount();
    TableRow values;
    values.itemData = table.GetItemData(row);
    values.cells.resize(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column) {
        TableCell &cell = values.cells[static_cast<std::size_t>(column)];
        if (statTable) {
            cell.text = statTable->CellText(row, column);
            cell.bold = statTable->IsBoldCell(row, column);
        } else {
            cell.text = table.GetItemText(row, column);
        }
        cell.cut = table.GetColumnWidth(column) > 0 && table.IsCellTextCut(row, column);
        cell.textColor = table.GetCellTextColor(row, column);
        cell.background = table.GetCellBkColor(row, column);
    }
    return values;
}

} // namespace

StatTable TableOf(const CZrGridListCtrl &table)
{
    StatTable value = columnsOf(table);
    value.rows.reserve(static_cast<std::size_t>(table.GetItemCount()));
    for (int row = 0; row < table.GetItemCount(); ++row)
        value.rows.push_back(rowOf(table, row));
    return value;
}

StatTable TakeTableOf(CZrGridListCtrl &table)
{
    StatTable value = columnsOf(table);
    const CZrGridListCtrl::RedrawPause pause(table);
    value.rows.resize(static_cast<std::size_t>(table.GetItemCount()));
    // From the last row on, so that each row read leaves the window at once.
    for (int row = table.GetItemCount() - 1; row >= 0; --row) {
        value.rows[static_cast<std::size_t>(row)] = rowOf(table, row);
        table.DeleteItem(row);
    }
    return value;
}

QJsonObject TableToJson(const CZrGridListCtrl &table)
{
    return StatTableToJson(TableOf(table));
}

QJsonObject PagesToJson(const StatPages &pages)
{
    return PagesToJson([&pages](std::string_view page, int side, std::string_view name) {
        return TableOf(*tableWindow(pages, page, side, name));
    });
}

bool WritePagesJson(const StatPages &pages, int depth, const JsonStreamWriter::Sink &write,
                    const std::function<void(const char *page)> &fill,
                    const std::function<void(CZrGridListCtrl &table)> &done)
{
    const auto source = [&pages, &done](std::string_view page, int side, std::string_view name) {
        CZrGridListCtrl *window = tableWindow(pages, page, side, name);
        StatTable table = TableOf(*window);
        if (done)
            done(*window);
        return table;
    };
    const auto fillPage = [&fill](std::string_view page) {
        if (fill)
            fill(std::string(page).c_str());
    };
    return WritePagesJson(source, depth, JsonStreamWriter(write), fillPage);
}
