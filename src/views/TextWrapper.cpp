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

TextWrapper::TextWrapper(const QFont &font) : font_(font) {}

void TextWrapper::SetFont(const QFont &font)
{
    if (font == font_)
        return;
    font_ = font;
    asciiAdvances_.reset();
    wrapped_.clear();
    for (QHash<QString, int> &widths : widths_)
        widths.clear();
}

int TextWrapper::TextWidth(const QString &text, bool bold) const
{
    // Bounded, as the wrapped texts are.
    constexpr qsizetype kMaxRemembered = 50000;
    QHash<QString, int> &widths = widths_[bold ? 1 : 0];
    if (const auto known = widths.constFind(text); known != widths.constEnd())
        return *known;
    if (widths.size() >= kMaxRemembered)
        widths.clear();
    QFont font = font_;
    if (bold)
        font.setWeight(QFont::Bold);
    const int width = QFontMetrics(font).horizontalAdvance(text);
    widths.insert(text, width);
    return width;
}

QStringList TextWrapper::Wrap(const QString &text, int maxWidth) const
{
    // Bounded, so that texts of long-gone games do not pile up.
    constexpr qsizetype kMaxRemembered = 50000;
    if (maxWidth != wrappedWidth_ || wrapped_.size() >= kMaxRemembered) {
        wrapped_.clear();
        wrappedWidth_ = maxWidth;
    }
    if (const auto known = wrapped_.constFind(text); known != wrapped_.constEnd())
        return *known;
    QStringList lines = WrapMeasured(text, maxWidth);
    wrapped_.insert(text, lines);
    return lines;
}

QStringList TextWrapper::WrapMeasured(const QString &text, int maxWidth) const
{
    const QFontMetrics metrics(font_);
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
            sum += CharAdvance(rest[k]);
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

qreal TextWrapper::CharAdvance(QChar c) const
{
    if (c.unicode() >= 128)
        return QFontMetricsF(font_).horizontalAdvance(c);
    if (!asciiAdvances_) {
        const QFontMetricsF metrics(font_);
        std::array<qreal, 128> advances{};
        for (char16_t code = 32; code < 127; ++code)
            advances[code] = metrics.horizontalAdvance(QChar(code));
        asciiAdvances_ = advances;
    }
    return (*asciiAdvances_)[c.unicode()];
}
