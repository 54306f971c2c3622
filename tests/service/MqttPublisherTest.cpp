#include "ServiceTestClient.h"
#include "TestBroker.h"
#include "TestSubscriber.h"

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
        TestSubscriber witness(broker.Port(), prefix);
        ASSERT_TRUE(witness.waitFor(prefix + "/snapshot", 1));
    }

    {
        TestSubscriber late(broker.Port(), prefix); // subscribes after the publish
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
        TestSubscriber witness(broker.Port(), prefix);
        ASSERT_TRUE(witness.waitFor(prefix + "/snapshot", 2));
    }
    TestSubscriber after(broker.Port(), prefix);
    const auto snapshot = after.waitFor(prefix + "/snapshot", 2);
    ASSERT_TRUE(snapshot);
    EXPECT_TRUE(snapshot->retained);
}
