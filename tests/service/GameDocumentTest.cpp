#include "ServiceTestClient.h"

#include "app/GameExport.h"
#include "service/GameDocument.h"
#include "service/GameDocumentFromExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace
{

QJsonObject parsed(const QByteArray &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text.left(200).toStdString();
    return document.object();
}

} // namespace

TEST(GameDocument, JsonNestsThePagesTablesAgainByTheirKeys)
{
    const GameDocument document = SampleDocument(3, 7);
    const QJsonObject json = parsed(document.Json());
    EXPECT_EQ(json["seq"].toInt(), 3);
    EXPECT_EQ(json["updated"].toString(), document.updated);
    EXPECT_EQ(json["scoreboard"].toObject()["home_score"].toInt(), 7);
    const QJsonObject offense = json["pages"].toObject()["offense"].toObject();
    EXPECT_EQ(offense["home"]
                  .toObject()["passing"]
                  .toObject()["columns"]
                  .toArray()[0]
                  .toObject()["header"]
                  .toString(),
              "KBM");
    EXPECT_EQ(offense["visitor"]
                  .toObject()["passing"]
                  .toObject()["columns"]
                  .toArray()[0]
                  .toObject()["header"]
                  .toString(),
              "AMW");
    EXPECT_TRUE(json["pages"].toObject()["team_stats"].isObject());
}

TEST(GameDocument, ChangedMessageHoldsOnlyWhatDiffers)
{
    const GameDocument before = SampleDocument(1, 7);
    GameDocument after = SampleDocument(2, 14);
    after.pages["offense/home/passing"] = R"({"columns":[{"header":"KBM"}],"rows":[{}]})";
    after.pages.erase("team_stats");

    const QJsonObject message = parsed(after.ChangedMessage(before));
    EXPECT_EQ(message["seq"].toInt(), 2);
    const QJsonObject changed = message["changed"].toObject();
    EXPECT_EQ(changed.keys(), QStringList({"pages", "scoreboard"}));
    EXPECT_EQ(changed["scoreboard"].toObject()["home_score"].toInt(), 14);
    const QJsonObject pages = changed["pages"].toObject();
    EXPECT_EQ(pages.keys(), QStringList({"offense", "team_stats"}));
    EXPECT_TRUE(pages["team_stats"].isNull()); // gone: the client drops it
    EXPECT_EQ(pages["offense"].toObject().keys(), QStringList({"home"}));

    GameDocument same = SampleDocument(3, 7);
    EXPECT_TRUE(same.ChangedMessage(before).isEmpty());
}

TEST(GameDocument, GlanceAndTablesByKey)
{
    const GameDocument document = SampleDocument(5, 21);
    const QJsonObject glance = parsed(document.SituationJson());
    EXPECT_EQ(glance.keys(), QStringList({"scoreboard", "seq", "situation"}));
    EXPECT_EQ(glance["situation"].toObject()["down_distance"].toString(), "2nd & 11");
    EXPECT_EQ(document.PageJson("offense/visitor/passing"),
              document.pages.at("offense/visitor/passing"));
    EXPECT_TRUE(document.PageJson("offense/visitor").isEmpty());
    EXPECT_TRUE(document.PageJson("nothing").isEmpty());
}

// The document holds what the export reads, split and nested again without
// loss; the window's own members are not in it, the situation is.
TEST(GameDocumentFromExport, HoldsTheExportWholeAndTheSituation)
{
    const GameDocument document = SampleGameDocument(1);
    ExportRequest request;
    request.gameFile = PYLONIX_SAMPLES_DIR "/game-live.xml";
    QJsonObject exported;
    QString error;
    ASSERT_TRUE(GameExport::Run(request, exported, error));

    QJsonObject served = parsed(document.Json());
    EXPECT_EQ(served.take("seq").toInt(), 1);
    EXPECT_FALSE(served.take("updated").toString().isEmpty());
    const QJsonObject situation = served.take("situation").toObject();
    EXPECT_EQ(served, exported);
    EXPECT_FALSE(served.contains("layout"));
    EXPECT_TRUE(document.pages.contains("offense/home/passing"));
    EXPECT_TRUE(document.pages.contains("play_by_play"));

    const QJsonObject scoreboard = exported["scoreboard"].toObject();
    const QJsonObject line = situation["line_score"].toObject();
    EXPECT_EQ(line["home_total"].toInt(), scoreboard["home_score"].toInt());
    EXPECT_EQ(line["visitor_total"].toInt(), scoreboard["visitor_score"].toInt());
    EXPECT_EQ(situation["period"].toInt(), scoreboard["quarter"].toInt());
    EXPECT_EQ(document.gameId, "10/17/2026 AMW at KBM");
}

TEST(GameDocumentFromExport, AnUnreadableFileIsAnError)
{
    ExportRequest request;
    request.gameFile = PYLONIX_SAMPLES_DIR "/no-such-game.xml";
    GameDocument document;
    QString error;
    EXPECT_FALSE(GameDocumentFromExport::Build(request, 1, QDateTime::currentDateTimeUtc(),
                                               document, error));
    EXPECT_TRUE(error.contains("no-such-game.xml"));
    EXPECT_EQ(document.seq, 0);
}
