#include "CStatGridCtrl.h"

#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>

CStatGridCtrl::CStatGridCtrl(QWidget *parent, int id) : CZrGridListCtrl(parent, id)
{
    SetGridPen(Qt::SolidLine, 1, RGB(0, 0, 0));
    // Connected after the grid's own handling, so the parent lays out the
    // column widths as they ended.
    connect(GetHeaderCtrl(), &CFlatHdrCtrl::TrackEnded, this, [this](int column) {
        userSized_.insert(column);
        PostLayoutToParent();
    });
    connect(GetHeaderCtrl(), &CFlatHdrCtrl::DividerDoubleClicked, this, [this](int column) {
        userSized_.insert(column);
        PostLayoutToParent();
    });
}

CStatGridCtrl::~CStatGridCtrl() = default;

void CStatGridCtrl::PostLayoutToParent()
{
    emit gridLayoutChanged();
}

void CStatGridCtrl::SetupColumns() {}

void CStatGridCtrl::OnColumnClick(int column)
{
    if (!sortable_)
        return;
    SortByColumn(column);
    // A first click leaves the column to reverse next; a second leaves none.
    if (column >= 0 && column < shown_.ColumnCount())
        userSort_ = UserSort{column, LastSortedColumn() != column};
}

void CStatGridCtrl::TableShown(const StatTable &) {}

void CStatGridCtrl::ShowColumns(const std::vector<TableColumn> &columns)
{
    int index = 0;
    for (const TableColumn &column : columns) {
        InsertColumn(index, column.caption, static_cast<int>(column.alignment), column.width);
        ++index;
    }
}

int CStatGridCtrl::OwnColumnWidth(int column) const
{
    // A width set since the fit, by the user or the program, is the column's own.
    const auto fitted = fittedWidths_.find(column);
    if (fitted == fittedWidths_.end() || fitted->second != GetColumnWidth(column) ||
        column >= shown_.ColumnCount())
        return GetColumnWidth(column);
    return shown_.columns[static_cast<std::size_t>(column)].width;
}

void CStatGridCtrl::ShowTable(StatTable table)
{
    const RedrawPause pause(*this);
    if (GetColumnCount() == 0)
        ShowColumns(table.columns);
    for (int column = 0; column < std::min(GetColumnCount(), table.ColumnCount()); ++column) {
        const QString &caption = table.columns[static_cast<std::size_t>(column)].caption;
        if (GetColumnText(column) != caption)
            SetColumnText(column, caption);
    }
    ApplyFittedWidths(table);
    sortable_ = table.sortable;
    if (sortable_ && userSort_ && userSort_->column < table.ColumnCount()) {
        // The clicks that gave the user's order, from the first.
        table.sort.Reset();
        table.SortByHeaderClick(userSort_->column);
        if (userSort_->reversed)
            table.SortByHeaderClick(userSort_->column);
    }
    StatTable previous = std::exchange(shown_, std::move(table));
    showsTable_ = true;
    ShowRows(previous);
    TableShown(previous);
}

void CStatGridCtrl::ApplyFittedWidths(const StatTable &table)
{
    fittedWidths_.clear();
    for (int column = 0; column < std::min(GetColumnCount(), table.ColumnCount()); ++column) {
        // The width fitted to the texts, unless the user sized the column.
        const bool fitted = static_cast<std::size_t>(column) < table.drawnWidths.size();
        if (fitted && !userSized_.contains(column)) {
            if (GetColumnWidth(column) != table.DrawnWidth(column))
                SetColumnWidth(column, table.DrawnWidth(column));
            fittedWidths_[column] = table.DrawnWidth(column);
        }
    }
}

void CStatGridCtrl::RefitTable(const std::function<void(StatTable &)> &fit)
{
    if (!showsTable_)
        return;
    const RedrawPause pause(*this);
    fit(shown_);
    ApplyFittedWidths(shown_);
}

bool CStatGridCtrl::RowShows(int r, const TableRow &row, const TableRow *previous) const
{
    if (GetItemData(r) != row.itemData)
        return false;
    const int columns = std::min(GetColumnCount(), shown_.ColumnCount());
    for (int column = 0; column < columns; ++column) {
        // Bold cells are drawn from the table shown, not from the grid's rows.
        if (!previous || previous->Cell(column).bold != row.Cell(column).bold)
            return false;
        if (GetItemText(r, column) != row.Cell(column).text ||
            GetCellTextColor(r, column) != row.TextColorOf(column).value_or(GetTextColor()) ||
            GetCellBkColor(r, column) != row.BackgroundOf(column).value_or(GetBkColor()))
            return false;
    }
    return true;
}

void CStatGridCtrl::WriteRow(int r, const TableRow &row)
{
    const int columns = std::min(GetColumnCount(), shown_.ColumnCount());
    for (int column = 0; column < columns; ++column)
        SetItemText(r, column, row.Cell(column).text);
    SetItemData(r, row.itemData);
    SetCellTextColor(r, -1, row.textColor.value_or(GetTextColor()));
    SetCellBkColor(r, -1, row.background.value_or(GetBkColor()));
    for (int column = 0; column < static_cast<int>(row.cells.size()); ++column) {
        const TableCell &cell = row.cells[static_cast<std::size_t>(column)];
        if (cell.textColor)
            SetCellTextColor(r, column, *cell.textColor);
        if (cell.background)
            SetCellBkColor(r, column, *cell.background);
    }
}

void CStatGridCtrl::ShowRows(const StatTable &previous)
{
    // Rows that show what they showed stay as they are and are not repainted;
    // a row that differs is written anew and repaints its own rectangle.
    const RedrawPause pause(*this);
    const int count = shown_.RowCount();
    const int kept = std::min(GetItemCount(), count);
    // The selection goes, as with rows shown anew; only rows that had one repaint.
    ClearRowStates();
    for (int r = 0; r < kept; ++r) {
        const TableRow &row = shown_.rows[static_cast<std::size_t>(r)];
        const TableRow *before =
            r < previous.RowCount() ? &previous.rows[static_cast<std::size_t>(r)] : nullptr;
        if (RowShows(r, row, before))
            continue;
        WriteRow(r, row);
        RedrawItems(r, r);
    }
    while (GetItemCount() > count)
        DeleteItem(GetItemCount() - 1);
    for (int r = kept; r < count; ++r) {
        const TableRow &row = shown_.rows[static_cast<std::size_t>(r)];
        InsertItem(r, row.Cell(0).text);
        WriteRow(r, row);
    }
}

void CStatGridCtrl::SortByColumn(int column)
{
    if (!showsTable_ || column < 0 || column >= GetColumnCount() ||
        GetItemCount() != shown_.RowCount())
        return;
    const std::vector<std::size_t> order = shown_.SortByHeaderClick(column);
    if (order.empty())
        return;
    // The grid's rows move as the value's did, so that the selection and the
    // focus stay with their rows: while sorting, a row's data is its rank.
    std::vector<std::int32_t> rank(order.size());
    for (std::size_t position = 0; position < order.size(); ++position)
        rank[order[position]] = static_cast<std::int32_t>(position);
    for (int r = 0; r < GetItemCount(); ++r)
        SetItemData(r, rank[static_cast<std::size_t>(r)]);
    SortItems([](std::int32_t a, std::int32_t b) { return a < b ? -1 : a > b ? 1 : 0; });
    for (int r = 0; r < GetItemCount(); ++r)
        SetItemData(r, shown_.rows[static_cast<std::size_t>(r)].itemData);
}

const TextWrapper &CStatGridCtrl::Wrapper() const
{
    wrapper_.SetFont(font());
    return wrapper_;
}

const QFont &CStatGridCtrl::BoldFont()
{
    if (!boldFont_) {
        QFont bold = font();
        bold.setWeight(QFont::Bold);
        boldFont_ = bold;
    }
    return *boldFont_;
}

void CStatGridCtrl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        boldFont_.reset();
    }
    CZrGridListCtrl::changeEvent(event);
}

QString CStatGridCtrl::CellText(int row, int column) const
{
    return GetItemText(row, column);
}

bool CStatGridCtrl::IsBoldCell(int row, int column) const
{
    return row >= 0 && row < shown_.RowCount() &&
           shown_.rows[static_cast<std::size_t>(row)].Cell(column).bold;
}

void CStatGridCtrl::DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc)
{
    if (!IsBoldCell(row, column)) {
        CZrGridListCtrl::DrawCellText(row, column, rect, selected, dc);
        return;
    }
    if (rect.IsRectEmpty())
        return;
    const COLORREF colour =
        selected ? GetCellSelTextColor(row, column) : GetCellTextColor(row, column);
    const int space = QFontMetrics(font()).horizontalAdvance(u' ');
    CRect area(rect.left + space, rect.top, rect.right - 2 * space, rect.bottom);
    if (area.left > area.right)
        std::swap(area.left, area.right);
    dc.save();
    dc.setPen(ToQColor(colour));
    dc.setFont(BoldFont());
    DrawTextLine(dc, area, CellText(row, column), TextAlignOf(GetColumnFormat(column)));
    dc.restore();
}
