#include "StatTable.h"

#include <QByteArray>
#include <algorithm>
#include <numeric>

std::vector<std::size_t> StatTable::SortRows(int column, bool reversed)
{
    if (column < 0 || column >= ColumnCount())
        return {};
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});

    if (columns[static_cast<std::size_t>(column)].sortKind == TableSortKind::Text) {
        // Texts compare by the bytes of their UTF-8, as the drawn texts always did.
        std::vector<QByteArray> keys;
        keys.reserve(rows.size());
        for (const TableRow &row : rows)
            keys.push_back(row.Cell(column).text.toUtf8());
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return reversed ? keys[b] < keys[a] : keys[a] < keys[b];
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const double ka = rows[a].Cell(column).number;
            const double kb = rows[b].Cell(column).number;
            return reversed ? ka < kb : kb < ka;
        });
    }

    std::vector<TableRow> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t index : order)
        sorted.push_back(std::move(rows[index]));
    rows = std::move(sorted);
    return order;
}

int StatTable::DrawnWidth(int column) const
{
    const auto index = static_cast<std::size_t>(column);
    if (column < 0 || index >= columns.size())
        return 0;
    return index < drawnWidths.size() ? drawnWidths[index] : columns[index].width;
}

COLORREF StatTable::TextColorAt(int row, int column) const
{
    return rows.at(static_cast<std::size_t>(row)).TextColorOf(column).value_or(kTextColor);
}

COLORREF StatTable::BackgroundAt(int row, int column) const
{
    return rows.at(static_cast<std::size_t>(row)).BackgroundOf(column).value_or(kBackground);
}
