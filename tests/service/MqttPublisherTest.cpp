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

namespace
{

// A broker of one answer on a free loopback port: it answers every CONNECT
// with `connack` (nothing at all when empty), reads whatever comes after and
// counts the connections.
class FakeBroker
{
public:
    explicit FakeBroker(const QByteArray &connack) : connack_(connack)
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                ++connections_;
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    if (!connack_.isEmpty() && !socket->property("answered").toBool()) {
                        socket->setProperty("answered", true);
                        socket->write(connack_);
                    }
                });
            }
        });
    }
    quint16 Port() const { return server_.serverPort(); }
    int Connections() const { return connections_; }

private:
    QTcpServer server_;
    QByteArray connack_;
    int connections_ = 0;
};

// The program following the small sample game without a window and
// publishing it to a broker; what it tells on stderr is kept.
class PublishingProgram
{
public:
    explicit PublishingProgram(const QStringList &arguments)
    {
        process_.start(PYLONIX_PROGRAM,
                       QStringList{"--no-window", "--game", PYLONIX_SAMPLES_DIR "/small/game.xml"} +
                           arguments);
    }
    ~PublishingProgram()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // Everything told on stderr so far.
    QString Told()
    {
        told_ += QString::fromUtf8(process_.readAllStandardError());
        return told_;
    }
    // The lines told so far that hold `text`.
    qsizetype Count(const QString &text) { return Told().split('\n').filter(text).size(); }
    // Waits until a line holding `text` is told; true when one is.
    bool WaitForLine(const QString &text)
    {
        return QTest::qWaitFor([&] { return Count(text) > 0; }, 15000);
    }

private:
    QProcess process_;
    QString told_;
};

// Publishes `payload` at `topic` once (QoS 1) as `user` (anonymously when
// empty) and waits for the broker's acknowledgement.
bool publishOnce(quint16 port, const QByteArray &user, const QByteArray &password,
                 const QByteArray &topic, const QByteArray &payload)
{
    std::atomic<bool> acknowledged{false};
    mosquitto *client = mosquitto_new(nullptr, true, &acknowledged);
    mosquitto_publish_callback_set(client, [](mosquitto *, void *flag, int) {
        *static_cast<std::atomic<bool> *>(flag) = true;
    });
    if (!user.isEmpty())
        mosquitto_username_pw_set(client, user.constData(), password.constData());
    const bool done =
        mosquitto_connect(client, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS &&
        mosquitto_loop_start(client) == MOSQ_ERR_SUCCESS &&
        mosquitto_publish(client, nullptr, topic.constData(), static_cast<int>(payload.size()),
                          payload.constData(), 1, false) == MOSQ_ERR_SUCCESS &&
        QTest::qWaitFor([&] { return acknowledged.load(); }, 10000);
    mosquitto_disconnect(client);
    mosquitto_loop_stop(client, false);
    mosquitto_destroy(client);
    return done;
}

} // namespace

TEST(MqttPublisher, PublishesTheSnapshotRetainedAndTheChangesAndComesBack)
{
    PYLONIX_NEED_MOSQUITTO(program);
    TestBroker broker(program);
    ASSERT_TRUE(broker.Start());

    const QString prefix = MqttPublisher::DefaultPrefix("10/17/2026 AMW at KBM");
    EXPECT_EQ(prefix, "pylonix/10-17-2026-AMW-at-KBM");
    // Brokers refuse topics with control characters; a game id makes none.
    const QString controls = QString("a") + QChar(0x7F) + "b" + QChar(0x85) + "c" + QChar(0x9F);
    EXPECT_EQ(MqttPublisher::DefaultPrefix(controls), "pylonix/a-b-c-");
    EXPECT_EQ(MqttSettings::TopicProblem(MqttPublisher::DefaultPrefix(QString(70000, 'x'))), "");
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
    // by itself and the latest state is there again.
    broker.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !publisher.IsConnected(); }, 10000));
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.IsConnected(); }, 20000));
    const auto joined = TestSubscriber(broker.Port(), prefix).joined(2);
    ASSERT_TRUE(joined);
    EXPECT_EQ((*joined)["scoreboard"]["home_score"], 14);
}

// While the broker is away nothing is queued for it, however many reloads
// come: it gets the latest retained state when it is back. A broker that
// acknowledges nothing is handed no more than a bounded amount.
TEST(MqttPublisher, HoldsOnlyTheLatestStateWhileTheBrokerIsAwayAndBoundsWhatWaits)
{
    PYLONIX_NEED_MOSQUITTO(program);
    TestBroker broker(program); // not started: its port is closed
    MqttPublisher publisher("127.0.0.1", broker.Port(), "pylonix/away");
    QString error;
    ASSERT_TRUE(publisher.Start(error)) << error.toStdString();
    GameDocument document = SampleGameDocument(1);
    for (int seq = 1; seq <= 20; ++seq) {
        document.seq = seq;
        publisher.Publish(document);
        EXPECT_EQ(publisher.UnacknowledgedBytes(), 0);
    }
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.IsConnected(); }, 20000));
    TestSubscriber page(broker.Port(), "pylonix/away");
    ASSERT_TRUE(page.joined(20));
    for (const auto &message : page.received())
        EXPECT_TRUE(message.retained) << "a change queued for " << message.topic.toStdString();

    FakeBroker deaf(
        QByteArray::fromHex("2003000000")); // takes the connection, acknowledges nothing
    MqttPublisher flooding("127.0.0.1", deaf.Port(), "pylonix/deaf");
    ASSERT_TRUE(flooding.Start(error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return flooding.IsConnected(); }, 10000));
    // Every reload rewrites a large part of the document.
    qint64 most = 0;
    const qsizetype part = 200 * 1024;
    for (int seq = 1; seq <= 100; ++seq) {
        document.seq = seq;
        document.members["filler"] =
            '"' + QByteArray(part, static_cast<char>('a' + seq % 26)) + '"';
        flooding.Publish(document);
        most = std::max(most, flooding.UnacknowledgedBytes());
    }
    EXPECT_GT(most, 20 * part);
    EXPECT_LE(most, 8 * 1024 * 1024);
}

// Each way the broker path can fail is told in one line on stderr, once
// whatever the retries, and the program keeps trying.
TEST(MqttBrokerPath, AnAbsentBrokerIsToldAndTheGameArrivesWhenItComes)
{
    PYLONIX_NEED_MOSQUITTO(program);
    TestBroker broker(program);
    const QString where = QString("127.0.0.1:%1").arg(broker.Port());
    PublishingProgram pylonix({"--mqtt", where, "--mqtt-topic", "pylonix/absent"});
    ASSERT_TRUE(pylonix.WaitForLine("cannot connect to the MQTT broker at " + where));
    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(
        pylonix.WaitForLine("publishing to the MQTT broker at " + where + " under pylonix/absent"));
    TestSubscriber page(broker.Port(), "pylonix/absent");
    const auto snapshot = page.waitFor("pylonix/absent/snapshot", 1);
    ASSERT_TRUE(snapshot);
    EXPECT_TRUE(snapshot->retained);
    EXPECT_EQ(pylonix.Count("cannot connect"), 1) << pylonix.Told().toStdString();
}

TEST(MqttBrokerPath, ARefusalOrABrokerThatNeverAnswersIsToldOnce)
{
    mosquitto_lib_init();
    FakeBroker refusing(QByteArray::fromHex("2003008600")); // bad user name or password
    PublishingProgram refused(
        {"--mqtt", QString("127.0.0.1:%1").arg(refusing.Port()), "--mqtt-topic", "pylonix/no"});
    ASSERT_TRUE(refused.WaitForLine(
        QString("the MQTT broker at 127.0.0.1:%1 refuses the connection: ").arg(refusing.Port())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return refusing.Connections() >= 3; }, 20000));
    EXPECT_EQ(refused.Told().count('\n'), 1) << refused.Told().toStdString();

    FakeBroker silent({});
    PublishingProgram waiting(
        {"--mqtt", QString("127.0.0.1:%1").arg(silent.Port()), "--mqtt-topic", "pylonix/silent"});
    EXPECT_TRUE(waiting.WaitForLine(
        QString("the MQTT broker at 127.0.0.1:%1 does not answer").arg(silent.Port())));
}

TEST(MqttBrokerPath, AMessageLargerThanTheBrokerTakesIsToldAndTheConnectionKept)
{
    PYLONIX_NEED_MOSQUITTO(program);
    TestBroker broker(program);
    broker.Configure("max_packet_size 2000\n");
    ASSERT_TRUE(broker.Start());
    PublishingProgram pylonix(
        {"--mqtt", QString("127.0.0.1:%1").arg(broker.Port()), "--mqtt-topic", "pylonix/small"});
    ASSERT_TRUE(pylonix.WaitForLine("takes messages of at most 2000 bytes"));
    EXPECT_EQ(pylonix.Count("publishing to"), 1) << pylonix.Told().toStdString();
    EXPECT_EQ(pylonix.Count("lost"), 0) << pylonix.Told().toStdString();
}

// The site's configuration: anyone may read the game's topics, only the
// program's user may publish them.
TEST(MqttBrokerPath, OnlyTheProgramsUserPublishesAndPagesReadAnonymously)
{
    PYLONIX_NEED_MOSQUITTO(program);
    TestBroker broker(program);
    const QString passwords = broker.AddUser("pylonix", "stadium-secret");
    const QString acl =
        broker.WriteFile("acl", "topic read pylonix/#\nuser pylonix\ntopic readwrite pylonix/#\n");
    broker.Configure(QString("password_file %1\nacl_file %2\n").arg(passwords, acl));
    ASSERT_TRUE(broker.Start());
    const QString where = QString("127.0.0.1:%1").arg(broker.Port());
    const QString secret = broker.WriteFile("secret", "stadium-secret\n");
    const QString wrong = broker.WriteFile("wrong", "wrong-secret");

    PublishingProgram pylonix({"--mqtt", where, "--mqtt-topic", "pylonix/acl", "--mqtt-user",
                               "pylonix", "--mqtt-password-file", secret});
    TestSubscriber page(broker.Port(), "pylonix/acl"); // anonymous
    ASSERT_TRUE(page.waitFor("pylonix/acl/snapshot", 1));
    // The broker passes messages on in the order it takes them: the anonymous
    // one, acknowledged first, would reach the page before the mark.
    ASSERT_TRUE(publishOnce(broker.Port(), {}, {}, "pylonix/acl/changes", R"({"seq":98})"));
    ASSERT_TRUE(publishOnce(broker.Port(), "pylonix", "stadium-secret", "pylonix/acl/changes",
                            R"({"seq":99})"));
    ASSERT_TRUE(page.waitFor("pylonix/acl/changes", 99));
    for (const auto &message : page.received())
        EXPECT_NE(message.json["seq"].toInt(), 98) << "an anonymous publish reached the page";

    PublishingProgram refused({"--mqtt", where, "--mqtt-topic", "pylonix/acl", "--mqtt-user",
                               "pylonix", "--mqtt-password-file", wrong});
    EXPECT_TRUE(refused.WaitForLine("refuses the connection: "));
    PublishingProgram outside({"--mqtt", where, "--mqtt-topic", "elsewhere/acl", "--mqtt-user",
                               "pylonix", "--mqtt-password-file", secret});
    EXPECT_TRUE(outside.WaitForLine("refuses what is published to elsewhere/acl/"));
    for (PublishingProgram *run : {&pylonix, &refused, &outside})
        EXPECT_FALSE(run->Told().contains("secret")) << run->Told().toStdString();

    // A password file that cannot be read ends the program in one line.
    QProcess missing;
    missing.start(PYLONIX_PROGRAM,
                  {"--no-window", "--game", PYLONIX_SAMPLES_DIR "/small/game.xml", "--mqtt", where,
                   "--mqtt-user", "pylonix", "--mqtt-password-file", secret + ".none"});
    ASSERT_TRUE(missing.waitForFinished(10000));
    EXPECT_EQ(missing.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(missing.readAllStandardError()).count('\n'), 1);
}

// Against a broker's TLS listener, with a CA and a server certificate made
// here: the CA that signed the broker's certificate lets the game through;
// another CA is told in one line and nothing is published.
TEST(MqttBrokerPath, TlsPublishesWithTheBrokersCaAndToldOnceWithAnother)
{
    PYLONIX_NEED_MOSQUITTO(program);
    const QString openssl = QStandardPaths::findExecutable("openssl");
    if (openssl.isEmpty())
        GTEST_SKIP() << "openssl is not installed (scripts/setup-common.sh installs it)";
    QTemporaryDir keys;
    const auto run = [&](const QStringList &arguments) {
        QProcess tool;
        tool.setWorkingDirectory(keys.path());
        tool.start(openssl, arguments);
        return tool.waitForFinished(30000) && tool.exitCode() == 0;
    };
    const QStringList ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    for (const QString ca : {"ca", "other-ca"})
        ASSERT_TRUE(run(QStringList{"req", "-x509", "-days", "1", "-subj", "/CN=" + ca, "-keyout",
                                    ca + ".key", "-out", ca + ".crt"} +
                        ec));
    ASSERT_TRUE(run(QStringList{"req", "-subj", "/CN=127.0.0.1", "-keyout", "server.key", "-out",
                                "server.csr"} +
                    ec));
    QFile extensions(keys.filePath("server.ext"));
    ASSERT_TRUE(extensions.open(QIODevice::WriteOnly));
    extensions.write("subjectAltName=IP:127.0.0.1\n");
    extensions.close();
    ASSERT_TRUE(run({"x509", "-req", "-days", "1", "-in", "server.csr", "-CA", "ca.crt", "-CAkey",
                     "ca.key", "-CAcreateserial", "-extfile", "server.ext", "-out", "server.crt"}));

    TestBroker broker(program);
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 tlsPort = probe.serverPort();
    probe.close();
    broker.Configure(QString("listener %1 127.0.0.1\ncafile %2\ncertfile %3\nkeyfile %4\n")
                         .arg(tlsPort)
                         .arg(keys.filePath("ca.crt"), keys.filePath("server.crt"),
                              keys.filePath("server.key")));
    ASSERT_TRUE(broker.Start());
    const QString where = QString("127.0.0.1:%1").arg(tlsPort);

    PublishingProgram trusted(
        {"--mqtt", where, "--mqtt-topic", "pylonix/tls", "--mqtt-cafile", keys.filePath("ca.crt")});
    ASSERT_TRUE(trusted.WaitForLine("publishing to the MQTT broker at " + where))
        << trusted.Told().toStdString();
    EXPECT_TRUE(TestSubscriber(broker.Port(), "pylonix/tls").joined(1));

    PublishingProgram other({"--mqtt", where, "--mqtt-topic", "pylonix/other", "--mqtt-cafile",
                             keys.filePath("other-ca.crt")});
    ASSERT_TRUE(other.WaitForLine("cannot connect to the MQTT broker at " + where));
    EXPECT_TRUE(other.Told().contains("certificate verify failed")) << other.Told().toStdString();
    EXPECT_EQ(other.Told().count('\n'), 1) << other.Told().toStdString();
    EXPECT_EQ(other.Count("publishing to"), 0);
}
