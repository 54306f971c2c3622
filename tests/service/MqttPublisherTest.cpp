#include "ServiceTestClient.h"
#include "TestBroker.h"

#include "service/MqttPublisher.h"

#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <mosquitto.h>
#include <mutex>

namespace
{

// Subscribes to everything under a prefix and keeps what arrives.
class Subscriber
{
public:
    Subscriber(quint16 port, const QString &prefix) : topic_((prefix + "/#").toUtf8())
    {
        client_ = mosquitto_new(nullptr, true, this);
        mosquitto_connect_callback_set(client_, [](mosquitto *client, void *self, int) {
            mosquitto_subscribe(client, nullptr,
                                static_cast<Subscriber *>(self)->topic_.constData(), 1);
        });
        mosquitto_message_callback_set(
            client_, [](mosquitto *, void *self, const mosquitto_message *message) {
                auto *subscriber = static_cast<Subscriber *>(self);
                const std::lock_guard lock(subscriber->mutex_);
                subscriber->received_.append(
                    {QString::fromUtf8(message->topic),
                     QJsonDocument::fromJson(QByteArray(static_cast<const char *>(message->payload),
                                                        message->payloadlen))
                         .object(),
                     message->retain});
            });
        mosquitto_connect(client_, "127.0.0.1", port, 30);
        mosquitto_loop_start(client_);
    }
    ~Subscriber()
    {
        mosquitto_disconnect(client_);
        mosquitto_loop_stop(client_, false);
        mosquitto_destroy(client_);
    }

    struct Message {
        QString topic;
        QJsonObject json;
        bool retained = false;
    };

    // Waits for a message on `topic` with "seq" `seq`.
    std::optional<Message> waitFor(const QString &topic, int seq)
    {
        std::optional<Message> found;
        (void)QTest::qWaitFor(
            [&] {
                const std::lock_guard lock(mutex_);
                for (const Message &message : received_)
                    if (message.topic == topic && message.json["seq"].toInt() == seq)
                        found = message;
                return found.has_value();
            },
            15000);
        return found;
    }

private:
    QByteArray topic_;
    mosquitto *client_ = nullptr;
    std::mutex mutex_;
    QList<Message> received_;
};

} // namespace

TEST(MqttPublisher, PublishesTheSnapshotRetainedAndTheChangesAndComesBack)
{
    const QString program = TestBroker::Program();
    if (program.isEmpty())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup-common.sh installs it)";
    mosquitto_lib_init();
    TestBroker broker(program);
    ASSERT_TRUE(broker.Start());

    const QString prefix = MqttPublisher::DefaultPrefix("10/17/2026 AMW at KBM");
    EXPECT_EQ(prefix, "pylonix/10-17-2026-AMW-at-KBM");
    MqttPublisher publisher("127.0.0.1", broker.Port(), prefix);
    QString error;
    ASSERT_TRUE(publisher.Start(error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.IsConnected(); }, 10000));
    publisher.Publish(SampleDocument(1, 7));
    // A subscriber from before the message reached the broker would get it
    // live, not retained: wait until one witness has it.
    {
        Subscriber witness(broker.Port(), prefix);
        ASSERT_TRUE(witness.waitFor(prefix + "/snapshot", 1));
    }

    {
        Subscriber late(broker.Port(), prefix); // subscribes after the publish
        const auto snapshot = late.waitFor(prefix + "/snapshot", 1);
        ASSERT_TRUE(snapshot);
        EXPECT_TRUE(snapshot->retained);
        EXPECT_EQ(
            snapshot->json["snapshot"].toObject()["scoreboard"].toObject()["home_score"].toInt(),
            7);

        publisher.Publish(SampleDocument(2, 14));
        const auto changes = late.waitFor(prefix + "/changes", 2);
        ASSERT_TRUE(changes);
        EXPECT_EQ(changes->json["patch"][0]["path"].toString(), "/scoreboard/home_score");
    }

    // The broker goes away and comes back empty: the publisher reconnects
    // by itself and the snapshot is there again.
    broker.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !publisher.IsConnected(); }, 10000));
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.IsConnected(); }, 20000));
    {
        Subscriber witness(broker.Port(), prefix);
        ASSERT_TRUE(witness.waitFor(prefix + "/snapshot", 2));
    }
    Subscriber after(broker.Port(), prefix);
    const auto snapshot = after.waitFor(prefix + "/snapshot", 2);
    ASSERT_TRUE(snapshot);
    EXPECT_TRUE(snapshot->retained);
}
