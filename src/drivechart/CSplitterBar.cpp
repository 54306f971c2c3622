#include "drivechart/CSplitterBar.h"

#include "platform/Colors.h"
#include "platform/ControlIds.h"
#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr int kTrackerHalfHeight = 2;
// The grip: this many dots, this far apart, centred on the bar.
constexpr int kGripDots = 9;
constexpr int kGripPitch = 4;

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

void CSplitterBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    FillSolidRect(painter, CRect(0, 0, w, h), GetSysColor(COLOR_BTNFACE));
    if (h < 2)
        return;
    // Raised: light along the top, shadow along the bottom.
    FillSolidRect(painter, CRect(0, 0, w, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    FillSolidRect(painter, CRect(0, h - 1, w, h), GetSysColor(COLOR_BTNSHADOW));
    // Each dot: a dark pixel pair with a light one beside it, as if pressed in.
    const int gripLeft = (w - (kGripDots - 1) * kGripPitch) / 2;
    const int dotTop = std::max(0, h / 2 - 1);
    for (int i = 0; i < kGripDots; ++i) {
        const int x = gripLeft + i * kGripPitch;
        FillSolidRect(painter, CRect(x, dotTop, x + 2, std::min(dotTop + 2, h)),
                      GetSysColor(COLOR_BTNTEXT));
    }
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
