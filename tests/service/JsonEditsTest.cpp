#include "service/JsonEdits.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{

QJsonValue parsed(const QByteArray &text)
{
    return QJsonDocument::fromJson("[" + text + "]").array().first();
}

QByteArray compact(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

// A table of `count` rows of distinct players, as the tables are written.
QJsonArray playerRows(int count)
{
    QJsonArray rows;
    for (int i = 0; i < count; ++i)
        rows.append(QJsonObject{{"cells", QJsonArray{QString("Player %1").arg(i), i % 7, "0"}},
                                {"data", i}});
    return rows;
}

// The edits between the two texts, checked to make `after` out of `before`.
std::optional<QByteArray> checkedEdits(const QByteArray &before, const QByteArray &after)
{
    const std::optional<QByteArray> edits = JsonEdits::Between(before, after);
    if (edits) {
        const QJsonArray list = QJsonDocument::fromJson(*edits).array();
        EXPECT_FALSE(list.isEmpty()) << edits->constData();
        EXPECT_EQ(JsonEdits::Apply(parsed(before), list), parsed(after))
            << before.constData() << "\n -> " << after.constData() << "\n by "
            << edits->constData();
    }
    return edits;
}

} // namespace

// Whatever the texts hold, the edits make the new value out of the old:
// commas, brackets and escaped quotes inside strings, rows added, dropped,
// changed and moved, nested arrays and objects.
TEST(JsonEdits, TheEditsMakeTheNewValueOutOfTheOld)
{
    QJsonArray rows = playerRows(120);
    const QByteArray table = compact(QJsonObject{{"columns", QJsonArray{"a"}}, {"rows", rows}});
    const auto withRows = [](const QJsonArray &changed) {
        return compact(QJsonObject{{"columns", QJsonArray{"a"}}, {"rows", changed}});
    };

    QJsonArray moved = rows; // a sorted table: a player's line changes and moves up
    moved.removeAt(90);
    moved.insert(3, QJsonObject{{"cells", QJsonArray{"Player 90", 12, "0"}}, {"data", 90}});
    EXPECT_TRUE(checkedEdits(table, withRows(moved)));

    QJsonArray edited = rows; // rows dropped, changed and added about the table
    edited.removeAt(0);
    edited.removeAt(50);
    edited[60] = QJsonObject{{"cells", QJsonArray{"x], {\"y\\", 1, "0"}}, {"data", 61}};
    edited.append(QJsonObject{{"cells", QJsonArray{"Ü,\"]}", 0, "1"}}, {"data", 120}});
    EXPECT_TRUE(checkedEdits(table, withRows(edited)));

    QJsonArray reversed; // too far apart to walk: still right, however sent
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        reversed.append(rows[i]);
    checkedEdits(table, withRows(reversed));
    checkedEdits(withRows({}), table);
    checkedEdits(table, withRows({}));

    // Teams with players: one player's line and the team's values change.
    QJsonObject home{
        {"side", "home"}, {"players", playerRows(60)}, {"values", QJsonObject{{"FD", "7"}}}};
    const QJsonObject visitor = home;
    const QByteArray teams = compact(QJsonArray{home, visitor});
    QJsonArray players = home["players"].toArray();
    players[8] = QJsonObject{{"cells", QJsonArray{"Player 8", 3, "12"}}, {"data", 8}};
    home["players"] = players;
    home["values"] = QJsonObject{{"FD", "8"}};
    const std::optional<QByteArray> teamEdits =
        checkedEdits(teams, compact(QJsonArray{home, visitor}));
    ASSERT_TRUE(teamEdits);
    EXPECT_LT(teamEdits->size(), 150) << teamEdits->constData();
}

// A value that cannot be reached by edits, or whose edits are no shorter,
// is sent whole; a moved row costs the row, not the rows it passed.
TEST(JsonEdits, ShortEditsOrNone)
{
    EXPECT_FALSE(JsonEdits::Between("12", "13"));
    EXPECT_FALSE(JsonEdits::Between("\"a\"", "\"b\""));
    EXPECT_FALSE(JsonEdits::Between("[1,2]", "{\"a\":1}"));
    EXPECT_FALSE(JsonEdits::Between("[1,2]", "[1,3]")); // edits longer than the value
    // Other member names: the object whole, so that its names keep their order.
    const QByteArray names = compact(QJsonObject{{"rows", playerRows(40)}, {"a", 1}});
    EXPECT_FALSE(
        JsonEdits::Between(names, compact(QJsonObject{{"rows", playerRows(40)}, {"b", 1}})));
    const std::optional<QByteArray> same = JsonEdits::Between(names, names);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, "[]");

    QJsonArray rows = playerRows(500);
    const QByteArray before = compact(rows);
    const QJsonValue row = rows[400];
    rows.removeAt(400);
    rows.insert(0, row);
    const std::optional<QByteArray> edits = checkedEdits(before, compact(rows));
    ASSERT_TRUE(edits);
    EXPECT_LT(edits->size(), 2 * compact(row).size() + 80) << edits->constData();
}

// Edits that lead nowhere leave the value as it is rather than fail.
TEST(JsonEdits, EditsThatLeadNowhereChangeNothing)
{
    const QJsonValue value = parsed(R"({"rows":[1,2,3],"name":"x"})");
    const QJsonArray wrong = QJsonDocument::fromJson(R"([
        {"path":["rows",7],"set":1},
        {"path":["name",0],"set":1},
        {"path":["rows"],"splice":[2,5,[]]},
        {"path":["rows"],"splice":[-1,0,[]]},
        {"path":["name"],"splice":[0,0,[1]]},
        {"path":[0],"set":1},
        {"path":"rows","set":1},
        {"set":1,"path":["rows",1,"x"]}
    ])")
                                 .array();
    EXPECT_EQ(JsonEdits::Apply(value, wrong), value);
    EXPECT_EQ(JsonEdits::Apply(value, QJsonDocument::fromJson(R"([{"path":[],"set":5}])").array()),
              QJsonValue(5));
}
