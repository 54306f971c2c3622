#include "ServiceTestClient.h"

#include "app/GameExport.h"
#include "service/GameDocumentFromExport.h"

#include "../support/ScratchDirectory.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

TEST(GameDocument, ChangedMessageHoldsOnlyWhatDiffers)
{
    const GameDocument before = SampleDocument(1, 7);
    GameDocument after = SampleDocument(2, 14);
    after.pages["offense/home/passing"] = R"({"columns":[{"header":"KBM"}],"rows":[{}]})";
    after.pages.erase("team_stats");

    const QJsonObject message = QJsonDocument::fromJson(after.ChangedMessage(before)).object();
    EXPECT_EQ(message["seq"].toInt(), 2);
    const QJsonObject changed = message["changed"].toObject();
    EXPECT_EQ(changed.keys(), QStringList({"pages", "scoreboard"}));
    EXPECT_EQ(changed["scoreboard"].toObject()["home_score"].toInt(), 14);
    const QJsonObject pages = changed["pages"].toObject();
    EXPECT_EQ(pages.keys(), QStringList({"offense", "team_stats"}));
    EXPECT_TRUE(pages["team_stats"].isNull()); // gone: the client drops it
    EXPECT_EQ(pages["offense"].toObject().keys(), QStringList({"home"}));
    EXPECT_TRUE(SampleDocument(3, 7).ChangedMessage(before).isEmpty());
}

// The document holds what the export reads, split and nested again without
// loss, situation included; the window's own members are not in it.
TEST(GameDocumentFromExport, HoldsTheExportWholeAndTheSituation)
{
    const GameDocument document = SampleGameDocument(1);
    ExportRequest request;
    request.gameFile = PYLONIX_SAMPLES_DIR "/game-live.xml";
    QJsonObject exported;
    QString error;
    ASSERT_TRUE(GameExport::Run(request, exported, error));

    QJsonObject served = QJsonDocument::fromJson(document.Json()).object();
    EXPECT_EQ(served.take("seq").toInt(), 1);
    EXPECT_FALSE(served.take("updated").toString().isEmpty());
    EXPECT_EQ(served, exported) << "the export's situation among its members";
    const QJsonObject situation = served["situation"].toObject();
    EXPECT_TRUE(document.pages.contains("offense/home/passing"));
    const QJsonObject scoreboard = exported["scoreboard"].toObject();
    EXPECT_EQ(situation["line_score"].toObject()["home_total"].toInt(),
              scoreboard["home_score"].toInt());
    EXPECT_EQ(situation["period"].toInt(), scoreboard["quarter"].toInt());
    EXPECT_EQ(document.gameId, "10/17/2026 AMW at KBM");

    request.gameFile = PYLONIX_SAMPLES_DIR "/no-such-game.xml";
    GameDocument unread;
    EXPECT_FALSE(GameDocumentFromExport::Build(request, 2, {}, unread, error));
    EXPECT_TRUE(error.contains("no-such-game.xml"));
}

// A game loaded already is described as loaded: the file is not read again,
// so a file gone or rewritten since cannot make the document disagree with
// what the session holds.
TEST(GameDocumentFromExport, DescribesALoadedSessionWithoutReadingAgain)
{
    ScratchDirectory dir;
    ExportRequest request;
    request.gameFile = dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    GameSession session;
    const ReloadResult loaded = session.Reload(GameExport::FilesOf(request));
    ASSERT_TRUE(loaded.gameOpened);
    dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-live.xml"));

    GameDocument document;
    QString error;
    const QDateTime updated = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    ASSERT_TRUE(
        GameDocumentFromExport::Build(request, session, loaded, 3, updated, document, error));
    const QJsonObject served = QJsonDocument::fromJson(document.Json()).object();
    EXPECT_EQ(served["seq"].toInt(), 3);
    EXPECT_EQ(served["updated"].toString(), "2027-01-15T08:00:00.000Z");
    const QJsonObject scoreboard = served["scoreboard"].toObject();
    EXPECT_EQ(scoreboard["home_score"].toInt(), session.scoreboard().homeScore);
    EXPECT_EQ(scoreboard["visitor_score"].toInt(), session.scoreboard().visitorScore);
    EXPECT_TRUE(scoreboard["final"].toBool());
    EXPECT_EQ(served["situation"].toObject()["line_score"].toObject()["home_total"].toInt(),
              session.scoreboard().homeScore);
}
