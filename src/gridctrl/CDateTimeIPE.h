#pragma once

#include <QDateTimeEdit>
#include <QPointer>

class CZrGridListCtrl;

// In-place date or time choice over one cell of a grid, with a drop-down
// month calendar. Enter ends the edit, Escape cancels it. Opening the
// calendar keeps the edit going; closing it ends the edit. On losing the
// focus it reports once its text and the chosen year (low 16 bits) and
// month (high 16 bits).
class CDateTimeIPE : public QDateTimeEdit
{
    Q_OBJECT

public:
    CDateTimeIPE(CZrGridListCtrl *grid, int row, int column);

    int Row() const { return row_; }
    int Column() const { return column_; }
    bool IsCancelled() const { return cancelled_; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool FocusInCalendar() const;

    QPointer<CZrGridListCtrl> grid_;
    QPointer<QWidget> calendarWindow_;
    const int row_;
    const int column_;
    bool cancelled_ = false;
    bool reported_ = false;
};
