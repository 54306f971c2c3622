#include "platform/ToolTips.h"

#include <QTextDocument>
#include <QToolTip>

void ShowPlainToolTip(const QPoint &globalPos, const QString &text, QWidget *widget,
                      const QRect &rect)
{
    // QToolTip renders anything that looks like markup as rich text; such a
    // text is escaped so that it shows character for character.
    const QString shown =
        Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
    QToolTip::showText(globalPos, shown, widget, rect);
}
