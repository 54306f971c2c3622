// At the window's default size no text of the samples is drawn shortened
// where its page has room left: the export's "cut" against the room the page
// leaves.
#include "app/GameExport.h"
#include "views/ColumnFitting.h"

#include <QJsonArray>
#include <QJsonObject>
#include <array>
#include <gtest/gtest.h>
#include <string>

namespace
{

// Walks every table under `value`, calling `check` with its page and table.
template <typename Check>
void ForEachTable(const QString &page, const QJsonObject &value, const Check &check)
{
    if (value.contains("columns") && value.contains("rows")) {
        check(page, value);
        return;
    }
    for (auto member = value.begin(); member != value.end(); ++member)
        ForEachTable(page, member.value().toObject(), check);
}

// The table's columns at their own widths, as the page reckons its room.
StatTable ColumnsOf(const QJsonObject &table)
{
    StatTable value;
    for (const QJsonValue column : table["columns"].toArray())
        value.columns.push_back({column["header"].toString(), column["width"].toInt()});
    return value;
}

} // namespace

TEST(ExportFit, NoSampleTextIsCutWherePageHasRoom)
{
    const std::string samples = PYLONIX_SAMPLES_DIR;
    const std::array<std::array<std::string, 3>, 3> games{{
        {samples + "/small/game.xml", samples + "/small/season-home.xml",
         samples + "/small/season-visitor.xml"},
        {samples + "/game-final.xml", samples + "/season-home.xml",
         samples + "/season-visitor.xml"},
        {samples + "/game-live.xml", "", ""},
    }};
    const int pageWidth = PageWidthForClient(1024);
    int tables = 0;
    for (const auto &[game, home, visitor] : games) {
        for (const bool plays : {false, true}) {
            ExportRequest request;
            request.gameFile = game;
            request.homeSeasonFile = home;
            request.visitorSeasonFile = visitor;
            if (plays)
                request.view.drives.playsOfDrive = 1;
            QJsonObject result;
            QString error;
            ASSERT_TRUE(GameExport::Run(request, result, error)) << error.toStdString();
            const QJsonObject pages = result["pages"].toObject();
            for (auto page = pages.begin(); page != pages.end(); ++page) {
                ForEachTable(page.key(), page.value().toObject(),
                             [&](const QString &name, const QJsonObject &table) {
                                 ++tables;
                                 int grown = 0;
                                 for (const QJsonValue column : table["columns"].toArray())
                                     grown +=
                                         column["drawn_width"].toInt() - column["width"].toInt();
                                 int cut = 0;
                                 for (const QJsonValue row : table["rows"].toArray()) {
                                     for (const QJsonValue cell : row["cells"].toArray())
                                         cut += cell["cut"].toBool();
                                 }
                                 const int room = PageTableRoom(*TablePageOfKey(name.toStdString()),
                                                                ColumnsOf(table), pageWidth);
                                 // A cut text only where the table used up its room.
                                 if (cut > 0) {
                                     EXPECT_EQ(grown, room) << game << " " << name.toStdString();
                                 }
                                 EXPECT_LE(grown, room) << game << " " << name.toStdString();
                             });
            }
        }
    }
    EXPECT_GT(tables, 50);
}
