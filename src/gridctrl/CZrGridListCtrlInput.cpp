// Mouse, keyboard, tooltips and notifications of the grid.
#include "gridctrl/CZrGridListCtrl.h"

#include "platform/ControlIds.h"
#include "platform/NotifyEvent.h"
#include "platform/QtConversions.h"
#include "platform/SystemMetrics.h"
#include "platform/ToolTips.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

namespace
{

constexpr int kMaxToolTipLength = 80;

bool IsTabKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
}

} // namespace

bool CZrGridListCtrl::event(QEvent *event)
{
    if (event->type() == CNotifyEvent::EventType()) {
        auto *notification = static_cast<CNotifyEvent *>(event);
        if (notification->Code() == LVN_ENDLABELEDIT) {
            EndEditForward(notification->Row(), notification->Column(), notification->Text());
            notification->SetHandled();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the control takes before any window shortcut.
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (IsTabKey(key) || key->key() == Qt::Key_Escape || (enter && (flags_ & GLF_ENTEREDITS))) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && IsTabKey(static_cast<QKeyEvent *>(event))) {
        // Tab moves between cells, never to the next window.
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool CZrGridListCtrl::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        CRect cell;
        const QString tip = CellToolTip(help->pos(), &cell);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            ShowPlainToolTip(help->globalPos(), tip, viewport(), ToQRect(cell));
        }
        return true;
    }
    if (event->type() == QEvent::Resize) {
        // The viewport also moves and resizes when the frame changes.
        LayoutHeader();
        UpdateScrollBars();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

QString CZrGridListCtrl::CellToolTip(const QPoint &viewportPos, CRect *cellRect) const
{
    int column = -1;
    const int row = HitTest(viewportPos, &column);
    if (row < 0 || column < 0 || !IsCellTextCut(row, column))
        return QString();
    if (cellRect)
        *cellRect = GetCellRect(row, column);
    return GetItemText(row, column).left(kMaxToolTipLength);
}

void CZrGridListCtrl::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CZrGridListCtrl::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- Mouse ----

void CZrGridListCtrl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event);
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(event);
    event->accept();
}

void CZrGridListCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void CZrGridListCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        int column = -1;
        int row = HitTest(event->position().toPoint(), &column);
        // Outside every cell, as for a click, there is no row.
        if (column < 0)
            row = -1;
        NotifyParent(this, NM_DBLCLK, row, column);
    }
    event->accept();
}

void CZrGridListCtrl::wheelEvent(QWheelEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    QAbstractScrollArea::wheelEvent(event);
}

void CZrGridListCtrl::OnLButtonDown(QMouseEvent *event)
{
    int column = -1;
    const int row = HitTest(event->position().toPoint(), &column);
    if (row < 0 || column < 0) {
        selectedColumn_ = -1;
        ListClick(-1, event->modifiers(), false);
        viewport()->update();
        return;
    }
    const bool wasSelected = IsCellSelected(row, column);
    SelectCell(row, column, event->modifiers());
    if ((flags_ & GLF_EDITABLE) && ((flags_ & GLF_EDITONCLICK) || wasSelected))
        EditCell(row, column);
}

void CZrGridListCtrl::SelectCell(int row, int column, Qt::KeyboardModifiers modifiers)
{
    const bool fullRow = (flags_ & GLF_FULLROWSELECT) != 0;
    if (!fullRow && column != selectedColumn_)
        SetItemState(-1, 0, LVIS_SELECTED);
    focusColumn_ = selectedColumn_ = fullRow ? -1 : column;
    ListClick(row, modifiers, false);
    RedrawRow(row);
}

void CZrGridListCtrl::OnRButtonDown(QMouseEvent *event)
{
    int column = -1;
    const int row = HitTest(event->position().toPoint(), &column);
    ListClick(column >= 0 ? row : -1, event->modifiers(), true);
    if (row >= 0 && column >= 0 && !IsCellSelected(row, column)) {
        focusColumn_ = selectedColumn_ = column;
        // Every selected row, not only this one, now highlights another column.
        viewport()->update();
    }
    RedrawRow(row);
}

// The list's own click handling: selection and focus.
void CZrGridListCtrl::ListClick(int row, Qt::KeyboardModifiers modifiers, bool rightButton)
{
    setFocus(Qt::MouseFocusReason);
    const bool control = (modifiers & Qt::ControlModifier) && !singleSelection_;
    const bool shift = (modifiers & Qt::ShiftModifier) && !singleSelection_;
    if (row < 0) {
        if (!control && !shift)
            SelectAll(false);
        return;
    }
    if (rightButton) {
        if (!GetItemState(row, LVIS_SELECTED)) {
            SelectAll(false);
            ChangeState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
        anchorRow_ = row;
    } else if (shift && ValidRow(anchorRow_)) {
        const int low = std::min(anchorRow_, row);
        const int high = std::max(anchorRow_, row);
        for (int r = 0; r < GetItemCount(); ++r) {
            if (r >= low && r <= high)
                ChangeState(r, LVIS_SELECTED, LVIS_SELECTED);
            else if (!control)
                ChangeState(r, 0, LVIS_SELECTED);
        }
    } else if (control) {
        ChangeState(row, GetItemState(row, LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
        anchorRow_ = row;
    } else {
        for (int r = 0; r < GetItemCount(); ++r) {
            if (r != row)
                ChangeState(r, 0, LVIS_SELECTED);
        }
        ChangeState(row, LVIS_SELECTED, LVIS_SELECTED);
        anchorRow_ = row;
    }
    SetFocusedRow(row);
}

// ---- Keyboard ----

void CZrGridListCtrl::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    switch (event->key()) {
    case Qt::Key_Escape:
        SelectAll(false);
        // The window hears Escape too (it asks whether to quit or closes),
        // as it does from every other control.
        event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!(flags_ & GLF_ENTEREDITS)) {
            event->ignore();
            return;
        }
        if (ValidRow(focusedRow_) && ValidColumn(focusColumn_))
            EditCell(focusedRow_, focusColumn_);
        break;
    case Qt::Key_Tab:
        MoveToNeighbourCell(!(modifiers & Qt::ShiftModifier), modifiers);
        break;
    case Qt::Key_Backtab:
        MoveToNeighbourCell(false, modifiers);
        break;
    case Qt::Key_Left:
        MoveToNeighbourCell(false, modifiers);
        break;
    case Qt::Key_Right:
        MoveToNeighbourCell(true, modifiers);
        break;
    case Qt::Key_Up:
        MoveFocusedRow(focusedRow_ - 1, modifiers);
        break;
    case Qt::Key_Down:
        MoveFocusedRow(focusedRow_ + 1, modifiers);
        break;
    case Qt::Key_PageUp:
        MoveFocusedRow(focusedRow_ - std::max(1, GetCountPerPage() - 1), modifiers);
        break;
    case Qt::Key_PageDown:
        MoveFocusedRow(focusedRow_ + std::max(1, GetCountPerPage() - 1), modifiers);
        break;
    case Qt::Key_Home:
        MoveFocusedRow(0, modifiers);
        break;
    case Qt::Key_End:
        MoveFocusedRow(GetItemCount() - 1, modifiers);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

// Up, Down, Page Up/Down, Home and End: move the focused row and select it.
void CZrGridListCtrl::MoveFocusedRow(int row, Qt::KeyboardModifiers modifiers)
{
    if (GetItemCount() == 0)
        return;
    row = std::clamp(row, 0, GetItemCount() - 1);
    const bool shift = (modifiers & Qt::ShiftModifier) && !singleSelection_;
    const bool control = (modifiers & Qt::ControlModifier) && !singleSelection_;
    if (shift && ValidRow(anchorRow_)) {
        const int low = std::min(anchorRow_, row);
        const int high = std::max(anchorRow_, row);
        for (int r = 0; r < GetItemCount(); ++r)
            ChangeState(r, (r >= low && r <= high) ? LVIS_SELECTED : 0, LVIS_SELECTED);
    } else if (!control) {
        for (int r = 0; r < GetItemCount(); ++r)
            ChangeState(r, r == row ? LVIS_SELECTED : 0, LVIS_SELECTED);
        anchorRow_ = row;
    }
    SetFocusedRow(row);
    EnsureVisible(row, false);
}

// Left, Right, Tab and Shift+Tab: select the neighbouring cell of the current
// cell as a click on it would, but start no editor.
void CZrGridListCtrl::MoveToNeighbourCell(bool right, Qt::KeyboardModifiers modifiers)
{
    const int row = focusedRow_;
    const int column = focusColumn_;
    if (!ValidRow(row) || !ValidColumn(column))
        return;
    const int firstEnterable = (flags_ & GLF_ROWHEADER) ? 1 : 0;
    if (!right && column <= firstEnterable)
        return;
    if (right && column >= GetColumnCount() - 1)
        return;
    const int target = right ? column + 1 : column - 1;
    if ((flags_ & GLF_ROWHEADER) && target == 0)
        return;

    // Both the row and the target cell are brought into view before the
    // neighbour is looked up, so that it is found even after scrolling.
    EnsureVisible(row, false);
    EnsureCellVisible(row, target);
    // The neighbour is the cell 2 pixels beyond the current cell's edge, which
    // skips hidden (zero-width) columns. A point past them may land outside
    // every cell or in the row header; such a move is refused before anything
    // changes.
    const CRect cell = GetCellRect(row, column);
    const QPoint point(right ? cell.right + 2 : cell.left - 2, cell.top + 2);
    int hitColumn = -1;
    const int hitRow = HitTest(point, &hitColumn);
    if (hitRow < 0 || hitColumn < 0 || ((flags_ & GLF_ROWHEADER) && hitColumn == 0))
        return;

    SetItemState(-1, 0, LVIS_SELECTED);
    SelectCell(hitRow, hitColumn, modifiers & (Qt::ControlModifier | Qt::ShiftModifier));
}

// ---- Header ----

void CZrGridListCtrl::OnHeaderColumnClicked(int column)
{
    OnColumnClick(column);
    CNotifyEvent notification(this, GetDlgCtrlID(this), LVN_COLUMNCLICK, 0, column);
    SendNotify(parentWidget(), notification);
}

void CZrGridListCtrl::OnHeaderTrackEnded(int column)
{
    UpdateScrollBars();
    viewport()->update();
    NotifyParent(this, HDN_ENDTRACK, -1, column);
}

void CZrGridListCtrl::OnHeaderDividerDoubleClicked(int column)
{
    AutoSizeColumn(column);
    NotifyParent(this, HDN_DIVIDERDBLCLICK, -1, column);
}

// Fits the column to its widest text.
void CZrGridListCtrl::AutoSizeColumn(int column)
{
    if (!ValidColumn(column) || GetItemCount() == 0)
        return;
    const QFontMetrics metrics = fontMetrics();
    int widest = 0;
    for (int row = 0; row < GetItemCount(); ++row) {
        int width = metrics.horizontalAdvance(GetItemText(row, column));
        if (!images_.empty() && GetCellImage(row, column) >= 0)
            width += images_.front().width();
        widest = std::max(widest, width);
    }
    int width = widest + 2 * TextMargin();
    if (column == 0)
        width += GetSystemMetrics(SM_CXEDGE);
    SetColumnWidth(column, width);
}
