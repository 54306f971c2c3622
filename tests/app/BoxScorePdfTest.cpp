// The box score as a reader gets it: the program writes the PDF, poppler's
// tools read it back, and what they read is held against the export of the
// same files.
#include "../support/ScratchDirectory.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace
{

const QString kSamples = PYLONIX_SAMPLES_DIR;

// Runs `program`; its exit status (-1 when it did not end normally) and
// standard output.
std::pair<int, QByteArray> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}};
    return {process.exitCode(), process.readAllStandardOutput()};
}

// Runs of blanks as one space, lines kept: a table's row is one line of
// `pdftotext -layout`. The blanks around a dash go: -layout sets the text on
// a grid of character cells, and the narrow spaces of "1 - 7" can fall
// inside one cell.
QString normalised(QString text)
{
    static const QRegularExpression blanks("[ \\t]+"), dash(" ?- ?");
    return text.replace(blanks, " ").replace(dash, "-");
}

// What the box score must hold of the export's description, each as one
// line: the line score, every row of the team statistics and every row of a
// listed player (the team names are in the line score).
QStringList expectedLines(const QJsonObject &described)
{
    QStringList lines;
    const QJsonObject score = described["situation"]["line_score"].toObject();
    for (int side = 0; side < 2; ++side) {
        const QString key = side == 0 ? "home" : "visitor";
        QStringList line{described["teams"][side]["values"]["Name"].toString()};
        for (const QJsonValue &points : score[key].toArray())
            line.append(QString::number(points.toInt()));
        lines.append(line.join(' ') + ' ' + QString::number(score[key + "_total"].toInt()));
    }
    std::vector<QJsonArray> tables{described["pages"]["team_stats"]["rows"].toArray()};
    for (const QString page : {"offense", "defense", "special_teams"})
        for (const QString side : {"home", "visitor"})
            for (const QJsonValue &table : described["pages"][page][side].toObject())
                tables.push_back(table["rows"].toArray());
    for (const QJsonArray &rows : tables) {
        for (const QJsonValue &row : rows) {
            QStringList texts;
            for (const QJsonValue &cell : row["cells"].toArray())
                if (const QString text = cell["text"].toString().trimmed(); !text.isEmpty())
                    texts.append(text);
            if (row["data"].toInt() >= 0 && !texts.isEmpty()) // "None" rows are not printed
                lines.append(normalised(texts.join(' ')));
        }
    }
    return lines;
}

class BoxScorePdf : public ::testing::Test
{
protected:
    // The box score of the game `files` name on `paper`, read as a reader
    // reads it; returns its number of pages.
    int Check(const QStringList &files, const QString &paper, const QString &status)
    {
        SCOPED_TRACE(files.value(1).toStdString() + " on " + paper.toStdString());
        const QString pdf = QString::fromStdString(dir_.PathOf("box.pdf"));
        EXPECT_EQ(
            run(PYLONIX_PROGRAM, QStringList{"--box-score", pdf, "--paper", paper} + files).first,
            0);
        const auto [exported, json] = run(PYLONIX_PROGRAM, QStringList{"--export", "json"} + files);
        EXPECT_EQ(exported, 0);

        const QString read =
            normalised(QString::fromUtf8(run("pdftotext", {"-layout", pdf, "-"}).second));
        const QStringList lines = expectedLines(QJsonDocument::fromJson(json).object());
        EXPECT_GT(lines.size(), 30);
        for (const QString &line : lines)
            EXPECT_TRUE(read.contains(line)) << "missing: " << line.toStdString();
        EXPECT_TRUE(read.contains(" " + status + "\n")) << read.left(300).toStdString();

        // COUNT pages, each with "Page N of COUNT", on the paper asked for.
        const QString info = QString::fromUtf8(run("pdfinfo", {pdf}).second);
        const int count = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
        const QStringList pages = read.split('\f', Qt::SkipEmptyParts);
        EXPECT_EQ(pages.size(), count);
        for (int i = 0; i < pages.size(); ++i)
            EXPECT_TRUE(pages[i].contains(QString("Page %1 of %2").arg(i + 1).arg(count)));
        EXPECT_TRUE(info.contains(paper == "a4" ? "(A4)" : "(letter)")) << info.toStdString();

        // Every face embedded.
        const QStringList fonts =
            QString::fromUtf8(run("pdffonts", {pdf}).second).split('\n', Qt::SkipEmptyParts);
        const qsizetype embedded = fonts.value(0).indexOf(" emb ") + 1;
        EXPECT_TRUE(embedded > 0 && fonts.size() > 2);
        for (const QString &font : fonts.mid(2))
            EXPECT_EQ(font.mid(embedded, 3), "yes") << font.toStdString();

        // The first page in pixels: ink inside the margins, none outside.
        const QString picture = QString::fromStdString(dir_.PathOf("page"));
        run("pdftoppm", {"-r", "36", "-gray", "-png", "-singlefile", pdf, picture});
        const QImage page(picture + ".png");
        const int margin = 18 - 1; // half an inch at 36 dpi, less a pixel of rounding
        int outside = 0, inside = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const bool inMargin = x < margin || y < margin || x >= page.width() - margin ||
                                      y >= page.height() - margin;
                (inMargin ? outside : inside) += qGray(page.pixel(x, y)) < 200;
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 1000);
        return count;
    }

    QString Path(const char *name) const { return QString::fromStdString(dir_.PathOf(name)); }

    ScratchDirectory dir_;
};

QStringList withSeasons(const QString &game)
{
    return {"--game",    game,
            "--home",    kSamples + "/season-home.xml",
            "--visitor", kSamples + "/season-visitor.xml"};
}

} // namespace

TEST_F(BoxScorePdf, TheSamplesOnLetterAndA4)
{
    EXPECT_GE(Check(withSeasons(kSamples + "/game-final.xml"), "letter", "Final"), 2);
    Check(withSeasons(kSamples + "/game-final.xml"), "a4", "Final");
    Check({"--game", kSamples + "/game-live.xml"}, "letter", "In progress");
    Check({"--game", kSamples + "/small/game.xml"}, "letter", "In progress");
}

TEST_F(BoxScorePdf, AFeedGameAtHalftimeAndATenfoldGame)
{
    // Play 89 of seed 14 ends the first half; the third quarter has not begun.
    ASSERT_EQ(
        run(PYLONIX_FEED_EXECUTABLE, {"--seed", "14", "--until", "89", "--out", Path("h.xml")})
            .first,
        0);
    Check({"--game", Path("h.xml")}, "letter", "Halftime");
    ASSERT_EQ(run(PYLONIX_FEED_EXECUTABLE, {"--seed", "14", "--final", "--scale", "10", "--out",
                                            Path("ten.xml"), "--season-dir", Path("")})
                  .first,
              0);
    const QStringList tenfold = {"--game",         Path("ten.xml"), "--home",
                                 Path("home.xml"), "--visitor",     Path("visitor.xml")};
    EXPECT_GT(Check(tenfold, "letter", "Final"), 8) << "ten times the players and drives";
}

TEST_F(BoxScorePdf, ExitStatusAsTheExports)
{
    const QString game = kSamples + "/game-final.xml";
    EXPECT_EQ(run(PYLONIX_PROGRAM, {"--box-score", Path("b.pdf"), "--game", "/no/game.xml"}).first,
              2);
    EXPECT_EQ(
        run(PYLONIX_PROGRAM, {"--box-score", Path("b.pdf"), "--game", game, "--paper", "a5"}).first,
        1);
    EXPECT_EQ(run(PYLONIX_PROGRAM, {"--box-score", game, "--game", game}).first, 1)
        << "never over a file it reads";
    EXPECT_EQ(run(PYLONIX_PROGRAM, {"--box-score", "/no/dir/b.pdf", "--game", game}).first, 3);
    EXPECT_FALSE(QFile::exists(Path("b.pdf")));
}
