#include "BoxScoreWriter.h"

#include "BoxScoreLayout.h"
#include "views/BoxScoreContent.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace
{

// The grey of every other row, light enough to print on any printer.
const QColor kShade(236, 236, 236);

} // namespace

bool BoxScoreWriter::Paint(const BoxScoreContent &content, QPagedPaintDevice &device)
{
    const BoxScoreLayout layout(&device);
    const std::vector<BoxScorePage> pages =
        layout.Lay(content, QSizeF(device.width(), device.height()));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Hair-thin rules: half a point.
    const QPen rule(Qt::black, device.logicalDpiY() / 144.0);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        const BoxScorePage &page = pages[i];
        for (const QRectF &shade : page.shades)
            painter.fillRect(shade, kShade);
        painter.setPen(rule);
        for (const QLineF &line : page.rules)
            painter.drawLine(line);
        painter.setPen(Qt::black);
        for (const BoxScoreText &text : page.texts) {
            painter.setFont(layout.Font(text.face));
            painter.drawText(text.box, text.alignment, text.text);
        }
    }
    return painter.end();
}

bool BoxScoreWriter::WritePdf(const BoxScoreContent &content, BoxScorePaper paper, QIODevice &out)
{
    QPdfWriter writer(&out);
    writer.setPageLayout(QPageLayout(BoxScorePageSize(paper), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(600);
    writer.setTitle(content.title + " - Box Score");
    writer.setCreator(QStringLiteral("Torvell Pylonix Football"));
    return Paint(content, writer);
}

QByteArray BoxScoreWriter::Pdf(const BoxScoreContent &content, BoxScorePaper paper)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WritePdf(content, paper, buffer))
        return {};
    buffer.close();
    return bytes;
}
