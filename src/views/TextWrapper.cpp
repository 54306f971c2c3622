#include "TextWrapper.h"

#include <QFontMetrics>
#include <algorithm>

namespace
{

bool isWhiteSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QString trimmedEnd(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && isWhiteSpace(text[end - 1]))
        --end;
    text.truncate(end);
    return text;
}

QString trimmedStart(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && isWhiteSpace(text[start]))
        ++start;
    return text.mid(start);
}

} // namespace

TextWrapper::TextWrapper(const QFont &font) : font_(font)
{
    ResetFaces();
}

void TextWrapper::SetFont(const QFont &font)
{
    if (font == font_)
        return;
    font_ = font;
    ResetFaces();
}

void TextWrapper::ResetFaces()
{
    QFont bold = font_;
    bold.setWeight(QFont::Bold);
    faces_[0] = Measured{font_, std::nullopt, {}, -1, {}};
    faces_[1] = Measured{bold, std::nullopt, {}, -1, {}};
}

int TextWrapper::TextWidth(const QString &text, bool bold) const
{
    const Measured &measured = faces_[bold ? 1 : 0];
    // Bounded, as the wrapped texts are.
    constexpr qsizetype kMaxRemembered = 50000;
    if (const auto known = measured.widths.constFind(text); known != measured.widths.constEnd())
        return *known;
    if (measured.widths.size() >= kMaxRemembered)
        measured.widths.clear();
    const int width = QFontMetrics(measured.font).horizontalAdvance(text);
    measured.widths.insert(text, width);
    return width;
}

QStringList TextWrapper::Wrap(const QString &text, int maxWidth, Face face) const
{
    const Measured &measured = faces_[face == Face::Bold ? 1 : 0];
    // Bounded, so that texts of long-gone games do not pile up.
    constexpr qsizetype kMaxRemembered = 50000;
    if (maxWidth != measured.wrappedWidth || measured.wrapped.size() >= kMaxRemembered) {
        measured.wrapped.clear();
        measured.wrappedWidth = maxWidth;
    }
    if (const auto known = measured.wrapped.constFind(text); known != measured.wrapped.constEnd())
        return *known;
    QStringList lines = WrapMeasured(measured, text, maxWidth);
    measured.wrapped.insert(text, lines);
    return lines;
}

QStringList TextWrapper::WrapMeasured(const Measured &face, const QString &text, int maxWidth)
{
    const QFontMetrics metrics(face.font);
    auto width = [&metrics](const QString &s, qsizetype length) {
        return metrics.horizontalAdvance(s.left(length));
    };
    QStringList lines;
    QString rest = trimmedStart(trimmedEnd(text));
    while (lines.size() <= 5) {
        // The first i for which i + 2 characters no longer fit. Widths grow
        // with the length; measuring a prefix shapes it anew, so the search
        // starts where the summed character advances cross the width (kerning
        // aside, the answer) and widens only as far as the measurements need.
        const qsizetype size = rest.size();
        auto tooWide = [&](qsizetype length) {
            return length >= size || width(rest, length) > maxWidth;
        };
        qsizetype guess = size;
        qreal sum = 0;
        for (qsizetype k = 0; k < size; ++k) {
            sum += CharAdvance(face, rest[k]);
            if (sum > maxWidth) {
                guess = k + 1;
                break;
            }
        }
        guess = std::max<qsizetype>(guess, 2);
        // A prefix too wide makes the whole rest too wide; only otherwise is
        // the whole measured.
        const bool guessTooWide = guess < size && width(rest, guess) > maxWidth;
        if (!guessTooWide && width(rest, size) <= maxWidth)
            break;
        // fits < length <= wide: prefixes of `fits` characters fit (or fewer
        // than two are never measured), the one of `wide` characters does not.
        qsizetype fits = 1;
        qsizetype wide = size;
        qsizetype step = 1;
        if (guessTooWide || guess >= size) {
            wide = guess;
            while (wide - step > fits) {
                if (!tooWide(wide - step)) {
                    fits = wide - step;
                    break;
                }
                wide -= step;
                step *= 2;
            }
        } else {
            fits = guess;
            while (fits + step < wide) {
                if (tooWide(fits + step)) {
                    wide = fits + step;
                    break;
                }
                fits += step;
                step *= 2;
            }
        }
        while (wide - fits > 1) {
            const qsizetype mid = fits + (wide - fits) / 2;
            if (tooWide(mid))
                wide = mid;
            else
                fits = mid;
        }
        const qsizetype low = wide - 2;
        const qsizetype cut = low + 1;
        const qsizetype lastSpace = rest.left(low + 1).lastIndexOf(u' ');
        QString line;
        if (lastSpace <= 0) {
            line = rest.left(cut);
            rest = rest.mid(cut);
        } else {
            line = rest.left(lastSpace);
            rest = rest.mid(lastSpace);
        }
        lines.append(trimmedEnd(line));
        rest = trimmedStart(rest);
    }
    lines.append(rest);
    return lines;
}

qreal TextWrapper::CharAdvance(const Measured &face, QChar c)
{
    if (c.unicode() >= 128)
        return QFontMetricsF(face.font).horizontalAdvance(c);
    if (!face.asciiAdvances) {
        const QFontMetricsF metrics(face.font);
        std::array<qreal, 128> advances{};
        for (char16_t code = 32; code < 127; ++code)
            advances[code] = metrics.horizontalAdvance(QChar(code));
        face.asciiAdvances = advances;
    }
    return (*face.asciiAdvances)[c.unicode()];
}
