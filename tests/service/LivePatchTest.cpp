#include "ServiceTestClient.h"
#include "TestBroker.h"

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
#include <mutex>

namespace
{

using nlohmann::json;

// The messages published on one topic, as they come.
class TopicReader
{
public:
    TopicReader(quint16 port, const QByteArray &topic) : topic_(topic)
    {
        client_ = mosquitto_new(nullptr, true, this);
        mosquitto_connect_callback_set(client_, [](mosquitto *client, void *self, int) {
            mosquitto_subscribe(client, nullptr,
                                static_cast<TopicReader *>(self)->topic_.constData(), 1);
        });
        mosquitto_subscribe_callback_set(client_,
                                         [](mosquitto *, void *self, int, int, const int *) {
                                             static_cast<TopicReader *>(self)->subscribed_ = true;
                                         });
        mosquitto_message_callback_set(
            client_, [](mosquitto *, void *self, const mosquitto_message *message) {
                auto *reader = static_cast<TopicReader *>(self);
                const std::lock_guard lock(reader->mutex_);
                reader->received_.push_back(
                    std::string(static_cast<const char *>(message->payload), message->payloadlen));
            });
        mosquitto_connect(client_, "127.0.0.1", port, 30);
        mosquitto_loop_start(client_);
    }
    ~TopicReader()
    {
        mosquitto_disconnect(client_);
        mosquitto_loop_stop(client_, false);
        mosquitto_destroy(client_);
    }
    bool Subscribed() const { return subscribed_; }

    // The `count`th message (from 1), waited for.
    std::optional<json> Message(std::size_t count)
    {
        std::optional<json> found;
        (void)QTest::qWaitFor(
            [&] {
                const std::lock_guard lock(mutex_);
                if (received_.size() >= count)
                    found = json::parse(received_[count - 1]);
                return found.has_value();
            },
            10000);
        return found;
    }

private:
    QByteArray topic_;
    mosquitto *client_ = nullptr;
    std::atomic<bool> subscribed_ = false;
    std::mutex mutex_;
    std::vector<std::string> received_;
};

} // namespace

// The feed plays a game into the file; after every play the service and the
// publisher are handed the new document. A client of the WebSocket and one of
// the broker apply each change's patch with nlohmann's JSON Patch to the
// state they hold, and hold what /api/game serves, play after play.
TEST(LivePatch, AnotherLibraryAppliesThePatchesToTheGameAfterEveryPlay)
{
    const QString program = TestBroker::Program();
    if (program.isEmpty())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup-common.sh installs it)";
    mosquitto_lib_init();
    TestBroker broker(program);
    ASSERT_TRUE(broker.Start());
    MqttPublisher publisher("127.0.0.1", broker.Port(), "pylonix/test");
    QString error;
    ASSERT_TRUE(publisher.Start(error)) << error.toStdString();
    TopicReader changes(broker.Port(), "pylonix/test/changes");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return publisher.IsConnected() && changes.Subscribed(); }, 10000));

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
            overBroker = served; // as a client of the broker reads it from the snapshot
            continue;
        }
        overSocket = Patched(std::move(overSocket), message);
        const std::optional<json> change = changes.Message(play);
        ASSERT_TRUE(change);
        overBroker = Patched(std::move(overBroker), *change);
        ASSERT_EQ(overSocket, served);
        ASSERT_EQ(overBroker, served);
    }
    EXPECT_GT(plays.size(), 100u);
}
