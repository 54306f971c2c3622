#include "app/CGameStrip.h"

#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr int kGap = 12;
const QColor kProblemColor(192, 0, 0);

// `text` cut with an ellipsis to `width` pixels. Qt lays out the whole text
// to elide it, at about a hundred bytes a character, so a text of a million
// characters (a hostile team id) would take a hundred megabytes for one line.
// Its first `width` + 1 characters overflow the width already unless they are
// of no width (combining marks and the like), so the rest is dropped first.
QString elided(const QFontMetrics &metrics, const QString &text, int width)
{
    return metrics.elidedText(text.left(std::max(width, 0) + 1), Qt::ElideRight, width);
}

} // namespace

CGameStrip::CGameStrip(QWidget *parent) : QWidget(parent)
{
    setFont(DialogFont());
}

void CGameStrip::SetSituation(const QString &text)
{
    if (text == situation_)
        return;
    situation_ = text;
    update();
}

void CGameStrip::SetStatus(const QString &text, bool problem)
{
    if (text == status_ && problem == problem_)
        return;
    status_ = text;
    problem_ = problem;
    update();
}

void CGameStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect area = rect().adjusted(2, 0, -2, 0);
    // A pixel to spare each side: the advance is rounded, the drawn text is not,
    // and the status is the one text never to be cut while there is room.
    const QString status = elided(metrics, status_, area.width());
    const int statusWidth = std::min(metrics.horizontalAdvance(status) + 2, area.width());
    const QRect statusRect(area.right() - statusWidth + 1, area.top(), statusWidth, area.height());
    painter.setPen(problem_ ? kProblemColor : palette().color(QPalette::WindowText));
    painter.drawText(statusRect, Qt::AlignRight | Qt::AlignVCenter,
                     elided(metrics, status, statusWidth));

    const int situationWidth = area.width() - statusWidth - kGap;
    if (situationWidth <= 0)
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(area.left(), area.top(), situationWidth, area.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, elided(metrics, situation_, situationWidth));
}
