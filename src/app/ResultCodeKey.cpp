#include "app/ResultCodeKey.h"

#include "platform/Colors.h"
#include "platform/QtConversions.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <array>

namespace
{

struct CodeMeaning {
    const char *code;
    const char *meaning;
};

// First downs (upper case) on the left, the plain plays on the right.
constexpr std::array<CodeMeaning, 3> kFirstDowns{{
    {"R", "first down by rush"},
    {"P", "first down by pass"},
    {"X", "first down, other"},
}};
constexpr std::array<CodeMeaning, 2> kPlays{{
    {"r", "rush"},
    {"p", "pass"},
}};

constexpr int kPadding = 3;
constexpr int kColumnGap = 10;

} // namespace

void PaintResultCodeKey(QPainter &painter, QPoint topLeft, int bottomLimit, const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(font);
    const QFontMetrics boldMetrics(bold);
    const int line = metrics.lineSpacing();
    int codeWidth = 0;
    const auto widest = [&](const auto &entries) {
        int width = 0;
        for (const CodeMeaning &entry : entries) {
            codeWidth = std::max(codeWidth, boldMetrics.horizontalAdvance(entry.code));
            width = std::max(width, metrics.horizontalAdvance(entry.meaning));
        }
        return width;
    };
    const int firstWidth = widest(kFirstDowns);
    const int secondWidth = widest(kPlays);
    const int entryIndent = codeWidth + metrics.horizontalAdvance(QLatin1Char(' '));
    const int width = 2 * kPadding + 2 * entryIndent + firstWidth + kColumnGap + secondWidth;
    const int height = 2 * kPadding + static_cast<int>(kFirstDowns.size()) * line;
    topLeft.setY(std::max(0, std::min(topLeft.y(), bottomLimit - height)));

    painter.save();
    const QRect box(topLeft, QSize(width, height));
    painter.fillRect(box, Qt::white);
    painter.setPen(ToQColor(RGB(0, 0, 0)));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const auto drawColumn = [&](const auto &entries, int left) {
        int baseline = box.top() + kPadding + metrics.ascent();
        for (const CodeMeaning &entry : entries) {
            painter.setFont(bold);
            painter.drawText(QPoint(left, baseline), QString::fromLatin1(entry.code));
            painter.setFont(font);
            painter.drawText(QPoint(left + entryIndent, baseline),
                             QString::fromLatin1(entry.meaning));
            baseline += line;
        }
    };
    drawColumn(kFirstDowns, box.left() + kPadding);
    drawColumn(kPlays, box.left() + kPadding + entryIndent + firstWidth + kColumnGap);
    painter.restore();
}
