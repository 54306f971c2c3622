// Breaking texts into lines at a width in a font, and the memory of earlier answers.
#include "views/TextWrapper.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

TEST(TextWrapper, CutsAtTheLastSpaceOrInsideAWord)
{
    const TextWrapper wrapper;
    const QFontMetrics metrics(wrapper.Font());
    const QString word = QStringLiteral("abcdefghij");
    const int width = metrics.horizontalAdvance(word);

    const QStringList fits = wrapper.Wrap(QStringLiteral("  ") + word + "\n", width);
    EXPECT_EQ(fits, QStringList{word});

    // Without spaces, each line holds as many characters as fit.
    const QStringList cut = wrapper.Wrap(word + word + word, width);
    EXPECT_EQ(cut, (QStringList{word, word, word}));

    const QStringList words = wrapper.Wrap(QStringLiteral("abc def ghij klm"), width);
    ASSERT_EQ(words.size(), 2);
    EXPECT_EQ(words[0], "abc def");
    EXPECT_EQ(words[1], "ghij klm");
    for (const QString &line : words)
        EXPECT_LE(metrics.horizontalAdvance(line), width);

    // Six lines are cut; the seventh takes the rest, too wide or not.
    const QStringList limited = wrapper.Wrap(word.repeated(10), width);
    ASSERT_EQ(limited.size(), 7);
    EXPECT_EQ(limited[5], word);
    EXPECT_EQ(limited[6], word.repeated(4));
}

TEST(TextWrapper, ATextWrapsAgainForANewFont)
{
    // Wrapped lines are remembered between fills; a new font must not reuse them.
    TextWrapper wrapper;
    const QString text = QStringLiteral("abc def ghij klm nop");
    const int width = QFontMetrics(wrapper.Font()).horizontalAdvance(QStringLiteral("abc def gh"));
    const QStringList before = wrapper.Wrap(text, width);

    QFont larger = wrapper.Font();
    larger.setPointSize(larger.pointSize() * 2);
    wrapper.SetFont(larger);
    const QFontMetrics metrics(larger);
    const QStringList lines = wrapper.Wrap(text, width);
    EXPECT_GT(lines.size(), before.size());
    for (const QString &line : lines.mid(0, lines.size() - 1))
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
}

TEST(TextWrapper, EachCutLineIsTheLongestPrefixThatFits)
{
    // Kerned pairs ("AV", "To", "Wa"), narrow and wide letters and tabs make
    // the width of a prefix differ from the sum of its characters' widths.
    const TextWrapper wrapper;
    const QFontMetrics metrics(wrapper.Font());
    const QString texts[] = {QStringLiteral("AVATorWaYoTyLTiillWWMMmmAVAVA.T,PaVeWoyy"),
                             QStringLiteral("ab\tcdefgh\tijkl\tmnop\t\tqrstuvwxyz\tAB")};
    for (const QString &text : texts) {
        for (int width = metrics.horizontalAdvance(u'W'); width <= metrics.horizontalAdvance(text);
             width += 3) {
            // Without spaces: each cut takes characters while they fit, the
            // white space at the cut dropped, at most six cuts.
            QStringList expected;
            QString rest = text;
            while (metrics.horizontalAdvance(rest) > width && expected.size() < 6) {
                qsizetype length = 1;
                while (metrics.horizontalAdvance(rest.left(length + 1)) <= width)
                    ++length;
                QString line = rest.left(length);
                while (line.endsWith(u'\t'))
                    line.chop(1);
                expected.append(line);
                rest = rest.mid(length);
                while (rest.startsWith(u'\t'))
                    rest.remove(0, 1);
            }
            expected.append(rest);
            EXPECT_EQ(wrapper.Wrap(text, width), expected) << "width " << width;
        }
    }
}

TEST(TextWrapper, WidthsAreTheFontsAndFollowANewFont)
{
    TextWrapper wrapper;
    QFont bold = wrapper.Font();
    bold.setWeight(QFont::Bold);
    const QString text = "Touchdown WIDE receiver 1234";
    EXPECT_EQ(wrapper.TextWidth(text, false), QFontMetrics(wrapper.Font()).horizontalAdvance(text));
    EXPECT_EQ(wrapper.TextWidth(text, true), QFontMetrics(bold).horizontalAdvance(text));

    QFont larger = wrapper.Font();
    larger.setPointSize(larger.pointSize() * 3);
    wrapper.SetFont(larger);
    EXPECT_EQ(wrapper.TextWidth(text, false), QFontMetrics(larger).horizontalAdvance(text));
    EXPECT_GT(wrapper.TextWidth(text, false), QFontMetrics(bold).horizontalAdvance(text));
}

TEST(TextWrapper, BoldTextsAreMeasuredInTheBoldFace)
{
    const TextWrapper wrapper;
    QFont bold = wrapper.Font();
    bold.setWeight(QFont::Bold);
    const QFontMetrics boldMetrics(bold);
    const QString text = QStringLiteral("Mmmm Wwww Mmmm Wwww Mmmm Wwww Mmmm Wwww");
    int regularTooWide = 0;
    for (int width = 60; width <= 200; ++width) {
        const QStringList regular = wrapper.Wrap(text, width);
        const QStringList lines = wrapper.Wrap(text, width, TextWrapper::Face::Bold);
        for (const QString &line : regular)
            regularTooWide += boldMetrics.horizontalAdvance(line) > width;
        EXPECT_EQ(lines.join(' '), text);
        // The seventh line takes the rest, too wide or not.
        for (const QString &line : lines.mid(0, std::min<qsizetype>(lines.size(), 6)))
            EXPECT_LE(boldMetrics.horizontalAdvance(line), width) << line.toStdString();
        // Each face keeps its own earlier answers.
        EXPECT_EQ(wrapper.Wrap(text, width), regular);
    }
    // Lines wrapped in the regular face would not have fitted drawn bold.
    EXPECT_GT(regularTooWide, 0);
}
