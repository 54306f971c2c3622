#include "gridctrl/CComboBoxIPE.h"

#include "gridctrl/CZrGridListCtrl.h"
#include "gridctrl/InPlaceEditing.h"
#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"
#include "platform/SystemMetrics.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

CComboBoxIPE::CComboBoxIPE(CZrGridListCtrl *grid, int row, int column, bool editable,
                           bool sidewaysScroll)
    : QComboBox(grid->viewport()), grid_(grid), row_(row), column_(column),
      sidewaysScroll_(sidewaysScroll)
{
    setFont(grid->font());
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
}

int CComboBoxIPE::AddString(const QString &text)
{
    return InsertString(count(), text);
}

int CComboBoxIPE::InsertString(int index, const QString &text)
{
    index = std::clamp(index, 0, count());
    // Adding strings selects nothing.
    const int current = currentIndex();
    insertItem(index, text);
    if (current < 0)
        setCurrentIndex(-1);
    Widen(text);
    return index;
}

void CComboBoxIPE::Widen(const QString &text)
{
    widest_ = std::max(widest_, fontMetrics().horizontalAdvance(text));
    droppedWidth_ = width();
    if (!sidewaysScroll_ && widest_ > width())
        droppedWidth_ = widest_;
    view()->setMinimumWidth(droppedWidth_);
}

void CComboBoxIPE::hidePopup()
{
    QComboBox::hidePopup();
    // Once the list has closed and the choice is made, the edit ends.
    QMetaObject::invokeMethod(
        this, [this] { ReturnFocusToGrid(grid_); }, Qt::QueuedConnection);
}

bool CComboBoxIPE::event(QEvent *event)
{
    // Enter and Escape are taken before any other handling.
    if (IsEndingKey(event)) {
        if (event->type() == QEvent::KeyPress)
            keyPressEvent(static_cast<QKeyEvent *>(event));
        event->accept();
        return true;
    }
    return QComboBox::event(event);
}

void CComboBoxIPE::keyPressEvent(QKeyEvent *event)
{
    if (!EndEditOnKey(event, grid_, cancelled_))
        QComboBox::keyPressEvent(event);
}

void CComboBoxIPE::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // Opening the drop-down list does not end the edit.
    if (event->reason() == Qt::PopupFocusReason || reported_)
        return;
    reported_ = true;
    std::optional<QString> result;
    if (!cancelled_) {
        if (currentIndex() >= 0)
            result = itemText(currentIndex());
        else if (isEditable())
            result = lineEdit()->text();
        else
            result = QString();
    }
    SendEndLabelEdit(this, grid_, row_, column_, result, currentIndex());
    deleteLater();
}

void CComboBoxIPE::paintEvent(QPaintEvent *event)
{
    QComboBox::paintEvent(event);
    QPainter painter(this);
    CRect frame = FromQRect(rect());
    FrameRect(painter, frame, GetSysColor(COLOR_BTNHIGHLIGHT));
    frame.DeflateRect(1, 1);
    FrameRect(painter, frame, GetSysColor(COLOR_BTNSHADOW));
    frame.DeflateRect(1, 1);
    CRect button(frame.right - GetSystemMetrics(SM_CXHTHUMB), frame.top, frame.right, frame.bottom);
    FrameRect(painter, button, GetSysColor(COLOR_BTNHIGHLIGHT));
    button.DeflateRect(1, 1);
    FrameRect(painter, button, GetSysColor(COLOR_BTNSHADOW));
}
