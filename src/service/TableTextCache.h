#pragma once

#include "views/StatTable.h"
#include "wire/TableWire.h"

#include <memory>
#include <vector>

class TextWrapper;

// The text of one table of "pages" from one document to the next. A play
// changes a few rows of a table, or none: the rows as they were keep their
// measured widths and their texts, and a table as it was keeps its very
// bytes, so that the change message passes it over.
class TableTextCache
{
public:
    // The text TableWire::Write writes of `table` (built, not yet fitted)
    // once FitColumnsToNeeds has fitted it with `room` pixels to grow by in
    // the font of `measure`; the same object as the last time when nothing
    // of it changed.
    std::shared_ptr<const TableText> Update(StatTable table, int room, const TextWrapper &measure);

private:
    StatTable fitted_;             // the table of the last text, fitted
    std::vector<int> needs_;       // the widths its cells need, row after row
    QByteArray columns_;           // its "columns"
    std::vector<QByteArray> rows_; // its rows
    std::shared_ptr<const TableText> text_;
};
