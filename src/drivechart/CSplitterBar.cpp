#include "drivechart/CSplitterBar.h"

#include "platform/ControlIds.h"
#include "platform/QtConversions.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace
{

constexpr int kTrackerHalfHeight = 2;

// The drag tracker: a halftone band that inverts every other pixel of what is
// below it (the parent and its children), so it shows on any background and
// vanishes without a trace when hidden.
class DragTracker : public QWidget
{
public:
    explicit DragTracker(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (pattern_.size() != size()) {
            pattern_ = QImage(size(), QImage::Format_RGB32);
            for (int y = 0; y < height(); ++y) {
                auto *line = reinterpret_cast<QRgb *>(pattern_.scanLine(y));
                for (int x = 0; x < width(); ++x)
                    line[x] = ((x + y) % 2 == 0) ? 0xffffffffu : 0xff000000u;
            }
        }
        QPainter painter(this);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.drawImage(0, 0, pattern_);
    }

private:
    QImage pattern_;
};

} // namespace

CSplitterBar::CSplitterBar(QWidget *parent, int id) : QWidget(parent)
{
    SetDlgCtrlID(this, id);
    setCursor(Qt::SplitVCursor);
}

CSplitterBar::~CSplitterBar()
{
    delete tracker_;
}

CRect CSplitterBar::trackerRect(int y) const
{
    CRect rect(0, y - kTrackerHalfHeight, width(), y + kTrackerHalfHeight);
    rect.OffsetRect(x(), this->y());
    return rect;
}

void CSplitterBar::drawTracker(const CRect &rect)
{
    if (!parentWidget())
        return;
    if (!tracker_)
        tracker_ = new DragTracker(parentWidget());
    if (rect.IsRectEmpty()) {
        tracker_->hide();
    } else {
        tracker_->setGeometry(ToQRect(rect));
        tracker_->raise();
        tracker_->show();
    }
    lastTracker_ = rect;
}

void CSplitterBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Qt keeps delivering the mouse to the widget the button went down on
    // until it is released: that is the capture.
    dragging_ = true;
    drawTracker(trackerRect(event->position().toPoint().y()));
    event->accept();
}

void CSplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        drawTracker(trackerRect(event->position().toPoint().y()));
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CSplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    drawTracker(CRect());
    emit splitterMoved(event->position().toPoint().y());
    event->accept();
}
