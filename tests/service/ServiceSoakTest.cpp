#include "ServiceTestClient.h"

#include "service/JsonEdits.h"

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

// A changed member or table as the pages take it: the new value, or the
// edits that turn the one held into it.
QJsonValue changedValue(const QJsonValue &held, const QJsonValue &value)
{
    if (value.isObject() && value.toObject().contains("$edits"))
        return JsonEdits::Apply(held, value["$edits"].toArray());
    return value;
}

// Tables of "pages" merged as the pages merge them: null drops, a group of
// tables (an object without "columns" or edits) is merged table by table.
QJsonObject mergedPages(QJsonObject target, const QJsonObject &changed)
{
    for (auto entry = changed.begin(); entry != changed.end(); ++entry) {
        const QJsonValue value = entry.value();
        if (value.isNull()) {
            target.remove(entry.key());
        } else if (value.isObject() && !value.toObject().contains("columns") &&
                   !value.toObject().contains("$edits") && target[entry.key()].isObject()) {
            target[entry.key()] = mergedPages(target[entry.key()].toObject(), value.toObject());
        } else {
            target[entry.key()] = changedValue(target[entry.key()], value);
        }
    }
    return target;
}

// A follower of /api/live holding the state its messages make: the snapshot,
// then each change applied.
class Follower
{
public:
    explicit Follower(quint16 port)
    {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString &text) { take(text); });
        socket_.open(QUrl(QString("ws://127.0.0.1:%1/api/live").arg(port)));
    }
    const QJsonObject &State() const { return state_; }
    int Seq() const { return state_["seq"].toInt(); }
    int Messages() const { return messages_; }

private:
    void take(const QString &text)
    {
        ++messages_;
        const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
        if (message.contains("snapshot")) {
            state_ = message["snapshot"].toObject();
            return;
        }
        EXPECT_EQ(message["from"].toInt(), Seq()) << "a change made from another state";
        const QJsonObject changed = message["changed"].toObject();
        for (auto entry = changed.begin(); entry != changed.end(); ++entry) {
            if (entry.key() == "pages")
                state_["pages"] = mergedPages(state_["pages"].toObject(), entry.value().toObject());
            else if (entry.value().isNull())
                state_.remove(entry.key());
            else
                state_[entry.key()] = changedValue(state_[entry.key()], entry.value());
        }
        state_["seq"] = message["seq"];
        state_["updated"] = message["updated"];
    }

    QWebSocket socket_;
    QJsonObject state_;
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
        EXPECT_EQ(follower->State(), served);
        messages += follower->Messages();
    }
    std::printf("soak: %d game(s) in %.1f s, %d documents served, %.1f messages per client\n",
                games, clock.elapsed() / 1000.0, lastSeq, messages / 50.0);

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 128 + 15); // ended by SIGTERM, as asked
}
