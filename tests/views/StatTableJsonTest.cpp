#include "views/StatTableJson.h"

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
