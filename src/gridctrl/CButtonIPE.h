#pragma once

#include <QPointer>
#include <QPushButton>

class CZrGridListCtrl;

// A small flat button at the right end of a grid cell. A click, Enter or
// Escape gives the focus back to the grid; on losing the focus the button
// reports once (without text) and closes itself.
class CButtonIPE : public QPushButton
{
    Q_OBJECT

public:
    CButtonIPE(CZrGridListCtrl *grid, int row, int column, const QString &caption);

    int Row() const { return row_; }
    int Column() const { return column_; }

protected:
    bool event(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<CZrGridListCtrl> grid_;
    const int row_;
    const int column_;
    bool reported_ = false;
};
