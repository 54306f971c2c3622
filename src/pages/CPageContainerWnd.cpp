#include "CPageContainerWnd.h"

#include "platform/ControlIds.h"
#include "platform/GdiPainting.h"
#include "platform/NotifyEvent.h"
#include "platform/QtConversions.h"
#include "platform/SystemMetrics.h"

#include <QChildEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace
{

// The scroll code of a scroll bar action.
int codeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
        return SB_THUMBTRACK;
    default:
        return SB_ENDSCROLL;
    }
}

} // namespace

CPageContainerWnd::CPageContainerWnd(QWidget *parent, int id) : QFrame(parent)
{
    SetDlgCtrlID(this, id);
    // The sunken client edge: two pixels on every side.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    corner_ = new QWidget(this);
    corner_->setAutoFillBackground(true);
    QPalette face = corner_->palette();
    face.setColor(QPalette::Window, ToQColor(GetSysColor(COLOR_BTNFACE)));
    corner_->setPalette(face);
    corner_->hide();
    horzBar_ = new QScrollBar(Qt::Horizontal, this);
    vertBar_ = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar *bar : {horzBar_, vertBar_}) {
        bar->hide();
        bar->setSingleStep(kLineStep);
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
            const int code = codeOf(action);
            if (bar == horzBar_)
                OnHScroll(code, bar->sliderPosition());
            else
                OnVScroll(code, bar->sliderPosition());
            // The bar shows the position the container chose, not its own.
            bar->setSliderPosition(bar == horzBar_ ? horzPosition_ : vertPosition_);
        });
    }
}

void CPageContainerWnd::SetContentSize(int width, int height)
{
    contentWidth_ = width;
    contentHeight_ = height;
    UpdateBars();
}

void CPageContainerWnd::SetPageSize(int width, int height)
{
    pageWidth_ = width;
    pageHeight_ = height;
    UpdateBars();
}

int CPageContainerWnd::Scrolled(int code, int thumb, int position, int page, int content)
{
    switch (code) {
    case SB_LINEUP:
        position -= kLineStep;
        break;
    case SB_LINEDOWN:
        position += kLineStep;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = thumb;
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = content - page;
        break;
    default:
        break;
    }
    return std::max(0, std::min(position, content - page));
}

void CPageContainerWnd::OnHScroll(int code, int thumb)
{
    horzPosition_ = Scrolled(code, thumb, horzPosition_, pageWidth_, contentWidth_);
    const QSignalBlocker blocker(horzBar_);
    horzBar_->setValue(horzPosition_);
    emit scrolled(Qt::Horizontal);
}

void CPageContainerWnd::OnVScroll(int code, int thumb)
{
    vertPosition_ = Scrolled(code, thumb, vertPosition_, pageHeight_, contentHeight_);
    const QSignalBlocker blocker(vertBar_);
    vertBar_->setValue(vertPosition_);
    emit scrolled(Qt::Vertical);
}

void CPageContainerWnd::SetBackgroundColor(COLORREF colour)
{
    if (background_ == colour)
        return;
    background_ = colour;
    update();
}

QPoint CPageContainerWnd::ClientOrigin()
{
    return {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)};
}

void CPageContainerWnd::Place(QWidget &child, const QRect &clientRect)
{
    child.setGeometry(clientRect.translated(ClientOrigin()));
}

QSize CPageContainerWnd::ClientSize() const
{
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    const QPoint edge = ClientOrigin();
    return {std::max(0, width() - 2 * edge.x() - (vertBar_->isHidden() ? 0 : bar)),
            std::max(0, height() - 2 * edge.y() - (horzBar_->isHidden() ? 0 : bar))};
}

void CPageContainerWnd::UpdateBars()
{
    horzPosition_ = std::max(0, std::min(horzPosition_, contentWidth_ - pageWidth_));
    vertPosition_ = std::max(0, std::min(vertPosition_, contentHeight_ - pageHeight_));
    const bool hadHorz = !horzBar_->isHidden();
    const bool hadVert = !vertBar_->isHidden();
    auto setBar = [](QScrollBar *bar, int content, int page, int position) {
        const QSignalBlocker blocker(bar);
        bar->setRange(0, std::max(0, content - page));
        bar->setPageStep(std::max(1, page));
        bar->setValue(position);
        // A bar whose page covers its whole range is not shown.
        bar->setVisible(page < content);
    };
    setBar(horzBar_, contentWidth_, pageWidth_, horzPosition_);
    setBar(vertBar_, contentHeight_, pageHeight_, vertPosition_);
    PlaceBars();
    // A bar that came or went changes the client area, as a resize does.
    if (!updating_ && (hadHorz != !horzBar_->isHidden() || hadVert != !vertBar_->isHidden())) {
        updating_ = true;
        const QSize client = ClientSize();
        SetPageSize(client.width(), client.height());
        updating_ = false;
    }
}

void CPageContainerWnd::PlaceBars()
{
    const QSize client = ClientSize();
    const QPoint edge = ClientOrigin();
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    horzBar_->setGeometry(edge.x(), edge.y() + client.height(), client.width(), bar);
    vertBar_->setGeometry(edge.x() + client.width(), edge.y(), bar, client.height());
    // Raised only when out of order: a widget raised anew is repainted.
    const QObjectList &siblings = children();
    const qsizetype count = siblings.size();
    if (count < 3 || siblings[count - 3] != horzBar_ || siblings[count - 2] != vertBar_ ||
        siblings[count - 1] != corner_) {
        horzBar_->raise();
        vertBar_->raise();
        corner_->raise();
    }
    // Without it the tables under the corner would show through between the bars.
    corner_->setGeometry(edge.x() + client.width(), edge.y() + client.height(), bar, bar);
    corner_->setVisible(!horzBar_->isHidden() && !vertBar_->isHidden());
}

void CPageContainerWnd::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    PlaceBars();
    const QSize client = ClientSize();
    SetPageSize(client.width(), client.height());
}

void CPageContainerWnd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect client = contentsRect();
    FillSolidRect(painter,
                  CRect(client.left(), client.top(), client.right() + 1, client.bottom() + 1),
                  background_);
    drawFrame(&painter);
}

bool CPageContainerWnd::event(QEvent *event)
{
    if (event->type() == CNotifyEvent::EventType()) {
        SendNotify(parentWidget(), *static_cast<CNotifyEvent *>(event));
        static_cast<CNotifyEvent *>(event)->SetHandled();
        return true;
    }
    return QFrame::event(event);
}

void CPageContainerWnd::childEvent(QChildEvent *event)
{
    QFrame::childEvent(event);
    // The page titles and the overview text sit on the window colour.
    if (event->type() != QEvent::ChildPolished)
        return;
    auto *child = qobject_cast<QWidget *>(event->child());
    if (child && GetDlgCtrlID(child) == IDC_STATIC_TEXT) {
        QPalette palette = child->palette();
        palette.setColor(QPalette::Window, ToQColor(GetSysColor(COLOR_WINDOW)));
        child->setPalette(palette);
        child->setAutoFillBackground(true);
    }
}
