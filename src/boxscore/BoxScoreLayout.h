#pragma once

#include "BoxScorePage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QSizeF>
#include <array>
#include <vector>

class QPaintDevice;
struct BoxScoreContent;
struct BoxScoreTable;

// Sets a box score on paper: pages of texts, rules and shades in the units
// of the device it is drawn on. Every text is measured in the face it is
// drawn in and gets a box at least as wide, so nothing is cut: a column too
// wide for the page wraps its texts at spaces. A table split across pages
// repeats its title and column captions; every page ends in a footer line
// with the page's number.
class BoxScoreLayout
{
public:
    // The blank edge around every page.
    static constexpr qreal kMarginInches = 0.5;

    // Measures in the box score's faces as `device` draws them.
    explicit BoxScoreLayout(QPaintDevice *device);

    // The face `face` is drawn in: the window's metric-matched family at a
    // size for paper.
    const QFont &Font(BoxScoreFace face) const;

    // Where a page of `paper` (device units, the whole sheet) is drawn on:
    // the sheet less its margins.
    QRectF PrintArea(QSizeF paper) const;

    // `content` on pages of `paper`.
    std::vector<BoxScorePage> Lay(const BoxScoreContent &content, QSizeF paper) const;

    // `text` in lines no wider than `width` in `face`: broken at spaces, and
    // inside a word only where the word alone is wider.
    QStringList Wrap(const QString &text, qreal width, BoxScoreFace face) const;

    // The width of `text` in `face`.
    qreal TextWidth(const QString &text, BoxScoreFace face) const;
    // The height of one line of `face`.
    qreal LineHeight(BoxScoreFace face) const;

private:
    qreal dpi_;
    std::array<QFont, 7> fonts_;
    std::vector<QFontMetricsF> metrics_;
};
