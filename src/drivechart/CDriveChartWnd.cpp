#include "drivechart/CDriveChartWnd.h"

#include "gamedata/CDriveChartData.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"
#include "platform/GdiPainting.h"
#include "platform/Messages.h"
#include "platform/QtConversions.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrass = RGB(0, 128, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSelectedFill = RGB(0, 0, 128);
constexpr COLORREF kSelectedOutline = RGB(128, 128, 255);
constexpr COLORREF kHoverOutline = RGB(255, 255, 0);

constexpr int kWheelNotch = 120;
constexpr int kWheelRows = 3;
constexpr int kTickLength = 10;
// The row area leaves 20 pixels above the rows and 30 below them for the numbers.
constexpr int kRowAreaMargin = 50;
constexpr int kClipBottom = 29;

QString fromItemText(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

CDriveChartWnd::CDriveChartWnd(QWidget *parent, int id) : QAbstractScrollArea(parent)
{
    SetDlgCtrlID(this, id);
    setFrameStyle(QFrame::NoFrame);
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

QObject *CDriveChartWnd::notifyTarget() const
{
    return notifyTarget_ ? notifyTarget_ : window();
}

void CDriveChartWnd::sendReadout(const QString &text)
{
    readout_ = text;
    readoutUtf8_ = text.toUtf8();
    SendMessage(notifyTarget(), UM_SETDRIVETEXT,
                reinterpret_cast<WPARAM>(readoutUtf8_.constData()));
}

// ---- Operations of the main window ----

void CDriveChartWnd::Select(int index)
{
    index = std::clamp(index, -1, std::max(itemCount_ - 1, -1));
    if (data_)
        data_->SetSelected(index);
    selected_ = index;
    UpdateReadout();
}

void CDriveChartWnd::EnsureVisible(int index)
{
    // The visible rows follow the current size and list, which may have
    // changed since the last paint (or there was none yet).
    UpdateGeometry();
    if (index < 0 || index >= itemCount_)
        return;
    if (index < firstRow_)
        firstRow_ = index;
    if (index >= firstRow_ + visibleRows_)
        firstRow_ = index - visibleRows_ + 1;
    LayoutRows();
}

void CDriveChartWnd::UpdateReadout()
{
    if (hover_ > -1)
        sendReadout(QStringLiteral("Pointing at:\r\n") + Describe(hover_));
    else if (selected_ > -1)
        sendReadout(QStringLiteral("Selected:\r\n") + Describe(selected_));
    else
        sendReadout(QString());
}

QString CDriveChartWnd::Describe(int index) const
{
    // The list may have been rebuilt shorter since itemCount was refreshed.
    if (!data_ || index < 0 || index >= itemCount_ || index >= data_->count())
        return QString();
    const CChartItem &e = data_->item(index);
    if (data_->playsMode()) {
        return QStringLiteral("Qtr: %1, Down: %2, Spot: %3, Time: %4\r\n%5")
            .arg(fromItemText(e.startQtr), fromItemText(e.top), fromItemText(e.startSpot),
                 fromItemText(e.startTime), fromItemText(e.startHow));
    }
    const QString possession =
        showTOP_ ? QStringLiteral(", TOP %1").arg(fromItemText(e.top)) : QString();
    return QStringLiteral("%1 drive: %2 plays, %3 yards%4\r\n"
                          "Started by %5 on %6 at %7 in quarter %8\r\n"
                          "Ended by %9 on %10 at %11 in quarter %12")
        .arg(fromItemText(data_->GetShortName(e.team)), fromItemText(e.plays),
             fromItemText(e.yards), possession, fromItemText(e.startHow), fromItemText(e.startSpot),
             fromItemText(e.startTime), fromItemText(e.startQtr), fromItemText(e.endHow))
        .arg(fromItemText(e.endSpot), fromItemText(e.endTime), fromItemText(e.endQtr));
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
    itemCount_ = data_ ? data_->count() : 0;
    hover_ = std::min(hover_, itemCount_ - 1);
    selected_ = std::min(selected_, itemCount_ - 1);

    const QSize client = viewport()->size();
    pixelsPerYard_ = std::max(client.width() / totalYards, 2);
    leftMargin_ = (client.width() - totalYards * pixelsPerYard_) / 2;
    rowArea_ = std::max(client.height() - kRowAreaMargin, 0);
    if (rowArea_ < rowPitch * itemCount_ - rowGap_) {
        scrolling_ = true;
        visibleRows_ = (rowArea_ + 3) / rowPitch;
        if (firstRow_ > itemCount_ - visibleRows_)
            firstRow_ = itemCount_ - visibleRows_;
    } else {
        scrolling_ = false;
        firstRow_ = 0;
        visibleRows_ = itemCount_;
    }
    topMargin_ = 20;
    rowGap_ = 3;
    updateScrollBar();
}

void CDriveChartWnd::updateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    if (scrolling_) {
        // A page of visibleRows over entries 0 .. itemCount - 1.
        bar->setRange(0, std::max(itemCount_ - visibleRows_, 0));
        bar->setPageStep(visibleRows_);
        bar->setValue(firstRow_);
        bar->setEnabled(true);
    } else {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }
}

void CDriveChartWnd::LayoutRows()
{
    itemCount_ = data_ ? data_->count() : 0;
    if (data_)
        data_->ClearHitRects();
    for (int r = 0; r < visibleRows_; ++r) {
        const int k = firstRow_ + r;
        if (k < 0 || k >= itemCount_)
            continue;
        const CChartItem &e = data_->item(k);
        const int top = topMargin_ + r * (rowGap_ + 6);
        data_->SetHitRect(k,
                          CRect(YardToX(e.lowYard), top, YardToX(e.highYard) + 1, top + rowHeight));
    }
}

int CDriveChartWnd::HitTest(const QPoint &point)
{
    itemCount_ = data_ ? data_->count() : 0;
    for (int k = itemCount_ - 1; k >= 0; --k) {
        if (data_->item(k).hitRect.PtInRect(FromQPoint(point)))
            return k;
    }
    return -1;
}

bool CDriveChartWnd::IsOnScreen(int index) const
{
    const int row = index - firstRow_;
    return data_ && index >= 0 && index < data_->count() && index < itemCount_ && row >= 0 &&
           row < visibleRows_;
}

std::optional<QPolygon> CDriveChartWnd::ArrowPoints(int index) const
{
    if (!IsOnScreen(index))
        return std::nullopt;
    const CChartItem &e = data_->item(index);
    if (e.lostGround)
        return std::nullopt;
    const CRect &r = e.hitRect;
    const int bottom = r.bottom - 1;
    const int middle = (r.top + bottom) / 2;
    if (!e.reversed) {
        const int head = std::max(r.right - 6, r.left);
        return QPolygon({QPoint(r.left, r.top), QPoint(head, r.top), QPoint(r.right - 1, middle),
                         QPoint(head, bottom), QPoint(r.left, bottom)});
    }
    const int head = std::min(r.left + 5, r.right - 1);
    return QPolygon({QPoint(r.right - 1, r.top), QPoint(head, r.top), QPoint(r.left, middle),
                     QPoint(head, bottom), QPoint(r.right - 1, bottom)});
}

// ---- Painting ----

void CDriveChartWnd::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    field_ = QImage();
}

void CDriveChartWnd::rebuildField(const QSize &client)
{
    field_ = QImage(client, QImage::Format_RGB32);
    field_.fill(ToQColor(kBlack));
    QPainter painter(&field_);
    const int height = client.height();
    FillSolidRect(painter, CRect(leftMargin_, 0, leftMargin_ + totalYards * pixelsPerYard_, height),
                  kGrass);
    const QPen white(ToQColor(kWhite), 1);
    for (int i = 1; i < fieldYards; ++i) {
        const int x = YardToX(i);
        DrawLineTo(painter, white, x, 0, x, kTickLength);
        DrawLineTo(painter, white, x, height - kTickLength, x, height);
    }
    for (int i = 0; i <= fieldYards; i += 5)
        DrawLineTo(painter, white, YardToX(i), 0, YardToX(i), height);

    // Each number is split by its yard line: the tens digit to the left, "0"
    // to the right, both with their bottom 10 pixels above the bottom edge.
    const QFont font = SystemFont();
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(ToQColor(kWhite));
    const int baseline = height - kTickLength - metrics.descent();
    for (int i = 10; i < fieldYards; i += 10) {
        const QString digit = QString::number(std::min(i, fieldYards - i) / 10);
        const int x = YardToX(i);
        painter.drawText(QPoint(x - 1 - metrics.horizontalAdvance(digit), baseline), digit);
        painter.drawText(QPoint(x + 1, baseline), QStringLiteral("0"));
    }
}

void CDriveChartWnd::paintEvent(QPaintEvent *)
{
    // The viewport paints into Qt's backing store, which reaches the screen in
    // one step: that is the off-screen picture, so moving the mouse does not flicker.
    const QSize client = viewport()->size();
    UpdateGeometry();
    if (field_.size() != client)
        rebuildField(client);

    QPainter painter(viewport());
    painter.drawImage(0, 0, field_);
    if (scrolling_)
        painter.setClipRect(ToQRect(CRect(0, 20, client.width(), client.height() - kClipBottom)));
    LayoutRows();
    for (int r = 0; r < visibleRows_; ++r) {
        if (firstRow_ + r >= 0 && firstRow_ + r < itemCount_)
            drawRow(painter, firstRow_ + r);
    }
    drawTeamNames(painter, client);
}

void CDriveChartWnd::drawRow(QPainter &painter, int index) const
{
    const CChartItem &e = data_->item(index);
    COLORREF fill = e.fillColor;
    COLORREF outline = e.outlineColor;
    if (index == selected_) {
        fill = kSelectedFill;
        outline = kSelectedOutline;
    }
    if (index == hover_)
        outline = kHoverOutline;

    const CRect &r = e.hitRect;
    if (e.lostGround) {
        // A rectangle: the outline on the edge pixels, the fill inside.
        FillSolidRect(painter, r, outline);
        FillSolidRect(painter, CRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), fill);
        return;
    }
    const std::optional<QPolygon> arrow = ArrowPoints(index);
    if (!arrow)
        return;
    QPen pen(ToQColor(outline), 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(ToQColor(fill));
    painter.drawPolygon(*arrow);
}

void CDriveChartWnd::drawTeamNames(QPainter &painter, const QSize &client) const
{
    if (!data_)
        return;
    // One third as the single-precision value, truncated as the classic code did.
    const float third = 0.33333334f;
    const int homeX =
        leftMargin_ + static_cast<int>(2.0f * endZoneYards * third * float(pixelsPerYard_));
    const int visitorX = leftMargin_ + static_cast<int>((4.0f * endZoneYards * third + fieldYards) *
                                                        float(pixelsPerYard_));
    const int y = client.height() / 2;

    const QFont font = CreatePointFont(QStringLiteral("Tahoma"), 18, 700);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(ToQColor(kWhite));
    auto drawRotated = [&](const QString &name, int x, qreal angle) {
        painter.save();
        painter.translate(x, y);
        painter.rotate(angle);
        // Centred on the anchor, the baseline through it.
        painter.drawText(QPoint(-metrics.horizontalAdvance(name) / 2, 0), name);
        painter.restore();
    };
    drawRotated(fromItemText(data_->GetShortName(0)), homeX, -90);
    drawRotated(fromItemText(data_->GetShortName(1)), visitorX, 90);
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
        OnVScroll(SB_LINEUP, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnVScroll(SB_LINEDOWN, 0);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnVScroll(SB_PAGEUP, 0);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnVScroll(SB_PAGEDOWN, 0);
        break;
    case QAbstractSlider::SliderToMinimum:
        OnVScroll(SB_TOP, 0);
        break;
    case QAbstractSlider::SliderToMaximum:
        OnVScroll(SB_BOTTOM, 0);
        break;
    case QAbstractSlider::SliderMove:
        OnVScroll(SB_THUMBTRACK, bar->sliderPosition());
        break;
    default:
        break;
    }
}

void CDriveChartWnd::OnVScroll(ScrollCode code, int position)
{
    int row = firstRow_;
    switch (code) {
    case SB_LINEUP:
        row = firstRow_ - 1;
        break;
    case SB_LINEDOWN:
        row = firstRow_ + 1;
        break;
    case SB_PAGEUP:
        row = firstRow_ - visibleRows_;
        break;
    case SB_PAGEDOWN:
        row = firstRow_ + visibleRows_;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        row = position;
        break;
    case SB_TOP:
        row = 0;
        break;
    case SB_BOTTOM:
        row = itemCount_ - visibleRows_;
        break;
    case SB_ENDSCROLL:
        break;
    }
    if (row < 0)
        row = 0;
    if (row > itemCount_ - visibleRows_)
        row = itemCount_ - visibleRows_;
    firstRow_ = row;
    viewport()->update();
}

// ---- Mouse and keys ----

void CDriveChartWnd::TrackHover(int entry)
{
    if (entry == hover_)
        return;
    viewport()->update();
    if (entry != -1)
        sendReadout(QStringLiteral("Pointing at:\r\n") + Describe(entry));
    else if (selected_ > -1)
        sendReadout(QStringLiteral("Selected:\r\n") + Describe(selected_));
    else
        sendReadout(QString());
    hover_ = entry;
}

void CDriveChartWnd::mouseMoveEvent(QMouseEvent *event)
{
    TrackHover(HitTest(event->position().toPoint()));
}

void CDriveChartWnd::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        // A click outside every entry clears the selection.
        Select(hover_);
        SendMessage(notifyTarget(), UM_SELECTDRIVEROW, selected_);
        viewport()->update();
        setFocus(Qt::MouseFocusReason);
    } else if (event->button() == Qt::RightButton) {
        if (data_ && data_->playsMode())
            SendMessage(notifyTarget(), UM_SHOWDRIVELIST, 0);
    }
    event->accept();
}

void CDriveChartWnd::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && data_ && !data_->playsMode() && hover_ >= 0 &&
        hover_ < itemCount_ && hover_ < data_->count())
        SendMessage(notifyTarget(), UM_SHOWDRIVEPLAYS, data_->item(hover_).driveIndex);
    event->accept();
}

void CDriveChartWnd::wheelEvent(QWheelEvent *event)
{
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= kWheelNotch) {
        wheelRemainder_ -= kWheelNotch;
        OnVScroll(SB_THUMBPOSITION, firstRow_ - kWheelRows);
    }
    while (wheelRemainder_ <= -kWheelNotch) {
        wheelRemainder_ += kWheelNotch;
        OnVScroll(SB_THUMBPOSITION, firstRow_ + kWheelRows);
    }
    LayoutRows();
    TrackHover(HitTest(event->position().toPoint()));
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
        next = selected_ - visibleRows_;
        break;
    case Qt::Key_PageDown:
        next = selected_ + visibleRows_;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = itemCount_ - 1;
        break;
    default:
        break;
    }
    if (next) {
        Select(std::max(*next, 0));
        EnsureVisible(selected_);
        UpdateReadout();
        viewport()->update();
        SendMessage(notifyTarget(), UM_SELECTDRIVEROW, selected_);
    }
    // Every key goes on to the parent as well: the view does not swallow it.
    QWidget::keyPressEvent(event);
}
