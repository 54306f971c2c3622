#include "TableTextCache.h"

#include "views/ColumnFitting.h"

namespace
{

// Rows that are equal but for the cells FitColumns marks cut: they need the
// same widths.
bool sameBeforeFitting(const TableRow &built, const TableRow &fitted)
{
    if (built.itemData != fitted.itemData || built.textColor != fitted.textColor ||
        built.background != fitted.background || built.cells.size() != fitted.cells.size())
        return false;
    for (std::size_t c = 0; c < built.cells.size(); ++c) {
        const TableCell &a = built.cells[c];
        const TableCell &b = fitted.cells[c];
        if (a.bold != b.bold || a.textColor != b.textColor || a.background != b.background ||
            a.number != b.number || a.text != b.text)
            return false;
    }
    return true;
}

bool sameCuts(const TableRow &a, const TableRow &b)
{
    for (std::size_t c = 0; c < a.cells.size(); ++c)
        if (a.cells[c].cut != b.cells[c].cut)
            return false;
    return true;
}

} // namespace

std::shared_ptr<const TableText> TableTextCache::Update(StatTable table, int room,
                                                        const TextWrapper &measure)
{
    const std::size_t columnCount = table.columns.size();
    // Rows whose cells are as they were need the widths they needed; a row's
    // text depends on its own cells and the number of columns alone.
    const bool sameShape = columnCount == fitted_.columns.size();
    const std::size_t kept = sameShape ? std::min(table.rows.size(), fitted_.rows.size()) : 0;
    std::vector<bool> measuredBefore(table.rows.size(), false);
    std::vector<int> needs;
    needs.reserve(table.rows.size() * columnCount);
    const int margins = CellMargins(measure);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (r < kept && sameBeforeFitting(table.rows[r], fitted_.rows[r])) {
            measuredBefore[r] = true;
            const auto from = needs_.begin() + static_cast<std::ptrdiff_t>(r * columnCount);
            needs.insert(needs.end(), from, from + static_cast<std::ptrdiff_t>(columnCount));
        } else {
            AppendCellNeeds(needs, table.rows[r], static_cast<int>(columnCount), measure, margins);
        }
    }
    FitColumnsToNeeds(table, needs, measure, room);

    bool unchanged = text_ && sameShape && table.rows.size() == fitted_.rows.size();
    if (!text_ || table.columns != fitted_.columns || table.drawnWidths != fitted_.drawnWidths) {
        columns_ = JsonWriter::Compact(
            [&table](JsonWriter &writer) { TableWire::WriteColumns(writer, table); });
        unchanged = false;
    }
    std::vector<QByteArray> rows(table.rows.size());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        // Measured before and cut alike: written alike.
        if (measuredBefore[r] && sameCuts(table.rows[r], fitted_.rows[r])) {
            rows[r] = rows_[r];
            continue;
        }
        rows[r] = JsonWriter::Compact([&table, r](JsonWriter &writer) {
            TableWire::WriteRow(writer, table, static_cast<int>(r));
        });
        unchanged = false;
    }
    if (!unchanged)
        text_ = std::make_shared<const TableText>(TableWire::Joined(columns_, rows));
    // The other members of the table (its sorting) are not written.
    fitted_ = std::move(table);
    needs_ = std::move(needs);
    rows_ = std::move(rows);
    return text_;
}
