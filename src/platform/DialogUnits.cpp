#include "platform/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

namespace
{

// units * base / divisor, rounded half away from zero.
int scaled(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

} // namespace

QSize DialogBaseUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    // The average over the 52 letters, rounded, as the system computes it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect MapDialogRect(const QRect &units)
{
    const QSize base = kClassicDialogBaseUnits;
    // Each edge is converted on its own, so that controls that touch in dialog
    // units touch in pixels too.
    const int left = scaled(units.x(), base.width(), 4);
    const int top = scaled(units.y(), base.height(), 8);
    const int right = scaled(units.x() + units.width(), base.width(), 4);
    const int bottom = scaled(units.y() + units.height(), base.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}
