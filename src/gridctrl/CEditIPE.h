#pragma once

#include <QLineEdit>
#include <QPointer>

class CSpinnerIPE;
class CZrGridListCtrl;

// In-place text editor over one cell of a grid (also the text part of the
// spinner editor). Enter ends the edit, Escape cancels it; on losing the
// focus it reports its text once to the grid and closes itself.
class CEditIPE : public QLineEdit
{
    Q_OBJECT

public:
    CEditIPE(CZrGridListCtrl *grid, int row, int column);

    int Row() const { return row_; }
    int Column() const { return column_; }
    bool IsCancelled() const { return cancelled_; }

    // The spin control beside the edit, closed together with it.
    void SetSpinner(CSpinnerIPE *spinner);
    CSpinnerIPE *Spinner() const;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<CZrGridListCtrl> grid_;
    QPointer<CSpinnerIPE> spinner_;
    const int row_;
    const int column_;
    bool cancelled_ = false;
    bool reported_ = false;
};
