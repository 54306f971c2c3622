#include "CPlayByPlayGrid.h"

#include "views/AddedRows.h"

CPlayByPlayGrid::CPlayByPlayGrid(QWidget *parent, int id) : CStatGridCtrl(parent, id)
{
    markTimer_.setSingleShot(true);
    markTimer_.setInterval(kMarkDuration);
    connect(&markTimer_, &QTimer::timeout, this, &CPlayByPlayGrid::ClearMarks);
}

void CPlayByPlayGrid::SetupColumns()
{
    ShowColumns(PlayByPlayTable::Columns(300));
}

PlayByPlayOptions CPlayByPlayGrid::Options(int period, bool showTOP) const
{
    // Wrapped to the column's own width: the width fitted to the wrapped
    // texts must not feed the next wrap.
    return PlayByPlayOptions{period, showTOP, OwnColumnWidth(kPlayColumn)};
}

void CPlayByPlayGrid::MarkRowsOfNextReload()
{
    // Rows shown since an earlier reload were not seen yet: they stay new.
    if (!markNextTable_)
        followNewest_ = NewestRowInView();
    markNextTable_ = true;
}

bool CPlayByPlayGrid::NewestRowInView() const
{
    const int rows = GetItemCount();
    return rows == 0 || GetTopIndex() + GetCountPerPage() >= rows;
}

void CPlayByPlayGrid::TableShown(const StatTable &previous)
{
    // The rows were built anew with the table's own colours.
    markTimer_.stop();
    firstMarked_ = 0;
    markedCount_ = 0;
    if (!markNextTable_)
        return;
    markNextTable_ = false;

    const int rows = GetItemCount();
    if (previous.RowCount() > 0) {
        firstMarked_ = FirstAddedRow(previous, ShownTable());
        markedCount_ = rows - firstMarked_;
    }
    for (int row = firstMarked_; row < firstMarked_ + markedCount_; ++row)
        SetCellBkColor(row, -1, kAddedRowColor);
    if (markedCount_ > 0)
        markTimer_.start();
    if (followNewest_ && previous.RowCount() > 0 && rows > 0)
        EnsureVisible(rows - 1, false);
    viewport()->update();
}

void CPlayByPlayGrid::ClearMarks()
{
    const StatTable &table = ShownTable();
    for (int row = firstMarked_; row < firstMarked_ + markedCount_ && row < table.RowCount();
         ++row) {
        const TableRow &shown = table.rows[static_cast<std::size_t>(row)];
        SetCellBkColor(row, -1, shown.background.value_or(StatTable::kBackground));
        for (int column = 0; column < static_cast<int>(shown.cells.size()); ++column) {
            if (const auto &own = shown.cells[static_cast<std::size_t>(column)].background)
                SetCellBkColor(row, column, *own);
        }
    }
    firstMarked_ = 0;
    markedCount_ = 0;
    viewport()->update();
}
