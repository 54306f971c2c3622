#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// Shows a tooltip with the text exactly as it stands, as the window system's
// tooltips do: a text that looks like markup is not interpreted. The tooltip
// belongs to `widget` and hides once the mouse leaves `rect` (widget coordinates).
void ShowPlainToolTip(const QPoint &globalPos, const QString &text, QWidget *widget,
                      const QRect &rect);
