#include "drivechart/CDriveChartWnd.h"

#include "platform/ControlIds.h"
#include "platform/Fonts.h"
#include "platform/GdiPainting.h"
#include "platform/QtConversions.h"
#include "views/DriveChartReadout.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrass = RGB(0, 128, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr int kWheelNotch = 120;
constexpr int kWheelRows = 3;

using Field = DriveChartGeometry;

} // namespace

CDriveChartWnd::CDriveChartWnd(QWidget *parent, int id) : QAbstractScrollArea(parent)
{
    SetDlgCtrlID(this, id);
    // The sunken client edge: two pixels on every side.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::ClickFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The scroll bar is never hidden, only disabled while every row fits.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setEnabled(false);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &CDriveChartWnd::onScrollAction);
}

CDriveChartWnd::~CDriveChartWnd() = default;

void CDriveChartWnd::sendReadout(const QString &text)
{
    readout_ = text;
    emit driveTextChanged(readout_);
}

void CDriveChartWnd::SetDrives(CDriveChartData drives)
{
    const bool modeChanged = drives.playsMode() != drives_.playsMode();
    drives_ = std::move(drives);
    if (modeChanged) {
        // The entries of the other mode are other things: the index under
        // the mouse or selected names none of them, and the text box must not
        // keep reading out a drive beside the plays (or a play beside the drives).
        hover_ = -1;
        selected_ = -1;
        UpdateReadout();
    }
    UpdateGeometry();
}

// ---- Operations of the page ----

void CDriveChartWnd::Select(int index)
{
    selected_ = std::clamp(index, -1, std::max(itemCount() - 1, -1));
    UpdateReadout();
}

void CDriveChartWnd::EnsureVisible(int index)
{
    // The visible rows follow the current size and list, which may have
    // changed since the last paint (or there was none yet).
    UpdateGeometry();
    if (index < 0 || index >= itemCount())
        return;
    firstRow_ = geometry_.RowToShow(index);
    UpdateGeometry();
}

void CDriveChartWnd::UpdateReadout()
{
    sendReadout(DriveChartReadout::Text(drives_, hover_, selected_, showTOP_));
}

// ---- Layout ----

void CDriveChartWnd::UpdateGeometry()
{
    // A window that has never been shown (the export's) holds its resize
    // back until it is; the client area is placed by that resize.
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resize(size(), QSize());
        QCoreApplication::sendEvent(this, &resize);
    }
    hover_ = std::min(hover_, itemCount() - 1);
    selected_ = std::min(selected_, itemCount() - 1);
    geometry_ = DriveChartGeometry(drives_, viewport()->size(), firstRow_);
    firstRow_ = geometry_.firstRow();
    updateScrollBar();
}

void CDriveChartWnd::updateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    if (geometry_.scrolling()) {
        // A page of visibleRows over entries 0 .. itemCount - 1.
        bar->setRange(0, std::max(geometry_.itemCount() - geometry_.visibleRows(), 0));
        bar->setPageStep(geometry_.visibleRows());
        bar->setValue(firstRow_);
        bar->setEnabled(true);
    } else {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }
}

// ---- Painting ----

void CDriveChartWnd::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    field_ = QImage();
}

void CDriveChartWnd::rebuildField()
{
    const QSize client = geometry_.client();
    field_ = QImage(client, QImage::Format_RGB32);
    field_.fill(ToQColor(kBlack));
    QPainter painter(&field_);
    const int height = client.height();
    FillSolidRect(painter, geometry_.FieldRect(), kGrass);
    const QPen white(ToQColor(kWhite), 1);
    for (int i = 1; i < Field::fieldYards; ++i) {
        const int x = geometry_.YardToX(i);
        DrawLineTo(painter, white, x, 0, x, Field::tickLength);
        DrawLineTo(painter, white, x, height - Field::tickLength, x, height);
    }
    for (int i = 0; i <= Field::fieldYards; i += 5)
        DrawLineTo(painter, white, geometry_.YardToX(i), 0, geometry_.YardToX(i), height);

    // Each number is split by its yard line: the tens digit to the left, "0"
    // to the right, both with their bottom 10 pixels above the bottom edge.
    const QFont font = SystemFont();
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(ToQColor(kWhite));
    const int baseline = height - Field::tickLength - metrics.descent();
    for (int i = 10; i < Field::fieldYards; i += 10) {
        const QString digit = QString::number(std::min(i, Field::fieldYards - i) / 10);
        const int x = geometry_.YardToX(i);
        painter.drawText(QPoint(x - 1 - metrics.horizontalAdvance(digit), baseline), digit);
        painter.drawText(QPoint(x + 1, baseline), QStringLiteral("0"));
    }
}

void CDriveChartWnd::paintEvent(QPaintEvent *)
{
    // The viewport paints into Qt's backing store, which reaches the screen in
    // one step: that is the off-screen picture, so moving the mouse does not flicker.
    UpdateGeometry();
    if (field_.size() != geometry_.client())
        rebuildField();

    QPainter painter(viewport());
    painter.drawImage(0, 0, field_);
    if (const std::optional<CRect> clip = geometry_.RowClip())
        painter.setClipRect(ToQRect(*clip));
    for (int r = 0; r < geometry_.visibleRows(); ++r) {
        if (geometry_.IsOnScreen(firstRow_ + r))
            drawRow(painter, firstRow_ + r);
    }
    drawTeamNames(painter);
}

void CDriveChartWnd::drawRow(QPainter &painter, int index) const
{
    const DriveRowColors colors =
        DriveChartRowColors(drives_.item(index), index, selected_, hover_);
    if (geometry_.IsBox(index)) {
        // A rectangle: the outline on the edge pixels, the fill inside.
        const CRect r = geometry_.HitRect(index);
        FillSolidRect(painter, r, colors.outline);
        FillSolidRect(painter, CRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1),
                      colors.fill);
        return;
    }
    const std::optional<QPolygon> arrow = geometry_.ArrowPoints(index);
    if (!arrow)
        return;
    QPen pen(ToQColor(colors.outline), 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(ToQColor(colors.fill));
    painter.drawPolygon(*arrow);
}

void CDriveChartWnd::drawTeamNames(QPainter &painter) const
{
    const QFont font = CreatePointFont(QStringLiteral("Tahoma"), 18, 700);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(ToQColor(kWhite));
    auto drawRotated = [&](const QString &name, const QPoint &anchor, qreal angle) {
        painter.save();
        painter.translate(anchor);
        painter.rotate(angle);
        // Centred on the anchor, the baseline through it.
        painter.drawText(QPoint(-metrics.horizontalAdvance(name) / 2, 0), name);
        painter.restore();
    };
    drawRotated(QString::fromStdString(drives_.GetShortName(0)), geometry_.HomeNameAnchor(), -90);
    drawRotated(QString::fromStdString(drives_.GetShortName(1)), geometry_.VisitorNameAnchor(), 90);
}

// ---- Scrolling ----

void CDriveChartWnd::scrollContentsBy(int, int)
{
    // Scrolling is by whole rows through OnVScroll; nothing moves by pixels.
}

void CDriveChartWnd::onScrollAction(int action)
{
    QScrollBar *bar = verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        OnVScroll(DriveChartScroll::LineUp, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnVScroll(DriveChartScroll::LineDown, 0);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnVScroll(DriveChartScroll::PageUp, 0);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnVScroll(DriveChartScroll::PageDown, 0);
        break;
    case QAbstractSlider::SliderToMinimum:
        OnVScroll(DriveChartScroll::Top, 0);
        break;
    case QAbstractSlider::SliderToMaximum:
        OnVScroll(DriveChartScroll::Bottom, 0);
        break;
    case QAbstractSlider::SliderMove:
        OnVScroll(DriveChartScroll::ThumbTrack, bar->sliderPosition());
        break;
    default:
        break;
    }
}

void CDriveChartWnd::OnVScroll(DriveChartScroll code, int position)
{
    firstRow_ = geometry_.ScrollTarget(code, position);
    UpdateGeometry();
    viewport()->update();
}

// ---- Mouse and keys ----

void CDriveChartWnd::TrackHover(int entry)
{
    if (entry == hover_)
        return;
    viewport()->update();
    hover_ = entry;
    UpdateReadout();
}

void CDriveChartWnd::mouseMoveEvent(QMouseEvent *event)
{
    TrackHover(geometry_.HitTest(event->position().toPoint()));
}

void CDriveChartWnd::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        // A click outside every entry clears the selection.
        Select(hover_);
        emit driveRowSelected(selected_);
        viewport()->update();
        setFocus(Qt::MouseFocusReason);
    } else if (event->button() == Qt::RightButton) {
        if (drives_.playsMode())
            emit driveListRequested();
    }
    event->accept();
}

void CDriveChartWnd::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button is the chart's own (back to the drives): the window's
    // menu does not open over it.
    event->accept();
}

void CDriveChartWnd::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !drives_.playsMode() && hover_ >= 0 &&
        hover_ < itemCount())
        emit drivePlaysRequested(drives_.item(hover_).driveIndex);
    event->accept();
}

void CDriveChartWnd::wheelEvent(QWheelEvent *event)
{
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= kWheelNotch) {
        wheelRemainder_ -= kWheelNotch;
        OnVScroll(DriveChartScroll::ThumbPosition, firstRow_ - kWheelRows);
    }
    while (wheelRemainder_ <= -kWheelNotch) {
        wheelRemainder_ += kWheelNotch;
        OnVScroll(DriveChartScroll::ThumbPosition, firstRow_ + kWheelRows);
    }
    TrackHover(geometry_.HitTest(event->position().toPoint()));
    viewport()->update();
    event->accept();
}

void CDriveChartWnd::keyPressEvent(QKeyEvent *event)
{
    std::optional<int> next;
    switch (event->key()) {
    case Qt::Key_Up:
        next = selected_ - 1;
        break;
    case Qt::Key_Down:
        next = selected_ + 1;
        break;
    case Qt::Key_PageUp:
        next = selected_ - geometry_.visibleRows();
        break;
    case Qt::Key_PageDown:
        next = selected_ + geometry_.visibleRows();
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = itemCount() - 1;
        break;
    default:
        break;
    }
    if (next) {
        Select(std::max(*next, 0));
        EnsureVisible(selected_);
        UpdateReadout();
        viewport()->update();
        emit driveRowSelected(selected_);
    }
    // Every key goes on to the parent as well: the view does not swallow it.
    QWidget::keyPressEvent(event);
}
