#include "wire/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{

// {"a": [1, {}, [], "x"], "b": {"c": true, "d": null, "e": "M\u00fcller \"q\"\n\u0001"},
// "f": [], "g": {}}, written token by token.
void writeSample(JsonWriter &writer)
{
    writer.BeginObject();
    writer.Key("a");
    writer.BeginArray();
    writer.Int(1);
    writer.BeginObject();
    writer.EndObject();
    writer.BeginArray();
    writer.EndArray();
    writer.String(std::string_view("x"));
    writer.EndArray();
    writer.Key("b");
    writer.BeginObject();
    writer.Key("c");
    writer.Bool(true);
    writer.Key("d");
    writer.Null();
    writer.Key("e");
    writer.String(std::string_view("M\xc3\xbcller \"q\"\n\x01"));
    writer.EndObject();
    writer.Key("f");
    writer.Value(QJsonArray{});
    writer.Key("g");
    writer.Value(QJsonObject{{"h", QJsonArray{2, QJsonObject{{"i", "\xe2\x80\xa6"}}}}});
    writer.EndObject();
}

const QJsonObject kSample{
    {"a", QJsonArray{1, QJsonObject{}, QJsonArray{}, "x"}},
    {"b", QJsonObject{{"c", true},
                      {"d", QJsonValue::Null},
                      {"e", QString::fromUtf8("M\xc3\xbcller \"q\"\n\x01")}}},
    {"f", QJsonArray{}},
    {"g", QJsonObject{{"h", QJsonArray{2, QJsonObject{{"i", QString::fromUtf8("\xe2\x80\xa6")}}}}}},
};

} // namespace

TEST(JsonWriter, LaysOutTheTextAsQtDoes)
{
    EXPECT_EQ(JsonWriter::Compact(writeSample),
              QJsonDocument(kSample).toJson(QJsonDocument::Compact));
    QByteArray indented;
    JsonWriter writer(JsonWriter::Layout::Indented, [&indented](const QByteArray &piece) {
        indented += piece;
        return true;
    });
    writeSample(writer);
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(indented, QJsonDocument(kSample).toJson(QJsonDocument::Indented));

    // A lone surrogate and a broken UTF-8 sequence are escaped as Qt escapes them.
    const QString lone = QString(QChar(0xd800)) + "x";
    EXPECT_EQ(JsonWriter::Quoted(lone),
              QJsonDocument(QJsonArray{lone}).toJson(QJsonDocument::Compact).chopped(1).mid(1));
    const QByteArray broken =
        JsonWriter::Compact([](JsonWriter &writer) { writer.String(std::string_view("a\xff")); });
    EXPECT_EQ(broken, JsonWriter::Quoted(QString::fromUtf8("a\xff")));
}

TEST(JsonWriter, StreamsInPiecesAndStopsAtTheFirstRefusedOne)
{
    int pieces = 0;
    JsonWriter writer(JsonWriter::Layout::Indented, [&pieces](const QByteArray &) {
        return ++pieces == 1; // the second piece cannot be written
    });
    writer.BeginArray();
    for (int i = 0; i < 100000; ++i) {
        writer.BeginObject();
        writer.Key("n");
        writer.Int(i);
        writer.EndObject();
    }
    writer.EndArray();
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(pieces, 2) << "nothing is offered after the refused piece";
}
