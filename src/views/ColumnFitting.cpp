#include "ColumnFitting.h"

#include "StatColumnSets.h"
#include "TextWrapper.h"
#include "platform/SystemMetrics.h"

#include <QFontMetrics>
#include <algorithm>
#include <span>
#include <vector>

namespace
{

constexpr int kCaptionMargins = 6;   // the header draws captions 3 pixels in
constexpr int kTableGap = 10;        // between tables side by side
constexpr int kNarrowestTable = 100; // the layout's least table width
constexpr int kPagesLeft = 130;      // the pages start right of the page buttons

struct TextMeasure {
    const TextWrapper &widths;
    int cellMargins;

    // The width a cell's column needs to show it whole; the first column's
    // cells start past the grid's icon edge.
    int CellNeed(const TableCell &cell, int column) const
    {
        if (cell.text.isEmpty())
            return 0;
        const int edge = column == 0 ? GetSystemMetrics(SM_CXEDGE) : 0;
        return widths.TextWidth(cell.text, cell.bold) + cellMargins + edge;
    }
};

int layoutWidth(const StatTableLayout &layout)
{
    int width = 0;
    for (const StatColumn &column : layout.columns)
        width += column.width;
    return std::max(width, kNarrowestTable);
}

int widestLayout(std::span<const NamedStatTable> tables)
{
    int widest = 0;
    for (const NamedStatTable &table : tables)
        widest = std::max(widest, layoutWidth(*table.layout));
    return widest;
}

// What is left of the page for each of `across` tables, each `widest` wide.
int sharedRoom(int pageWidth, int widest, int across)
{
    const int left = pageWidth - across * widest - (across - 1) * kTableGap;
    return std::max(0, left / across);
}

} // namespace

void FitColumns(StatTable &table, const QFont &font, int room)
{
    FitColumns(table, TextWrapper(font), room);
}

void FitColumns(StatTable &table, const TextWrapper &widths, int room)
{
    // Each cell is measured once: shaping its text is most of the fitting.
    const int margins = CellMargins(widths);
    std::vector<int> needs;
    needs.reserve(table.rows.size() * table.columns.size());
    for (const TableRow &row : table.rows)
        AppendCellNeeds(needs, row, table.ColumnCount(), widths, margins);
    FitColumnsToNeeds(table, needs, widths, room);
}

int CellMargins(const TextWrapper &measure)
{
    return 2 * QFontMetrics(measure.Font()).horizontalAdvance(QLatin1Char(' '));
}

void AppendCellNeeds(std::vector<int> &needs, const TableRow &row, int columnCount,
                     const TextWrapper &measure, int cellMargins)
{
    const TextMeasure widths{measure, cellMargins};
    const std::size_t count = static_cast<std::size_t>(std::max(columnCount, 0));
    for (std::size_t c = 0; c < count; ++c)
        needs.push_back(c < row.cells.size() ? widths.CellNeed(row.cells[c], static_cast<int>(c))
                                             : 0);
}

void FitColumnsToNeeds(StatTable &table, std::span<const int> needs, const TextWrapper &widths,
                       int room)
{
    room = std::max(room, 0);
    table.drawnWidths.assign(table.columns.size(), 0);
    const std::size_t columnCount = table.columns.size();
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const TableColumn &column = table.columns[static_cast<std::size_t>(c)];
        int need = column.caption.isEmpty()
                       ? 0
                       : widths.TextWidth(column.caption, false) + kCaptionMargins;
        for (std::size_t r = 0; r < table.rows.size(); ++r)
            need = std::max(need, needs[r * columnCount + static_cast<std::size_t>(c)]);
        const int grow = column.width > 0 ? std::clamp(need - column.width, 0, room) : 0;
        room -= grow;
        table.drawnWidths[static_cast<std::size_t>(c)] = column.width + grow;
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        TableRow &row = table.rows[r];
        for (std::size_t c = 0; c < row.cells.size() && c < columnCount; ++c) {
            TableCell &cell = row.cells[c];
            const int drawn = table.DrawnWidth(static_cast<int>(c));
            // As the grid draws: a text is shortened when it is wider than the
            // cell less its margins. A hidden column draws nothing.
            cell.cut = drawn > 0 && !cell.text.isEmpty() && needs[r * columnCount + c] > drawn;
        }
    }
}

int SpecifiedTableWidth(const StatTable &table)
{
    int width = 0;
    for (const TableColumn &column : table.columns)
        width += column.width;
    return std::max(width, kNarrowestTable);
}

int TableRoom(const StatTable &table, int width)
{
    return std::max(0, width - SpecifiedTableWidth(table));
}

int PageTableRoom(TablePage page, const StatTable &table, int pageWidth)
{
    const TablePageInfo &info = TablePageOf(page);
    if (info.ownWidth > 0)
        return TableRoom(table, info.ownWidth);
    const int widest = info.tables.empty() ? SpecifiedTableWidth(table) : widestLayout(info.tables);
    return sharedRoom(pageWidth, widest, info.across);
}

int PageWidthForClient(int clientWidth)
{
    return clientWidth - kPagesLeft - GetSystemMetrics(SM_CYHSCROLL);
}

void FitPageTable(StatTable &table, TablePage page, const QFont &font, int pageWidth)
{
    FitColumns(table, font, PageTableRoom(page, table, pageWidth));
}

void FitPageTable(StatTable &table, TablePage page, const TextWrapper &measure, int pageWidth)
{
    FitColumns(table, measure, PageTableRoom(page, table, pageWidth));
}

int FitTextWidth(const QString &text, const QFont &font, int width, int room, int extra)
{
    // A pixel to spare: the advance is rounded, the drawn text is not.
    const int need = QFontMetrics(font).horizontalAdvance(text) + extra + 1;
    return width + std::clamp(need - width, 0, std::max(room, 0));
}
