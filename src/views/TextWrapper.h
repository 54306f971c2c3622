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
    // The weight a text is drawn in: bold texts take more room.
    enum class Face { Regular, Bold };

    explicit TextWrapper(const QFont &font = QFont());

    const QFont &Font() const { return font_; }
    // Measures in `font` from now on; earlier answers are forgotten when it differs.
    void SetFont(const QFont &font);

    // `text` in lines no wider than `maxWidth` pixels when drawn in `face`,
    // cut at the last space that fits (or inside a word without one); at most
    // seven lines, the last of which may still be too wide. Time grows
    // linearly with the text.
    QStringList Wrap(const QString &text, int maxWidth, Face face = Face::Regular) const;

    // The width of `text` in the font, or in its bold weight when `bold`, as
    // QFontMetrics::horizontalAdvance gives it; earlier answers are remembered.
    int TextWidth(const QString &text, bool bold) const;

private:
    // What one face measures with, and its earlier answers for one width.
    struct Measured {
        QFont font;
        mutable std::optional<std::array<qreal, 128>> asciiAdvances;
        mutable QHash<QString, QStringList> wrapped;
        mutable int wrappedWidth = -1;
        // Earlier widths of texts in this face.
        mutable QHash<QString, int> widths;
    };

    // Wrap without the memory of earlier answers.
    static QStringList WrapMeasured(const Measured &face, const QString &text, int maxWidth);
    // The advance of one character, from a table kept for the printable
    // ASCII characters.
    static qreal CharAdvance(const Measured &face, QChar c);
    void ResetFaces();

    QFont font_;
    std::array<Measured, 2> faces_;
};
