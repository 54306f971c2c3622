#pragma once

#include "platform/CRect.h"

#include <QPointer>
#include <QWidget>

// The thin strip between the drive text box and the drives list that the user
// drags up or down. It is drawn raised, with a grip of dots in its middle, so
// that it can be seen and taken; while the left button is held a
// 4-pixel tracker is drawn across the parent (over its children) at the
// mouse, and on release splitterMoved announces the release point's y in the
// bar's own coordinates: negative above the bar.
class CSplitterBar : public QWidget
{
    Q_OBJECT

public:
    explicit CSplitterBar(QWidget *parent = nullptr, int id = 0);
    ~CSplitterBar() override;

    // True from a left-button press on the bar until its release.
    bool Dragging() const { return dragging_; }
    // Where the tracker was last drawn, in the parent's coordinates; empty
    // once it has been erased.
    const CRect &LastTracker() const { return lastTracker_; }

signals:
    // The left button was released `y` pixels below the bar's top (negative above it).
    void splitterMoved(int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The tracker for the mouse at `y` (bar coordinates), in the parent's coordinates.
    CRect trackerRect(int y) const;
    void drawTracker(const CRect &rect);

    bool dragging_ = false;
    CRect lastTracker_;
    QPointer<QWidget> tracker_; // a child of the parent, over the parent's children while dragging
};
