#pragma once

#include "StatTable.h"
#include "TablePages.h"

#include <QFont>
#include <QString>
#include <span>
#include <string_view>
#include <vector>

class TextWrapper;

// Fits the columns of a table to its texts as the grid draws them in `font`
// (bold cells in its bold weight): a cell's text has a space's width of
// margin on each side (and the first column an edge of 2 pixels before it),
// a caption 3 pixels. Columns whose widest text does not
// fit grow to fit it, from the left, as long as `room` pixels last; each
// column's width stays its least, and columns 0 wide stay hidden (their
// cells are never cut: nothing of them is drawn). Sets the table's
// drawnWidths and marks the cells whose text is still drawn shortened as cut.
void FitColumns(StatTable &table, const QFont &font, int room);
// FitColumns in the font of `measure`, which remembers the widths of the
// texts from one call to the next.
void FitColumns(StatTable &table, const TextWrapper &measure, int room);

// The room beside a cell's text in the font of `measure`: a space's width on
// each side.
int CellMargins(const TextWrapper &measure);
// Appends what FitColumns measures of `row`: for each of `columnCount`
// columns the width its cell needs to be shown whole (0 for an empty or
// missing cell), with `cellMargins` (CellMargins) beside the text.
void AppendCellNeeds(std::vector<int> &needs, const TableRow &row, int columnCount,
                     const TextWrapper &measure, int cellMargins);
// FitColumns with the cells measured already: `needs` holds AppendCellNeeds
// of every row in turn. A table refitted after a reload measures only the
// rows that changed.
void FitColumnsToNeeds(StatTable &table, std::span<const int> needs, const TextWrapper &measure,
                       int room);

// The width a table takes at its columns' own widths (at least 100, the
// narrowest a table is laid out).
int SpecifiedTableWidth(const StatTable &table);

// The pixels a table may grow by where `width` pixels are there to show its
// columns: what its columns leave at their own widths.
int TableRoom(const StatTable &table, int width);

// The pixels a table of `page` may grow by when the page is `pageWidth` wide:
// what the page's tables leave at their own widths, shared among the tables
// that stand side by side (kTablePages). `table` is the one asked about; the
// player pages reckon with their widest table. A table with a width of its
// own (the yardage summary, under the page buttons) grows as far as that.
int PageTableRoom(TablePage page, const StatTable &table, int pageWidth);

// The width of the pages of tables in a window whose client area is
// `clientWidth` wide: right of the page buttons, less a vertical scroll bar.
int PageWidthForClient(int clientWidth);

// The width of a control showing `text` on one line in `font`, `extra`
// pixels beside the text (a check box's square): its own `width` at least,
// grown to show the whole text as far as `room` pixels more allow.
int FitTextWidth(const QString &text, const QFont &font, int width, int room, int extra = 0);

// FitColumns with the room PageTableRoom gives.
void FitPageTable(StatTable &table, TablePage page, const QFont &font, int pageWidth);
void FitPageTable(StatTable &table, TablePage page, const TextWrapper &measure, int pageWidth);
