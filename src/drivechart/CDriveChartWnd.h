#pragma once

#include "gamedata/CDriveChartData.h"
#include "views/DriveChartGeometry.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

class QPainter;

// The drive chart: the entries of a drive chart list drawn as rows on a
// picture of the field, the home end zone on the left. Each entry is an arrow
// from where it started to where it ended, or a box when it lost ground. The
// view keeps what is its own (the entry under the mouse, the selected entry,
// the top row) and announces what happens with its signals. The viewport is
// the client area, inside a sunken edge; the vertical scroll bar is always
// shown and only disabled when every row fits.
class CDriveChartWnd : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CDriveChartWnd(QWidget *parent = nullptr, int id = 0);
    ~CDriveChartWnd() override;

    // The list drawn; the pointed-at and the selected entry are kept within it,
    // and forgotten (the read-out announced empty) when it changes between
    // drives and plays.
    void SetDrives(CDriveChartData drives);
    const CDriveChartData &Drives() const { return drives_; }
    // Include the time of possession in drive read-outs.
    void SetShowTOP(bool show) { showTOP_ = show; }
    bool ShowTOP() const { return showTOP_; }

    // Clamps `index` to -1 .. count - 1, stores it as the selected entry and
    // updates the read-out. No repaint.
    void Select(int index);
    // Scrolls so that entry `index` is among the visible rows; no repaint.
    void EnsureVisible(int index);
    // Announces the read-out: the hovered entry, else the selected one, else empty.
    void UpdateReadout();
    // What moving the mouse onto entry `entry` (-1: off every entry) does:
    // repaint and a new read-out when it differs from the hovered entry.
    void TrackHover(int entry);

    // Lays the list out for the current client size and top row, as a paint
    // does, without painting.
    void UpdateGeometry();
    // The layout of the latest UpdateGeometry (or paint).
    const DriveChartGeometry &Geometry() const { return geometry_; }

    // Scrolls the rows as the scroll bar asks.
    void OnVScroll(DriveChartScroll code, int position);

    int itemCount() const { return drives_.count(); }
    int firstRow() const { return firstRow_; }
    int hover() const { return hover_; }
    int selected() const { return selected_; }
    int wheelRemainder() const { return wheelRemainder_; }
    // The text last announced with driveTextChanged.
    const QString &readout() const { return readout_; }

signals:
    // The read-out for the drive text box changed (empty to clear it).
    void driveTextChanged(const QString &text);
    // A click or a key selected entry `index` (-1 for none).
    void driveRowSelected(int index);
    // A drive was double-clicked in drives mode: show its plays.
    void drivePlaysRequested(int driveIndex);
    // A right click in plays mode: show the drives again.
    void driveListRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void sendReadout(const QString &text);
    void onScrollAction(int action);
    void updateScrollBar();
    void rebuildField();
    void drawRow(QPainter &painter, int index) const;
    void drawTeamNames(QPainter &painter) const;

    CDriveChartData drives_;
    DriveChartGeometry geometry_;
    bool showTOP_ = false;
    int firstRow_ = 0;
    int hover_ = -1;
    int selected_ = -1;
    int wheelRemainder_ = 0;
    QString readout_;

    // The grass, ticks, lines and yard numbers for one client size.
    QImage field_;
};
