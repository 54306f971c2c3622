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

struct Finished {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Finished run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    Finished result;
    if (!process.waitForFinished(60000))
        return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// The files of one game: the game and its season files, if any.
struct Game {
    QString name;
    QStringList files; // --game FILE [--home FILE --visitor FILE]
};

// Runs of blanks as one space, lines kept: a table's row is one line of
// `pdftotext -layout`, its cells apart by as many blanks as the layout needs.
// The blanks around a dash go: -layout sets the text on a grid of character
// cells, and the narrow spaces of "1 - 7" can fall inside one cell.
QString normalised(const QString &text)
{
    static const QRegularExpression blanks("[ \\t]+");
    static const QRegularExpression dash(" ?- ?");
    QString lines = text;
    return lines.replace(blanks, " ").replace(dash, "-");
}

// A row of the export's table as the box score prints it: its texts one
// after the other.
QString rowLine(const QJsonArray &cells)
{
    QStringList texts;
    for (const QJsonValue &cell : cells) {
        const QString text = cell.toObject()["text"].toString().trimmed();
        if (!text.isEmpty())
            texts.append(text);
    }
    return texts.join(' ');
}

// What the box score must hold of the export's description: the team
// names, the line score, every line of the team statistics and every line
// of a listed player.
QStringList expectedLines(const QJsonObject &described)
{
    QStringList lines;
    const QJsonArray teams = described["teams"].toArray();
    const QJsonObject score = described["situation"].toObject()["line_score"].toObject();
    for (int side = 0; side < 2; ++side) {
        const QString key = side == 0 ? "home" : "visitor";
        QStringList line{teams[side].toObject()["values"].toObject()["Name"].toString()};
        for (const QJsonValue &points : score[key].toArray())
            line.append(QString::number(points.toInt()));
        line.append(QString::number(score[key + "_total"].toInt()));
        lines.append(line.join(' '));
    }
    const QJsonObject pages = described["pages"].toObject();
    for (const QJsonValue &row : pages["team_stats"].toObject()["rows"].toArray()) {
        if (const QString line = rowLine(row.toObject()["cells"].toArray()); !line.isEmpty())
            lines.append(line);
    }
    for (const QString page : {"offense", "defense", "special_teams"}) {
        for (const QString side : {"home", "visitor"}) {
            const QJsonObject tables = pages[page].toObject()[side].toObject();
            for (const QJsonValue &table : tables) {
                for (const QJsonValue &row : table.toObject()["rows"].toArray()) {
                    if (row.toObject()["data"].toInt() >= 0) // "None" rows are not printed
                        lines.append(rowLine(row.toObject()["cells"].toArray()));
                }
            }
        }
    }
    return lines;
}

class BoxScorePdf : public ::testing::Test
{
protected:
    // The box score of `game` on `paper`, checked as a reader reads it.
    void Check(const Game &game, const QString &paper, const QString &expectedStatus)
    {
        SCOPED_TRACE(game.name.toStdString() + " on " + paper.toStdString());
        const QString pdf = QString::fromStdString(dir_.PathOf("box.pdf"));
        const Finished written =
            run(PYLONIX_PROGRAM, QStringList{"--box-score", pdf, "--paper", paper} + game.files);
        ASSERT_EQ(written.status, 0) << written.err.toStdString();
        const Finished exported =
            run(PYLONIX_PROGRAM, QStringList{"--export", "json"} + game.files);
        ASSERT_EQ(exported.status, 0);
        const QJsonObject described = QJsonDocument::fromJson(exported.out).object();

        const Finished text = run("pdftotext", {"-layout", pdf, "-"});
        ASSERT_EQ(text.status, 0) << "pdftotext (poppler-utils) missing?";
        const QString read = normalised(QString::fromUtf8(text.out));
        const QStringList lines = expectedLines(described);
        EXPECT_GT(lines.size(), 30);
        for (const QString &line : lines)
            EXPECT_TRUE(read.contains(normalised(line))) << "missing: " << line.toStdString();
        EXPECT_TRUE(read.contains("\n" + expectedStatus + "\n") ||
                    read.contains(" " + expectedStatus + "\n"))
            << read.left(300).toStdString();

        // Every page carries "Page N of COUNT", in order, and the document
        // has COUNT pages.
        const QStringList pages = read.split('\f', Qt::SkipEmptyParts);
        const Finished info = run("pdfinfo", {pdf});
        const QRegularExpressionMatch count =
            QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(info.out));
        ASSERT_TRUE(count.hasMatch());
        const int pageCount = count.captured(1).toInt();
        EXPECT_EQ(pages.size(), pageCount);
        for (int i = 0; i < pages.size(); ++i)
            EXPECT_TRUE(pages[i].contains(QString("Page %1 of %2").arg(i + 1).arg(pageCount)))
                << "page " << i + 1;
        EXPECT_TRUE(QString::fromUtf8(info.out).contains(paper == "a4" ? "(A4)" : "(letter)",
                                                         Qt::CaseInsensitive));
        pageCount_ = pageCount;

        // Every face embedded.
        const QStringList fonts =
            QString::fromUtf8(run("pdffonts", {pdf}).out).split('\n', Qt::SkipEmptyParts);
        ASSERT_GT(fonts.size(), 2);
        const qsizetype embedded = fonts[0].indexOf(" emb ") + 1;
        ASSERT_GT(embedded, 0);
        for (const QString &font : fonts.mid(2))
            EXPECT_EQ(font.mid(embedded, 3), "yes") << font.toStdString();

        // The first page in pixels: ink inside the margins, none outside.
        const QString picture = QString::fromStdString(dir_.PathOf("page"));
        ASSERT_EQ(run("pdftoppm", {"-r", "36", "-gray", "-png", "-f", "1", "-l", "1", "-singlefile",
                                   pdf, picture})
                      .status,
                  0);
        const QImage page(picture + ".png");
        ASSERT_FALSE(page.isNull());
        const int margin = 18 - 1; // half an inch at 36 dpi, less a pixel of rounding
        int outside = 0, inside = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const bool ink = qGray(page.pixel(x, y)) < 200;
                const bool inMargin = x < margin || y < margin || x >= page.width() - margin ||
                                      y >= page.height() - margin;
                (inMargin ? outside : inside) += ink;
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 1000);
    }

    ScratchDirectory dir_;
    int pageCount_ = 0;
};

QStringList sampleFiles(const QString &game, bool seasons)
{
    QStringList files{"--game", kSamples + "/" + game};
    if (seasons)
        files << "--home" << kSamples + "/season-home.xml"
              << "--visitor" << kSamples + "/season-visitor.xml";
    return files;
}

} // namespace

TEST_F(BoxScorePdf, TheSamplesOnLetterAndA4)
{
    Check({"final", sampleFiles("game-final.xml", true)}, "letter", "Final");
    const int letterPages = pageCount_;
    EXPECT_GE(letterPages, 2);
    Check({"final", sampleFiles("game-final.xml", true)}, "a4", "Final");
    Check({"live", sampleFiles("game-live.xml", false)}, "letter", "In progress");
    Check({"small", sampleFiles("small/game.xml", false)}, "letter", "In progress");
}

TEST_F(BoxScorePdf, AFeedGameAtHalftimeAndATenfoldGame)
{
    // Play 89 of seed 14 ends the first half; the third quarter has not begun.
    const QString half = QString::fromStdString(dir_.PathOf("half.xml"));
    ASSERT_EQ(run(PYLONIX_FEED_EXECUTABLE, {"--seed", "14", "--until", "89", "--out", half}).status,
              0);
    Check({"halftime", {"--game", half}}, "letter", "Halftime");

    const QString tenfold = QString::fromStdString(dir_.PathOf("ten.xml"));
    const QString seasons = QString::fromStdString(dir_.Path().string());
    ASSERT_EQ(run(PYLONIX_FEED_EXECUTABLE, {"--seed", "14", "--final", "--scale", "10", "--out",
                                            tenfold, "--season-dir", seasons})
                  .status,
              0);
    Check({"tenfold",
           {"--game", tenfold, "--home", seasons + "/home.xml", "--visitor",
            seasons + "/visitor.xml"}},
          "letter", "Final");
    EXPECT_GT(pageCount_, 8); // ten times the players and drives
}

TEST_F(BoxScorePdf, ExitStatusAsTheExports)
{
    const QString pdf = QString::fromStdString(dir_.PathOf("box.pdf"));
    const QString game = kSamples + "/game-final.xml";
    EXPECT_EQ(run(PYLONIX_PROGRAM, {"--box-score", pdf, "--game", "/nonexistent/game.xml"}).status,
              2);
    EXPECT_EQ(run(PYLONIX_PROGRAM, {"--box-score", pdf, "--game", game, "--paper", "a5"}).status,
              1);
    // Never over a file it reads.
    const Finished over = run(PYLONIX_PROGRAM, {"--box-score", game, "--game", game});
    EXPECT_EQ(over.status, 1);
    EXPECT_TRUE(over.err.contains("would write over")) << over.err.toStdString();
    EXPECT_EQ(
        run(PYLONIX_PROGRAM, {"--box-score", "/nonexistent/dir/box.pdf", "--game", game}).status,
        3);
    EXPECT_FALSE(QFile::exists(pdf));
}
