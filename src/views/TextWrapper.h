#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Breaks texts into lines no wider than a width in one font, remembering its
// earlier answers: a live game refills its play-by-play on every reload, and
// all but the newest plays wrap as they did the last time. Measures texts in
// that font the same way, for the tables fitted on every reload.
class TextWrapper
{
public:
    explicit TextWrapper(const QFont &font = QFont());

    const QFont &Font() const { return font_; }
    // Measures in `font` from now on; earlier answers are forgotten when it differs.
    void SetFont(const QFont &font);

    // `text` in lines no wider than `maxWidth` pixels, cut at the last space
    // that fits (or inside a word without one); at most seven lines, the last
    // of which may still be too wide. Time grows linearly with the text.
    QStringList Wrap(const QString &text, int maxWidth) const;

    // The width of `text` in the font, or in its bold weight when `bold`, as
    // QFontMetrics::horizontalAdvance gives it; earlier answers are remembered.
    int TextWidth(const QString &text, bool bold) const;

private:
    // Wrap without the memory of earlier answers.
    QStringList WrapMeasured(const QString &text, int maxWidth) const;
    // The advance of one character, from a table kept for the printable
    // ASCII characters.
    qreal CharAdvance(QChar c) const;

    QFont font_;
    mutable std::optional<std::array<qreal, 128>> asciiAdvances_;
    // Earlier answers for one width in the current font.
    mutable QHash<QString, QStringList> wrapped_;
    mutable int wrappedWidth_ = -1;
    // Earlier widths in the current font: regular, then bold.
    mutable std::array<QHash<QString, int>, 2> widths_;
};
