// The box score on paper as values: every text measured into a box wide
// enough for it, inside the margins, and long tables split with their
// headings repeated.
#include "boxscore/BoxScoreLayout.h"
#include "boxscore/BoxScorePaper.h"
#include "views/BoxScoreContent.h"

#include <QBuffer>
#include <QPdfWriter>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace
{

StatTable table(const QStringList &captions, int rows, const QStringList &cells)
{
    StatTable made;
    for (const QString &caption : captions)
        made.columns.push_back(
            {caption, 40, caption == "Play" ? TableAlignment::Left : TableAlignment::Right});
    for (int r = 0; r < rows; ++r) {
        made.rows.push_back({r, {}, {}, {}});
        for (const QString &cell : cells)
            made.rows.back().cells.push_back(TableCell::Text(cell.arg(r)));
    }
    return made;
}

// A game with a scoring summary of long plays (one word too wide for any
// column) and a player table longer than a page.
BoxScoreContent longContent()
{
    BoxScoreContent content;
    content.title = "Visitors at Homes";
    content.lineScore.table = table({"", "1", "T"}, 2, {"Team %1", "7", "7"});
    content.scoring = {"Scoring Summary",
                       table({"Qtr", "Play", "Score"}, 40,
                             {"1",
                              "A. Runner %1 yard run behind the left tackle after a long count " +
                                  QString("Unbreakable").repeated(30) + " (K. Kicker kick)",
                              "7-0"})};
    content.teams[0] = {
        "Homes",
        {{"Rushing", table({"HOM", "ATT", "YDS"}, 150, {"Player Number %1", "12", "-104"})}}};
    return content;
}

// The pages of `content` as the PDF writer lays them out.
struct Laid {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QPdfWriter writer{&buffer};
    std::unique_ptr<BoxScoreLayout> layout;
    std::vector<BoxScorePage> pages;
    QRectF area;

    explicit Laid(BoxScorePaper paper)
    {
        writer.setPageLayout(QPageLayout(BoxScorePageSize(paper), QPageLayout::Portrait, {}));
        writer.setResolution(600);
        layout = std::make_unique<BoxScoreLayout>(&writer);
        const QSizeF sheet(writer.width(), writer.height());
        area = layout->PrintArea(sheet);
        pages = layout->Lay(longContent(), sheet);
    }
};

bool has(const BoxScorePage &page, const QString &text)
{
    return std::any_of(page.texts.begin(), page.texts.end(),
                       [&text](const BoxScoreText &item) { return item.text == text; });
}

} // namespace

TEST(BoxScoreLayout, EveryTextFitsItsBoxInsideTheMarginsOnBothPapers)
{
    for (const BoxScorePaper paper : {BoxScorePaper::Letter, BoxScorePaper::A4}) {
        const Laid laid(paper);
        ASSERT_GE(laid.pages.size(), 3u);
        EXPECT_NEAR(laid.area.left(), 300, 1) << "half an inch at 600 dpi";
        int wrapped = 0;
        for (const BoxScorePage &page : laid.pages) {
            for (const BoxScoreText &text : page.texts) {
                EXPECT_TRUE(laid.area.contains(text.box)) << text.text.toStdString();
                EXPECT_LE(laid.layout->TextWidth(text.text, text.face), text.box.width() + 0.01)
                    << "cut: " << text.text.toStdString();
                // The end of a play on another line than its start.
                wrapped += text.text.contains("Kicker") && !text.text.startsWith("A. Runner");
            }
            for (const QLineF &rule : page.rules)
                EXPECT_TRUE(laid.area.adjusted(-1, -1, 1, 1).contains(rule.p2()));
        }
        EXPECT_EQ(wrapped, 40) << "every long play wraps";
    }
}

TEST(BoxScoreLayout, ASplitTableRepeatsItsTitleAndCaptionsAndEveryPageIsNumbered)
{
    const Laid laid(BoxScorePaper::Letter);
    int continued = 0, players = 0;
    for (std::size_t p = 0; p < laid.pages.size(); ++p) {
        const BoxScorePage &page = laid.pages[p];
        EXPECT_TRUE(has(page, QString("Page %1 of %2").arg(p + 1).arg(laid.pages.size())));
        if (has(page, "Rushing (continued)")) {
            ++continued;
            EXPECT_TRUE(has(page, "HOM") && has(page, "ATT") && has(page, "YDS"));
        }
        players += std::count_if(page.texts.begin(), page.texts.end(), [](const BoxScoreText &t) {
            return t.text.startsWith("Player Number ");
        });
    }
    EXPECT_GE(continued, 1);
    EXPECT_EQ(players, 150) << "every player once, none lost at a page's end";
}
