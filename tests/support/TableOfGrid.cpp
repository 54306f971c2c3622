#include "TableOfGrid.h"

#include "pages/CStatGridCtrl.h"
#include "pages/StatPages.h"
#include "wire/TableWire.h"

#include <QJsonDocument>
#include <array>

namespace
{

// The window of a table of the pages.
CZrGridListCtrl *tableWindow(const StatPages &pages, const TableKey &key)
{
    const auto index = [&key](std::span<const NamedStatTable> tables) {
        return static_cast<int>(key.table - tables.data());
    };
    switch (key.page) {
    case TablePage::Yardage:
        return pages.yardage;
    case TablePage::TeamStats:
        return pages.teamStats;
    case TablePage::Scoring:
        return pages.scoring;
    case TablePage::PlayByPlay:
        return pages.playByPlay;
    case TablePage::Drives:
        return pages.driveList;
    case TablePage::Plays:
        return pages.playList;
    case TablePage::Offense: {
        const std::array<CZrGridListCtrl *, 3> offense{
            pages.passing[key.side], pages.rushing[key.side], pages.receiving[key.side]};
        return offense[index(StatColumnSets::kOffenseTables)];
    }
    case TablePage::Defense:
        return pages.defense[key.side];
    case TablePage::SpecialTeams:
        return pages.specialTeams[key.side * 7 + index(StatColumnSets::kSpecialTeamsTables)];
    }
    return nullptr;
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

QJsonObject TableJsonOf(const CZrGridListCtrl &table)
{
    return QJsonDocument::fromJson(JsonWriter::Compact([&table](JsonWriter &writer) {
               TableWire::Write(writer, TableOf(table));
           }))
        .object();
}

QJsonObject PagesJsonOf(const StatPages &pages)
{
    return QJsonDocument::fromJson(JsonWriter::Compact([&pages](JsonWriter &writer) {
               TableWire::WritePages(writer, [&pages](const TableKey &key) {
                   return TableOf(*tableWindow(pages, key));
               });
           }))
        .object();
}
