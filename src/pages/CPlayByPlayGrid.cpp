#include "CPlayByPlayGrid.h"

#include "views/AddedRows.h"

#include <QScrollBar>

CPlayByPlayGrid::CPlayByPlayGrid(QWidget *parent, int id) : CStatGridCtrl(parent, id)
{
    markTimer_.setSingleShot(true);
    markTimer_.setInterval(kMarkDuration);
    connect(&markTimer_, &QTimer::timeout, this, &CPlayByPlayGrid::ClearMarks);
    // Whoever moved the rows, the user or a size that shows more of them: the
    // newest row is followed exactly while it is in view. Rows added below
    // move nothing, so a reload keeps following.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (GetItemCount() > 0)
            followNewest_ = NewestRowInView();
    });
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
    markNextTable_ = true;
}

void CPlayByPlayGrid::ShowNewest()
{
    followNewest_ = true;
    KeepNewestInView();
}

void CPlayByPlayGrid::KeepNewestInView()
{
    // Before the grid has its height it counts one row a page: the newest row
    // then stands at the top, and the height it gets shows the rows above it.
    const int rows = GetItemCount();
    if (rows > 0)
        EnsureVisible(rows - 1, false);
}

void CPlayByPlayGrid::resizeEvent(QResizeEvent *event)
{
    const bool follow = followNewest_;
    CStatGridCtrl::resizeEvent(event);
    // A lower grid shows fewer rows from the same top.
    if (follow) {
        followNewest_ = true;
        KeepNewestInView();
    }
}

bool CPlayByPlayGrid::NewestRowInView() const
{
    const int rows = GetItemCount();
    return rows == 0 || GetTopIndex() + GetCountPerPage() >= rows;
}

void CPlayByPlayGrid::TableShown(const StatTable &previous)
{
    // The rows show the table's own colours again: rows still marked were
    // told apart from the new table and written anew.
    markTimer_.stop();
    firstMarked_ = 0;
    markedCount_ = 0;
    if (followNewest_)
        KeepNewestInView();
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
    if (markedCount_ > 0) {
        markTimer_.start();
        RedrawItems(firstMarked_, firstMarked_ + markedCount_ - 1);
    }
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
    RedrawItems(firstMarked_, firstMarked_ + markedCount_ - 1);
    firstMarked_ = 0;
    markedCount_ = 0;
}
