#include "app/CLineScoreView.h"

#include "platform/Fonts.h"

#include <QPainter>

CLineScoreView::CLineScoreView(QWidget *parent) : QWidget(parent)
{
    setFont(DialogFont());
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void CLineScoreView::SetRows(std::vector<QStringList> rows, std::vector<int> widths)
{
    if (rows == rows_ && widths == widths_)
        return;
    rows_ = std::move(rows);
    widths_ = std::move(widths);
    update();
}

void CLineScoreView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    painter.setPen(Qt::black);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        painter.setFont(r == 0 ? bold : font());
        const int y = static_cast<int>(r) * kRowHeight;
        int x = 0;
        for (int column = 0; column < rows_[r].size(); ++column) {
            const std::size_t at = static_cast<std::size_t>(column);
            const int width = at < widths_.size() ? widths_[at]
                              : widths_.empty()   ? 24
                                                  : widths_.back();
            const QRect cell(x, y, width, kRowHeight);
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(3, 0, -3, 0),
                             (column == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                             rows_[r][column]);
            x += width;
        }
    }
}
