#pragma once

#include "platform/CRect.h"
#include "platform/Colors.h"

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QImage>
#include <QPolygon>
#include <QString>
#include <optional>

class CDriveChartData;
class QPainter;

// The drive chart: the entries of a CDriveChartData drawn as rows on a picture
// of the field, the home end zone on the left. Each entry is an arrow from
// where it started to where it ended, or a box when it lost ground. The view
// tracks the entry under the mouse and the selected entry and reports them to
// its notify target (by default its top-level window) with these messages,
// sent synchronously, lParam 0:
//   UM_SETDRIVETEXT    wParam = const char * to the read-out text in UTF-8,
//                      valid during the send (empty text to clear)
//   UM_SELECTDRIVEROW  wParam = selected entry (-1 for none), after a click or key
//   UM_SHOWDRIVEPLAYS  wParam = driveIndex of a double-clicked drive (drives mode)
//   UM_SHOWDRIVELIST   wParam = 0, right click in plays mode
// The viewport is the client area; the vertical scroll bar is always shown and
// only disabled when every row fits.
class CDriveChartWnd : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int endZoneYards = 10;
    static constexpr int fieldYards = 100;
    static constexpr int totalYards = 120;
    static constexpr int rowHeight = 7;
    static constexpr int rowPitch = 9;

    explicit CDriveChartWnd(QWidget *parent = nullptr, int id = 0);
    ~CDriveChartWnd() override;

    // The list drawn; not owned, may be null (then nothing is drawn).
    void SetData(CDriveChartData *data) { data_ = data; }
    CDriveChartData *Data() const { return data_; }
    // Include the time of possession in drive read-outs.
    void SetShowTOP(bool show) { showTOP_ = show; }
    bool ShowTOP() const { return showTOP_; }
    // Where the messages go; null means the view's top-level window.
    void SetNotifyTarget(QObject *target) { notifyTarget_ = target; }

    // Clamps `index` to -1 .. itemCount - 1 (itemCount as last refreshed),
    // passes it to the list, stores it and updates the read-out. No repaint.
    void Select(int index);
    // Scrolls so that entry `index` is among the visible rows; no repaint.
    void EnsureVisible(int index);
    // Sends the read-out: the hovered entry, else the selected one, else empty.
    void UpdateReadout();
    // Refreshes itemCount and writes every entry's hit rectangle (all -1 off screen).
    void LayoutRows();
    // The highest entry whose hit rectangle holds the client point, or -1.
    int HitTest(const QPoint &point);
    // The read-out description of entry `index`; empty outside the list.
    QString Describe(int index) const;
    // What moving the mouse onto entry `entry` (-1: off every entry) does:
    // repaint and a new read-out when it differs from the hovered entry.
    void TrackHover(int entry);

    // Refreshes the scale, margins, scrolling state and visible rows for the
    // current client size and list, as a paint does, without painting.
    void UpdateGeometry();

    // Whether entry `index` is in one of the visible rows.
    bool IsOnScreen(int index) const;
    // The outline points of entry `index` when drawn as an arrow; none when it
    // is drawn as a box or not on screen.
    std::optional<QPolygon> ArrowPoints(int index) const;

    int pixelsPerYard() const { return pixelsPerYard_; }
    int leftMargin() const { return leftMargin_; }
    int topMargin() const { return topMargin_; }
    int rowArea() const { return rowArea_; }
    bool scrolling() const { return scrolling_; }
    int itemCount() const { return itemCount_; }
    int firstRow() const { return firstRow_; }
    int visibleRows() const { return visibleRows_; }
    int hover() const { return hover_; }
    int selected() const { return selected_; }
    int wheelRemainder() const { return wheelRemainder_; }
    // The text last sent with UM_SETDRIVETEXT.
    const QString &readout() const { return readout_; }
    // x of a position `yards` from the home goal line.
    int YardToX(int yards) const { return (yards + endZoneYards) * pixelsPerYard_ + leftMargin_; }

    // Scroll-bar codes of the vertical scroll.
    enum ScrollCode {
        SB_LINEUP,
        SB_LINEDOWN,
        SB_PAGEUP,
        SB_PAGEDOWN,
        SB_THUMBPOSITION,
        SB_THUMBTRACK,
        SB_TOP,
        SB_BOTTOM,
        SB_ENDSCROLL
    };
    // Scrolls the rows as the scroll bar asks; the bar follows at the next paint.
    void OnVScroll(ScrollCode code, int position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QObject *notifyTarget() const;
    void sendReadout(const QString &text);
    void onScrollAction(int action);
    void updateScrollBar();
    void rebuildField(const QSize &client);
    void drawRow(QPainter &painter, int index) const;
    void drawTeamNames(QPainter &painter, const QSize &client) const;

    CDriveChartData *data_ = nullptr;
    QObject *notifyTarget_ = nullptr;
    int pixelsPerYard_ = 2;
    int leftMargin_ = 0;
    int topMargin_ = 20;
    int rowGap_ = 3;
    int rowArea_ = 0;
    bool scrolling_ = false;
    bool showTOP_ = false;
    int itemCount_ = 0;
    int firstRow_ = 0;
    int visibleRows_ = 0;
    int hover_ = -1;
    int selected_ = -1;
    int wheelRemainder_ = 0;
    QString readout_;
    QByteArray readoutUtf8_; // what UM_SETDRIVETEXT points to

    // The grass, ticks, lines and yard numbers for one client size.
    QImage field_;
    // The picture the rows are drawn into before it is copied to the screen.
    QImage frame_;
};
