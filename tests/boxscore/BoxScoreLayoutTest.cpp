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

TableColumn column(const char *caption, TableAlignment alignment)
{
    return {caption, 40, alignment, TableSortKind::Text, false};
}

TableRow row(std::int32_t item, const QStringList &texts)
{
    TableRow made;
    made.itemData = item;
    for (const QString &text : texts)
        made.cells.push_back(TableCell::Text(text));
    return made;
}

// A game with a scoring summary of long descriptions and a long player table.
BoxScoreContent longContent()
{
    BoxScoreContent content;
    content.title = "Visitors at Homes";
    content.status = "Final";
    content.facts = {{"Date", "10/17/2026"}, {"Site", "Harbor City"}};
    content.lineScore.table.columns = {column("", TableAlignment::Left),
                                       column("1", TableAlignment::Right),
                                       column("T", TableAlignment::Right)};
    content.lineScore.table.rows = {row(0, {"Homes", "7", "7"}), row(1, {"Visitors", "3", "3"})};
    content.scoring.title = "Scoring Summary";
    content.scoring.table.columns = {column("Qtr", TableAlignment::Left),
                                     column("Play", TableAlignment::Left),
                                     column("Score", TableAlignment::Right)};
    const QString longPlay =
        QString("A. Runner %1 yard run behind the left tackle after a long count, with a "
                "Supercalifragilisticexpialidociouslyunbreakablewordthatisfartoowidefor"
                "anycolumnonthepage in it (K. Kicker kick)");
    for (int i = 0; i < 40; ++i)
        content.scoring.table.rows.push_back(row(i, {"1", longPlay.arg(i), "7-0"}));
    content.teamStats.title = "Team Statistics";
    BoxScoreTable rushing{"Rushing", {}};
    rushing.table.columns = {column("HOM", TableAlignment::Left),
                             column("ATT", TableAlignment::Right),
                             column("YDS", TableAlignment::Right)};
    for (int i = 0; i < 150; ++i)
        rushing.table.rows.push_back(row(i, {QString("Player Number %1").arg(i), "12", "-104"}));
    content.teams[0] = {"Homes", {rushing}};
    content.teams[1] = {"Visitors", {}};
    content.drives.title = "Drive Summary";
    return content;
}

// The pages of `content` laid out as the PDF writer lays them out.
struct Laid {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QPdfWriter writer{&buffer};
    std::unique_ptr<BoxScoreLayout> layout;
    std::vector<BoxScorePage> pages;
    QRectF area;

    Laid(const BoxScoreContent &content, BoxScorePaper paper)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setPageLayout(
            QPageLayout(BoxScorePageSize(paper), QPageLayout::Portrait, QMarginsF()));
        writer.setResolution(600);
        layout = std::make_unique<BoxScoreLayout>(&writer);
        const QSizeF sheet(writer.width(), writer.height());
        area = layout->PrintArea(sheet);
        pages = layout->Lay(content, sheet);
    }
};

} // namespace

TEST(BoxScoreLayout, EveryTextFitsItsBoxInsideTheMarginsOnBothPapers)
{
    for (const BoxScorePaper paper : {BoxScorePaper::Letter, BoxScorePaper::A4}) {
        const Laid laid(longContent(), paper);
        ASSERT_GE(laid.pages.size(), 3u);
        EXPECT_NEAR(laid.area.left(), 300, 1) << "half an inch at 600 dpi";
        int wrapped = 0;
        for (std::size_t p = 0; p < laid.pages.size(); ++p) {
            for (const BoxScoreText &text : laid.pages[p].texts) {
                EXPECT_TRUE(laid.area.contains(text.box))
                    << "page " << p + 1 << ": " << text.text.toStdString();
                EXPECT_LE(laid.layout->TextWidth(text.text, text.face), text.box.width() + 0.01)
                    << "cut: " << text.text.toStdString();
                wrapped += text.text.startsWith("behind") || text.text.contains("left tackle");
            }
            for (const QLineF &rule : laid.pages[p].rules)
                EXPECT_TRUE(laid.area.adjusted(-1, -1, 1, 1).contains(rule.p2()));
        }
        EXPECT_GT(wrapped, 0) << "the play descriptions wrap";
    }
}

TEST(BoxScoreLayout, ASplitTableRepeatsItsTitleAndCaptionsAndEveryPageIsNumbered)
{
    const Laid laid(longContent(), BoxScorePaper::Letter);
    const auto has = [](const BoxScorePage &page, const QString &text) {
        return std::any_of(page.texts.begin(), page.texts.end(),
                           [&text](const BoxScoreText &item) { return item.text == text; });
    };
    int continued = 0;
    for (std::size_t p = 0; p < laid.pages.size(); ++p) {
        const BoxScorePage &page = laid.pages[p];
        EXPECT_TRUE(has(page, QString("Page %1 of %2").arg(p + 1).arg(laid.pages.size())));
        if (has(page, "Rushing (continued)")) {
            ++continued;
            EXPECT_TRUE(has(page, "HOM") && has(page, "ATT") && has(page, "YDS"));
        }
    }
    EXPECT_GE(continued, 1);
    // Every player once, none lost at a page's end.
    int players = 0;
    for (const BoxScorePage &page : laid.pages)
        players += std::count_if(page.texts.begin(), page.texts.end(), [](const BoxScoreText &t) {
            return t.text.startsWith("Player Number ");
        });
    EXPECT_EQ(players, 150);
}

TEST(BoxScoreLayout, WrapBreaksAtSpacesAndInsideOnlyTheWordsTooWideAlone)
{
    const Laid laid(longContent(), BoxScorePaper::Letter);
    const BoxScoreLayout &layout = *laid.layout;
    const qreal width = layout.TextWidth("Field Goal MADE", BoxScoreFace::Body);
    EXPECT_EQ(layout.Wrap("Field Goal MADE by C. Montague", width, BoxScoreFace::Body),
              QStringList({"Field Goal MADE", "by C. Montague"}));
    const QStringList broken =
        layout.Wrap("a Supercalifragilistic b", layout.TextWidth("Super", BoxScoreFace::Body),
                    BoxScoreFace::Body);
    EXPECT_EQ(broken.join("").remove(QChar(' ')), "aSupercalifragilisticb");
    EXPECT_GT(broken.size(), 4);
    for (const QString &line : broken)
        EXPECT_LE(layout.TextWidth(line, BoxScoreFace::Body),
                  layout.TextWidth("Super", BoxScoreFace::Body));
    EXPECT_EQ(layout.Wrap("", width, BoxScoreFace::Body), QStringList({""}));
}
