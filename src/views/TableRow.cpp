#include "TableRow.h"

const TableCell &TableRow::Cell(int column) const
{
    static const TableCell kEmpty;
    if (column < 0 || column >= static_cast<int>(cells.size()))
        return kEmpty;
    return cells[static_cast<std::size_t>(column)];
}

std::optional<COLORREF> TableRow::TextColorOf(int column) const
{
    const TableCell &cell = Cell(column);
    return cell.textColor ? cell.textColor : textColor;
}

std::optional<COLORREF> TableRow::BackgroundOf(int column) const
{
    const TableCell &cell = Cell(column);
    return cell.background ? cell.background : background;
}
