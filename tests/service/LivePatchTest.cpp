#include "ServiceTestClient.h"
#include "TestBroker.h"
#include "TestSubscriber.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "service/GameDocumentFromSession.h"
#include "service/GameService.h"
#include "service/MqttPublisher.h"

#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>
#include <fstream>
#include <gtest/gtest.h>
#include <mosquitto.h>

namespace
{

using nlohmann::json;

json parsed(const QJsonObject &object)
{
    return json::parse(QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString());
}

} // namespace

// The feed plays a game into the file; after every play the service and the
// publisher are handed the new document. A client of the WebSocket and one of
// the broker apply each change's patch with nlohmann's JSON Patch to the
// state they hold, and hold what /api/game serves, play after play; so does a
// late joiner of the broker from what the broker retains.
TEST(LivePatch, AnotherLibraryAppliesThePatchesToTheGameAfterEveryPlay)
{
    PYLONIX_NEED_MOSQUITTO(program);
    TestBroker broker(program);
    ASSERT_TRUE(broker.Start());
    MqttPublisher publisher("127.0.0.1", broker.Port(), "pylonix/test");
    QString error;
    ASSERT_TRUE(publisher.Start(error)) << error.toStdString();
    TestSubscriber subscriber(broker.Port(), "pylonix/test");
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.IsConnected(); }, 10000));

    GameService service;
    ASSERT_TRUE(service.Listen(ServeSettings(), error)) << error.toStdString();
    std::vector<std::string> received;
    QWebSocket socket;
    QObject::connect(&socket, &QWebSocket::textMessageReceived,
                     [&](const QString &text) { received.push_back(text.toStdString()); });
    socket.open(QUrl(QString("ws://127.0.0.1:%1/api/live").arg(service.Port())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.LiveClientCount() == 1; }, 10000));

    using namespace pylonix::feed;
    const RosterFactory rosters(1);
    std::vector<std::string> plays;
    GameSimulator(14, rosters.home(), rosters.visitor()).run([&](const GameState &state, int) {
        plays.push_back(GameXmlWriter::write(state));
    });
    QTemporaryDir folder;
    const std::string file = folder.filePath("game.xml").toStdString();
    json overSocket, overBroker;
    for (std::size_t play = 0; play < plays.size(); ++play) {
        SCOPED_TRACE("play " + std::to_string(play));
        std::ofstream(file) << plays[play];
        GameDocument document;
        const int seq = static_cast<int>(play) + 1;
        ASSERT_TRUE(GameDocumentFromSession().Load(
            {file, "", ""}, seq, QDateTime::currentDateTimeUtc(), document, error))
            << error.toStdString();
        service.Publish(document);
        publisher.Publish(document);
        const json served = json::parse(Request(service.Port(), "/api/game").body.toStdString());
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == play + 1; }, 10000));
        const json message = json::parse(received.back());
        if (play == 0) {
            overSocket = message["snapshot"];
            // The subscriber has the snapshot: it will have every change.
            const auto snapshot = subscriber.waitFor("pylonix/test/snapshot", 1);
            ASSERT_TRUE(snapshot);
            overBroker = parsed(snapshot->json["snapshot"].toObject());
            continue;
        }
        overSocket = Patched(std::move(overSocket), message);
        const auto change = subscriber.waitFor("pylonix/test/changes", seq);
        ASSERT_TRUE(change);
        overBroker = Patched(std::move(overBroker), parsed(change->json));
        ASSERT_EQ(overSocket, served);
        ASSERT_EQ(overBroker, served);
        // A page joining now, from the retained messages alone, holds the
        // same; the situation it may show first is the game's too.
        if (play % 25 == 0 || play + 1 == plays.size()) {
            TestSubscriber late(broker.Port(), "pylonix/test");
            const auto joined = late.joined(seq);
            ASSERT_TRUE(joined);
            ASSERT_EQ(*joined, served);
            const auto glance = late.waitFor("pylonix/test/situation", seq);
            ASSERT_TRUE(glance);
            EXPECT_EQ(parsed(glance->json["scoreboard"].toObject()), served["scoreboard"]);
            const json teams = parsed(glance->json)["teams"];
            EXPECT_EQ(teams[0]["values"]["Short Name"], served["teams"][0]["values"]["Short Name"]);
            EXPECT_EQ(teams[1]["values"]["Name"], served["teams"][1]["values"]["Name"]);
        }
    }
    EXPECT_GT(plays.size(), 100u);
}
