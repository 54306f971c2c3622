#include "ServiceTestClient.h"

#include "service/ServeSettings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace
{

const QByteArray kUpgrade = "GET /api/live HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                            "Sec-WebSocket-Version: 13\r\n\r\n";

// The seq a live message is of: every message starts with it.
int seqOf(QByteArrayView message)
{
    static const QRegularExpression seq(R"(^\{"seq":(\d+))");
    return seq.match(QString::fromLatin1(message.first(std::min<qsizetype>(message.size(), 24))))
        .captured(1)
        .toInt();
}

// A follower of /api/live. One that keeps the state holds what its messages
// make: the snapshot, then each change's patch applied; the others only
// note the seq of each message.
class Follower
{
public:
    Follower(quint16 port, bool keepsState) : keepsState_(keepsState)
    {
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString &text) { take(text); });
        socket_.open(QUrl(QString("ws://127.0.0.1:%1/api/live").arg(port)));
    }
    const nlohmann::json &State() const { return state_; }
    int Seq() const { return seq_; }
    int Messages() const { return messages_; }
    bool Connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }

private:
    void take(const QString &text)
    {
        ++messages_;
        seq_ = seqOf(text.toLatin1());
        if (!keepsState_)
            return;
        const nlohmann::json message = nlohmann::json::parse(text.toStdString());
        if (message.contains("snapshot"))
            state_ = message["snapshot"];
        else
            state_ = Patched(std::move(state_), message);
    }

    const bool keepsState_;
    QWebSocket socket_;
    nlohmann::json state_;
    int seq_ = 0;
    int messages_ = 0;
};

// A live client that takes at most `chunk` bytes each turn of its timer, far
// slower than the feed writes, and answers pings as browsers do.
class SlowReader
{
public:
    SlowReader(quint16 port, qint64 chunk)
    {
        socket_.setReadBufferSize(chunk);
        socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, chunk);
        socket_.connectToHost(QHostAddress::LocalHost, port);
        socket_.write(kUpgrade);
        QObject::connect(&timer_, &QTimer::timeout, [this, chunk] { take(socket_.read(chunk)); });
        timer_.start(10);
    }
    int Seq() const { return seq_; }

private:
    void take(const QByteArray &bytes)
    {
        received_ += bytes;
        if (!upgraded_) {
            const qsizetype end = received_.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            upgraded_ = true;
            received_.remove(0, end + 4);
        }
        // Frames from the service are unmasked.
        while (received_.size() >= 2) {
            qint64 length = static_cast<quint8>(received_[1]) & 0x7f;
            const int lengthBytes = length == 126 ? 2 : length == 127 ? 8 : 0;
            if (received_.size() < 2 + lengthBytes)
                return;
            if (lengthBytes > 0)
                length = 0;
            for (int i = 0; i < lengthBytes; ++i)
                length = (length << 8) | static_cast<quint8>(received_[2 + i]);
            const qint64 frameSize = 2 + lengthBytes + length;
            if (received_.size() < frameSize)
                return;
            const QByteArrayView payload = QByteArrayView(received_).sliced(2 + lengthBytes);
            const int opcode = received_[0] & 0x0f;
            if (opcode == 0x1)
                seq_ = seqOf(payload);
            else if (opcode == 0x9)
                socket_.write(QByteArray("\x8a\x80\0\0\0\0", 6)); // a masked empty pong
            received_.remove(0, frameSize);
        }
    }

    QTcpSocket socket_;
    QTimer timer_;
    QByteArray received_;
    bool upgraded_ = false;
    int seq_ = 0;
};

// A live client that asks for the game and never reads a byte of it.
struct Stalled {
    explicit Stalled(quint16 port)
    {
        socket.setReadBufferSize(4096);
        socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write(kUpgrade);
    }
    QTcpSocket socket;
};

// What the program holds in memory now and at most so far, in MiB.
struct Memory {
    double now = 0;
    double peak = 0;
};

Memory memoryOf(qint64 pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    Memory memory;
    if (!status.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 2 && words[0] == "VmRSS:")
            memory.now = words[1].toDouble() / 1024;
        else if (words.size() >= 2 && words[0] == "VmHWM:")
            memory.peak = words[1].toDouble() / 1024;
    }
    return memory;
}

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
// serves while 200 clients follow it live: 20 keep the whole state, 140 note
// each seq, 20 read slowly and 20 never read. Afterwards the program still
// runs, every reading client has the last seq, every client keeping the state
// holds what /api/game serves, and the program's memory has not grown from
// the first game to the last by more than the live clients' total backlog
// may hold. PYLONIX_SOAK_SECONDS plays games one after another for that long.
TEST(ServiceSoak, TwoHundredClientsFollowATenfoldGamePlayedAtFullSpeed)
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
    for (int i = 0; i < 160; ++i)
        followers.push_back(std::make_unique<Follower>(port, i < 20));
    std::vector<std::unique_ptr<SlowReader>> slow;
    std::vector<std::unique_ptr<Stalled>> stalled;
    for (int i = 0; i < 20; ++i) {
        slow.push_back(std::make_unique<SlowReader>(port, 16 * 1024));
        stalled.push_back(std::make_unique<Stalled>(port));
    }
    // The reading clients whose seq is `seq`.
    const auto readersOn = [&](const std::function<bool(int)> &seq) {
        return std::count_if(followers.begin(), followers.end(),
                             [&](const auto &follower) { return seq(follower->Seq()); }) +
               std::count_if(slow.begin(), slow.end(),
                             [&](const auto &reader) { return seq(reader->Seq()); });
    };
    const long readers = static_cast<long>(followers.size() + slow.size());
    const auto connectedFollowers = [&] {
        return static_cast<long>(
            std::count_if(followers.begin(), followers.end(),
                          [](const auto &follower) { return follower->Connected(); }));
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return readersOn([](int seq) { return seq > 0; }) == readers; }, 30000));
    const Memory start = memoryOf(program.processId());

    QElapsedTimer clock;
    clock.start();
    std::vector<double> afterGames;
    do {
        const QString seed = QString::number(21 + static_cast<int>(afterGames.size()));
        ASSERT_TRUE(runFeed(feed, {"--out", game, "--scale", "10", "--seed", seed, "--interval",
                                   "0", "--write", "inplace"}));
        afterGames.push_back(memoryOf(program.processId()).now);
        const auto [lowest, highest] =
            std::minmax_element(followers.begin(), followers.end(),
                                [](const auto &a, const auto &b) { return a->Seq() < b->Seq(); });
        std::printf("soak: game %zu played at %.1f s, %.0f MiB; followers on seq %d to %d, %ld "
                    "connected; /api/game on seq %d\n",
                    afterGames.size(), clock.elapsed() / 1000.0, afterGames.back(),
                    (*lowest)->Seq(), (*highest)->Seq(), connectedFollowers(),
                    Request(port, "/api/game").json()["seq"].toInt());
    } while (clock.elapsed() < seconds * 1000LL);
    const double played = clock.elapsed() / 1000.0;
    ASSERT_EQ(program.state(), QProcess::Running) << "the program ended while the game was played";

    // The last write is the final game. Every reading client must come to
    // the seq /api/game serves once it shows it (the states are compared
    // before any further event can move a client on).
    QJsonObject served;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            served = Request(port, "/api/game").json();
            const int seq = served["seq"].toInt();
            return served["scoreboard"].toObject()["final"].toBool() &&
                   readersOn([seq](int on) { return on == seq; }) == readers;
        },
        120000))
        << "a client was left behind";
    const int lastSeq = served["seq"].toInt();
    const nlohmann::json servedState =
        nlohmann::json::parse(QJsonDocument(served).toJson().toStdString());
    int messages = 0;
    for (const auto &follower : followers) {
        EXPECT_EQ(follower->Seq(), lastSeq);
        if (!follower->State().is_null()) {
            EXPECT_EQ(follower->State(), servedState);
        }
        messages += follower->Messages();
    }
    const Memory end = memoryOf(program.processId());
    const long connected = std::count_if(stalled.begin(), stalled.end(), [](const auto &client) {
        return client->socket.state() == QAbstractSocket::ConnectedState;
    });
    std::printf("soak: %zu game(s) in %.1f s, the clients up to date %.1f s later, %d documents "
                "served, %.1f messages per follower; "
                "%ld of %ld reading clients on the last seq, %ld of 20 never-reading clients "
                "still connected; RSS %.0f MiB at the start, %.0f after the first game, %.0f at "
                "the end, %.0f at most\n",
                afterGames.size(), played, clock.elapsed() / 1000.0 - played, lastSeq,
                messages / static_cast<double>(followers.size()),
                readersOn([lastSeq](int seq) { return seq == lastSeq; }), readers, connected,
                start.now, afterGames.front(), end.now, end.peak);
    // Flat: what the first game left in use is what the program keeps; the
    // clients' unsent messages may add no more than their total bound.
    const double backlogBound = ServeLimits().liveBacklogTotal / (1024.0 * 1024.0);
    EXPECT_LE(*std::max_element(afterGames.begin(), afterGames.end()),
              afterGames.front() + backlogBound);
    EXPECT_LE(end.now, afterGames.front() + backlogBound);

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 128 + 15); // ended by SIGTERM, as asked
}
