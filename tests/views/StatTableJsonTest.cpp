#include "views/StatTableJson.h"
#include "views/GameJson.h"
#include "views/TextWrapper.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"

#include "../support/TestTeams.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace
{

QByteArray throughObjects(const StatTable &table)
{
    return QJsonDocument(StatTableToJson(table)).toJson(QJsonDocument::Compact);
}

} // namespace

TEST(StatTableCompactJson, SameBytesAsTheObjectTree)
{
    StatTable table;
    table.columns = {{"Player", 120, TableAlignment::Left},
                     {"Yds \"net\"", 40, TableAlignment::Right},
                     {"Qtr", 30, TableAlignment::Center}};
    table.drawnWidths = {110, 44, 30};
    TableRow plain;
    plain.itemData = -7;
    plain.cells = {TableCell::Text("Smith, J."), TableCell::Text("12"), TableCell::Text("1st")};
    plain.cells[1].bold = true;
    plain.cells[2].textColor = RGB(255, 0, 16);
    TableRow awkward;
    awkward.itemData = 2147483647;
    awkward.background = RGB(1, 2, 3);
    awkward.cells = {TableCell::Text(QString::fromUtf8("Müller \\ back\tslash\n\x01")),
                     TableCell::Text(QString(QChar(0xd800)) + "lone"),
                     TableCell::Text(QString::fromUtf8("\xe2\x80\xa6 </tag> \x7f"))};
    awkward.cells[0].cut = true;
    TableRow shortRow; // fewer cells than columns
    shortRow.cells = {TableCell::Text("only one")};
    table.rows = {plain, awkward, shortRow};

    EXPECT_EQ(StatTableToCompactJson(table), throughObjects(table));
    EXPECT_EQ(StatTableToCompactJson(StatTable{}), throughObjects(StatTable{}));
}

// The live service writes the teams and the drive chart straight from the
// values; the export goes through the object tree. Both must say the same,
// byte for byte, for the samples and for awkward names and texts.
TEST(GameMembersCompactJson, SameBytesAsTheObjectTree)
{
    const auto throughTree = [](const QJsonValue &value) {
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    };
    TestTeam awkward({{"Zulu", "a\"b\\c"}, {"Alpha", "M\xc3\xbcller"}, {"Bad", "\xff\xfe"}});
    awkward.Player({{"No", "7"}, {"Name", "\t<tab>"}});
    awkward.Player({{"\xc3\x9cnits", "1"}, {"No", "8"}}); // a name Qt orders by UTF-16
    EXPECT_EQ(GameJson::TeamCompactJson(awkward), throughTree(GameJson::Team(awkward)));
    EXPECT_EQ(GameJson::TeamCompactJson(TestTeam()), throughTree(GameJson::Team(TestTeam())));

    const std::string samples = PYLONIX_SAMPLES_DIR;
    for (const char *game : {"/game-live.xml", "/small/game.xml"}) {
        SCOPED_TRACE(game);
        GameSession session;
        ASSERT_TRUE(session
                        .Reload({samples + game, samples + "/season-home.xml",
                                 samples + "/season-visitor.xml"})
                        .gameOpened);
        CDriveChartData drives, described;
        const std::map<QString, QByteArray> members =
            GameJson::CompactMembers(session, {}, {true, false}, drives);
        const QJsonObject tree = GameJson::Describe(session, {}, {true, false}, TextWrapper(),
                                                    described, GameJson::Lists::AllButPages);
        EXPECT_EQ(members.at("drive_chart"), throughTree(tree["drive_chart"]));
        EXPECT_EQ(members.at("scoreboard"), throughTree(tree["scoreboard"]));
        for (const char *name : {"teams", "season_teams"}) {
            EXPECT_EQ(members.at(name),
                      QJsonDocument(tree[name].toArray()).toJson(QJsonDocument::Compact));
        }
        EXPECT_EQ(QJsonDocument::fromJson(members.at("situation")).object(),
                  tree["situation"].toObject());
        EXPECT_EQ(members.size(), tree.size() - 1) << "every member but the pages";
    }
}
