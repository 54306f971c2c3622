#pragma once

#include "platform/Colors.h"

#include <QWidget>

class QScrollBar;

// Scroll messages a page container sends to its parent after it scrolled
// (wParam 0, lParam 0), and the scroll codes it understands.
constexpr unsigned WM_HSCROLL = 0x114;
constexpr unsigned WM_VSCROLL = 0x115;
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

// The scrolling window that holds the tables of a page. It does not move its
// children: it keeps a content size, a page size and a scroll position, shows
// the scroll bars, and tells its parent (WM_HSCROLL / WM_VSCROLL) after each
// scroll so the parent's layout places every child at its content position
// minus the scroll position. Notifications of its children go on to the
// parent unchanged.
class CPageContainerWnd : public QWidget
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

    // Scrolls one bar by a scroll code (thumb: to `thumb`), then tells the parent.
    void OnHScroll(int code, int thumb = 0);
    void OnVScroll(int code, int thumb = 0);

    // The colour the background is filled with (the window colour at first).
    void SetBackgroundColor(COLORREF colour);
    COLORREF BackgroundColor() const { return background_; }

    QScrollBar *HorizontalBar() const { return horzBar_; }
    QScrollBar *VerticalBar() const { return vertBar_; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void childEvent(QChildEvent *event) override;

private:
    void UpdateBars();
    void PlaceBars();
    QSize ClientSize() const;
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
