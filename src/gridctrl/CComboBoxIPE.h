#pragma once

#include <QComboBox>
#include <QPointer>

class CZrGridListCtrl;

// In-place drop-down choice over one cell of a grid. Enter ends the edit,
// Escape cancels it; closing the drop-down list gives the focus back to the
// grid. On losing the focus it reports once the selected item's text (or,
// with no selection in an editable box, the typed text) and its index.
class CComboBoxIPE : public QComboBox
{
    Q_OBJECT

public:
    // `editable`: the box has an edit part. `sidewaysScroll`: its list
    // scrolls sideways, so it never widens itself for long strings.
    CComboBoxIPE(CZrGridListCtrl *grid, int row, int column, bool editable, bool sidewaysScroll);

    int Row() const { return row_; }
    int Column() const { return column_; }
    bool IsCancelled() const { return cancelled_; }

    // Adds a string at the end / before `index`; returns its index. The
    // drop-down list widens to the widest string when that is wider than the box.
    int AddString(const QString &text);
    int InsertString(int index, const QString &text);
    // Width of the drop-down list.
    int DroppedWidth() const { return droppedWidth_; }

    void hidePopup() override;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Widen(const QString &text);

    QPointer<CZrGridListCtrl> grid_;
    const int row_;
    const int column_;
    const bool sidewaysScroll_;
    bool cancelled_ = false;
    bool reported_ = false;
    int widest_ = 0;
    int droppedWidth_ = 0;
};
