#include "ServiceTestClient.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

namespace
{

// A follower of /api/live holding the state its messages make: the snapshot,
// then each change's patch applied.
class Follower
{
public:
    explicit Follower(quint16 port)
    {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString &text) { take(text); });
        socket_.open(QUrl(QString("ws://127.0.0.1:%1/api/live").arg(port)));
    }
    const nlohmann::json &State() const { return state_; }
    int Seq() const { return state_.is_object() ? state_.value("seq", 0) : 0; }
    int Messages() const { return messages_; }

private:
    void take(const QString &text)
    {
        ++messages_;
        const nlohmann::json message = nlohmann::json::parse(text.toStdString());
        if (message.contains("snapshot"))
            state_ = message["snapshot"];
        else
            state_ = Patched(std::move(state_), message);
    }

    QWebSocket socket_;
    nlohmann::json state_;
    int messages_ = 0;
};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool runFeed(QProcess &feed, const QStringList &arguments)
{
    feed.start(PYLONIX_FEED, arguments);
    return QTest::qWaitFor([&] { return feed.state() == QProcess::NotRunning; }, 120000) &&
           feed.exitCode() == 0;
}

} // namespace

// The feed plays a 10x game in place at full speed into the file the program
// serves while 50 clients follow it live. Afterwards the program still runs,
// every client has the last seq, and every client's state is what /api/game
// serves. PYLONIX_SOAK_SECONDS plays games one after another for that long.
TEST(ServiceSoak, FiftyClientsFollowATenfoldGamePlayedAtFullSpeed)
{
    const int seconds = qEnvironmentVariableIntValue("PYLONIX_SOAK_SECONDS");
    QTemporaryDir directory;
    const QString game = directory.filePath("game.xml");
    QProcess feed;
    const QStringList tenfold{"--out", game, "--scale", "10", "--seed", "21"};
    ASSERT_TRUE(runFeed(feed, tenfold + QStringList{"--until", "1"}));

    const quint16 port = freePort();
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(PYLONIX_PROGRAM,
                  {"--game", game, "--serve", QString("127.0.0.1:%1").arg(port), "--no-window"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Request(port, "/api/game").status == 200; }, 30000));

    std::vector<std::unique_ptr<Follower>> followers;
    for (int i = 0; i < 50; ++i)
        followers.push_back(std::make_unique<Follower>(port));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(followers.begin(), followers.end(),
                               [](const auto &follower) { return follower->Seq() > 0; });
        },
        30000));

    QElapsedTimer clock;
    clock.start();
    int games = 0;
    do {
        const QString seed = QString::number(21 + games);
        ASSERT_TRUE(runFeed(feed, {"--out", game, "--scale", "10", "--seed", seed, "--interval",
                                   "0", "--write", "inplace"}));
        ++games;
    } while (clock.elapsed() < seconds * 1000LL);
    ASSERT_EQ(program.state(), QProcess::Running) << "the program ended while the game was played";

    // The last write is the final game. Every client must come to the seq
    // /api/game serves once it shows it (the states are compared before any
    // further event can move a client on).
    QJsonObject served;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            served = Request(port, "/api/game").json();
            const int seq = served["seq"].toInt();
            return served["scoreboard"].toObject()["final"].toBool() &&
                   std::all_of(followers.begin(), followers.end(),
                               [&](const auto &follower) { return follower->Seq() == seq; });
        },
        60000))
        << "a client was left behind";
    const int lastSeq = served["seq"].toInt();
    int messages = 0;
    for (const auto &follower : followers) {
        EXPECT_EQ(follower->Seq(), lastSeq);
        EXPECT_EQ(follower->State(),
                  nlohmann::json::parse(QJsonDocument(served).toJson().toStdString()));
        messages += follower->Messages();
    }
    std::printf("soak: %d game(s) in %.1f s, %d documents served, %.1f messages per client\n",
                games, clock.elapsed() / 1000.0, lastSeq, messages / 50.0);

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 128 + 15); // ended by SIGTERM, as asked
}
