#include "AddedRows.h"

#include "StatTable.h"

#include <algorithm>

namespace
{

bool sameTexts(const TableRow &a, const TableRow &b, int columns)
{
    for (int column = 0; column < columns; ++column) {
        if (a.Cell(column).text != b.Cell(column).text)
            return false;
    }
    return true;
}

} // namespace

int FirstAddedRow(const StatTable &before, const StatTable &after)
{
    const int columns = std::max(before.ColumnCount(), after.ColumnCount());
    const int common = std::min(before.RowCount(), after.RowCount());
    int shared = 0;
    while (shared < common && sameTexts(before.rows[static_cast<std::size_t>(shared)],
                                        after.rows[static_cast<std::size_t>(shared)], columns))
        ++shared;
    return shared == 0 ? after.RowCount() : shared;
}
