#pragma once

#include "platform/Colors.h"

#include <QFrame>

class QScrollBar;

// The scroll codes a page container understands.
enum ScrollCode {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

// The scrolling window that holds the tables of a page, inside a sunken
// edge. It does not move its children: it keeps a content size, a page size
// and a scroll position, shows the scroll bars, and announces each scroll
// (scrolled) so the owner's layout places every child (Place) at its content
// position minus the scroll position.
// Notifications of its children go on to the parent unchanged.
class CPageContainerWnd : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kLineStep = 24;

    explicit CPageContainerWnd(QWidget *parent = nullptr, int id = 0);

    // Size of everything the page places, and of the visible part; both clamp
    // the scroll position into range and update the bars.
    void SetContentSize(int width, int height);
    void SetPageSize(int width, int height);
    QSize ContentSize() const { return {contentWidth_, contentHeight_}; }
    QSize PageSize() const { return {pageWidth_, pageHeight_}; }
    int HorzPosition() const { return horzPosition_; }
    int VertPosition() const { return vertPosition_; }

    // Scrolls one bar by a scroll code (thumb: to `thumb`), then announces scrolled.
    void OnHScroll(int code, int thumb = 0);
    void OnVScroll(int code, int thumb = 0);

    // Where the client area starts in the window: inside the sunken edge.
    static QPoint ClientOrigin();
    // Places a child at `clientRect`, given in client coordinates.
    static void Place(QWidget &child, const QRect &clientRect);
    // The client area's size: the window less its edge and the shown bars.
    QSize ClientSize() const;

    // The colour the background is filled with (the window colour at first).
    void SetBackgroundColor(COLORREF colour);
    COLORREF BackgroundColor() const { return background_; }

    QScrollBar *HorizontalBar() const { return horzBar_; }
    QScrollBar *VerticalBar() const { return vertBar_; }

signals:
    // A bar scrolled (its position may have stayed at an end): lay the page out again.
    void scrolled(Qt::Orientation orientation);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void childEvent(QChildEvent *event) override;

private:
    void UpdateBars();
    void PlaceBars();
    static int Scrolled(int code, int thumb, int position, int page, int content);

    int contentWidth_ = 0;
    int contentHeight_ = 0;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    int horzPosition_ = 0;
    int vertPosition_ = 0;
    COLORREF background_ = GetSysColor(COLOR_WINDOW);
    QScrollBar *horzBar_ = nullptr; // children
    QScrollBar *vertBar_ = nullptr;
    // The square between the two bars, over the page's controls, shown while both bars are.
    QWidget *corner_ = nullptr;
    bool updating_ = false;
};
