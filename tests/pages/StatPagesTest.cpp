// The pages as the main window and the export fill them: every table of the
// finished sample game, the default order after each refill, and the JSON form
// of a table.
#include "PagesTestSupport.h"

#include "../support/TableOfGrid.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "platform/ControlIds.h"

#include <QJsonArray>
#include <QLabel>
#include <algorithm>

namespace
{

bool sortedByName(const CZrGridListCtrl &table)
{
    const std::vector<QString> names = ColumnTexts(table, 0);
    return std::is_sorted(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.toStdString() < b.toStdString();
    });
}

bool sortedLargestFirst(const CZrGridListCtrl &table, int column)
{
    const std::vector<QString> values = ColumnTexts(table, column);
    return std::is_sorted(values.begin(), values.end(),
                          [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
}

} // namespace

TEST_F(PagesFixture, TablesAreMadeWhereTheWindowWantsThem)
{
    // The window's layout and its notification routing go by parent and id.
    EXPECT_EQ(pages.playByPlay->parentWidget(), &dialog);
    EXPECT_EQ(pages.specialTeams[13]->parentWidget(), &container);
    EXPECT_EQ(GetDlgCtrlID(pages.specialTeams[3]), IDC_SPECIAL_TEAMS_TABLE);
    EXPECT_EQ(GetDlgCtrlID(pages.playList), IDC_DRIVE_LISTS);
    EXPECT_EQ(pages.yardage->GetFlags(), 0u);
    EXPECT_EQ(pages.scoring->GetFlags(), GLF_FULLROWSELECT);
    // Home seven, then visitor seven, each kind under its title.
    EXPECT_EQ(pages.specialTitles[12]->text(), "Int Returns");
    EXPECT_EQ(pages.specialTeams[8]->GetColumnText(7), "IN20"); // visitor punting
}

TEST_F(PagesFixture, EveryPageOfTheFinishedSampleFillsInItsDefaultOrder)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    ASSERT_TRUE(session
                    .Reload({samples + "/game-final.xml", samples + "/season-home.xml",
                             samples + "/season-visitor.xml"})
                    .gameOpened);
    FillAll();
    EXPECT_EQ(pages.yardage->GetItemCount(), 4);
    EXPECT_EQ(pages.teamStats->GetItemCount(), 22);
    EXPECT_GT(pages.scoring->GetItemCount(), 0);
    EXPECT_GT(pages.playByPlay->GetItemCount(), 100);
    EXPECT_EQ(pages.driveList->GetItemCount(), drives.count());
    for (int side = 0; side < 2; ++side) {
        for (CStatGridCtrl *table : {static_cast<CStatGridCtrl *>(pages.passing[side]),
                                     static_cast<CStatGridCtrl *>(pages.rushing[side]),
                                     static_cast<CStatGridCtrl *>(pages.receiving[side])})
            EXPECT_TRUE(sortedByName(*table)) << side;
        EXPECT_TRUE(sortedLargestFirst(*pages.defense[side], 2)) << side;
    }
    for (CStatGridCtrl *table : pages.specialTeams)
        EXPECT_TRUE(sortedLargestFirst(*table, 1));
    // A light-green mark somewhere shows that the season files were used.
    bool seasonMark = false;
    for (CStatGridCtrl *table : PlayerTables())
        for (int row = 0; row < table->GetItemCount(); ++row)
            for (int column = 0; column < table->GetColumnCount(); ++column)
                seasonMark = seasonMark || table->GetCellBkColor(row, column) == kSeasonMarkColor;
    EXPECT_TRUE(seasonMark);
}

TEST_F(PagesFixture, RefillRestoresTheDefaultOrderAndDirection)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    ASSERT_TRUE(session.Reload({samples + "/game-final.xml", "", ""}).gameOpened);
    pages.FillOffense(session);
    ASSERT_GT(pages.rushing[0]->GetItemCount(), 2);
    // The page's own sort ran last on column 0: a second fill must not reverse it.
    pages.FillOffense(session);
    EXPECT_TRUE(sortedByName(*pages.rushing[0]));
    // Nor does a user's sort by the same or another column survive a refill.
    pages.rushing[0]->SortByColumn(0);
    pages.FillOffense(session);
    EXPECT_TRUE(sortedByName(*pages.rushing[0]));
    pages.defense[1]->SortByColumn(0);
    pages.FillDefense(session);
    EXPECT_TRUE(sortedLargestFirst(*pages.defense[1], 2));
    pages.FillDefense(session);
    EXPECT_TRUE(sortedLargestFirst(*pages.defense[1], 2));
    // A header click after the fill still toggles as usual.
    pages.defense[1]->SortByColumn(2);
    const std::vector<QString> tackles = ColumnTexts(*pages.defense[1], 2);
    EXPECT_LT(tackles.front().toInt(), tackles.back().toInt());
}

TEST_F(PagesFixture, PagesJsonHoldsEveryTableByName)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    ASSERT_TRUE(session.Reload({samples + "/small/game.xml", "", ""}).gameOpened);
    FillAll(false);
    const QJsonObject json = PagesJsonOf(pages);
    EXPECT_EQ(json["yardage"].toObject(), TableJsonOf(*pages.yardage));
    EXPECT_EQ(json["drives"].toObject(), TableJsonOf(*pages.driveList));
    EXPECT_EQ(json["plays"].toObject(), TableJsonOf(*pages.playList));
    EXPECT_EQ(json["play_by_play"].toObject(), TableJsonOf(*pages.playByPlay));
    EXPECT_EQ(json["offense"]["visitor"]["receiving"].toObject(), TableJsonOf(*pages.receiving[1]));
    EXPECT_EQ(json["defense"]["home"]["defense"].toObject(), TableJsonOf(*pages.defense[0]));
    EXPECT_EQ(json["special_teams"]["home"]["int_returns"].toObject(),
              TableJsonOf(*pages.specialTeams[5]));
    EXPECT_EQ(json["special_teams"]["visitor"]["field_goals"].toObject(),
              TableJsonOf(*pages.specialTeams[7]));
    EXPECT_EQ(json["special_teams"]["visitor"].toObject().size(), 7);
    EXPECT_EQ(json["team_stats"]["rows"].toArray().size(), 21);
    EXPECT_EQ(json["scoring"]["columns"][5]["width"].toInt(), 0);
}
