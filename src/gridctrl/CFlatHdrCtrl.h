#pragma once

#include "platform/CRect.h"
#include "platform/Colors.h"
#include "platform/GdiPainting.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

// Column formats: how a column's texts and caption are aligned.
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

// The text alignment of a column format.
constexpr TextAlign TextAlignOf(int format)
{
    return format == LVCFMT_RIGHT    ? TextAlign::Right
           : format == LVCFMT_CENTER ? TextAlign::Center
                                     : TextAlign::Left;
}

// The flat, owner-drawn header of a grid. Its items are the grid's columns.
// A press on an item shows it pressed until the button is released, and the
// release is reported as a column click. Dragging a divider shows a tracking
// line and resizes the column only when the button is released (no full
// drag); double-clicking a divider is reported too.
class CFlatHdrCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CFlatHdrCtrl(QWidget *parent = nullptr);

    int GetItemCount() const { return static_cast<int>(items_.size()); }
    // Inserts an item before `index` (at the end when out of range); returns its index.
    int InsertItem(int index, const QString &caption, int format, int width);
    bool DeleteItem(int index);

    QString GetItemText(int index) const;
    bool SetItemText(int index, const QString &caption);
    int GetItemFormat(int index) const;
    int GetItemWidth(int index) const;
    bool SetItemWidth(int index, int width);
    // Whether the item is shown pressed (kept in the item's own parameter).
    bool IsItemPressed(int index) const;

    // Left edge of the item in the unscrolled header.
    int GetItemLeft(int index) const;
    // Sum of every item's width.
    int GetTotalWidth() const;
    // Item rectangle in this window's coordinates (after the scroll offset).
    CRect GetItemRect(int index) const;

    // Horizontal scroll offset, kept equal to the grid's.
    void SetOffset(int offset);
    int Offset() const { return offset_; }

    // The item under the point, -1 for none.
    int ItemAt(const QPoint &pos) const;
    // The item whose right divider is under the point, -1 for none.
    int DividerAt(const QPoint &pos) const;
    // The item under the mouse (hot tracking), -1 for none.
    int HotItem() const { return hotItem_; }
    // While a divider is dragged: the x of the tracking line in this window's
    // coordinates; -1 otherwise.
    int TrackPosition() const;

    // Normal and pressed colours.
    COLORREF TextColor() const { return textColor_; }
    COLORREF BkColor() const { return bkColor_; }
    COLORREF PressedTextColor() const { return pressedTextColor_; }
    COLORREF PressedBkColor() const { return pressedBkColor_; }

    QSize sizeHint() const override;

signals:
    void ColumnClicked(int column);
    void TrackMoved(int x);
    void TrackEnded(int column);
    void DividerDoubleClicked(int column);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct Item {
        QString caption;
        int format = LVCFMT_LEFT;
        int width = 0;
        std::intptr_t param = 0; // 1 while pressed
    };

    void DrawItem(QPainter &painter, int index) const;
    CRect TextRect(int index) const;
    void UpdateCursor(const QPoint &pos);

    std::vector<Item> items_;
    int offset_ = 0;
    int hotItem_ = -1;
    int trackItem_ = -1; // the item whose divider is dragged
    int trackStartX_ = 0;
    int trackWidth_ = 0; // width the item gets on release

    const COLORREF textColor_;
    const COLORREF bkColor_;
    const COLORREF pressedTextColor_;
    const COLORREF pressedBkColor_;
};
