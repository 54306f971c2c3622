// The service against hostile clients, over real sockets: requests of every
// shape refused within their bounds, and no client able to hold memory or
// descriptors past its share.
#include "ServiceTestClient.h"

#include "service/GameService.h"
#include "service/WebSocketFrames.h"

#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QWebSocket>
#include <gtest/gtest.h>
#include <malloc.h>

namespace
{

const QByteArray kHandshake = "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                              "Sec-WebSocket-Version: 13\r\n";

// A client that writes what it is told, bytes as they are, and reads what
// comes back without ever blocking the service (it runs on this thread).
struct RawClient {
    explicit RawClient(quint16 port, qint64 receiveBuffer = 0)
    {
        if (receiveBuffer > 0) {
            socket.setReadBufferSize(receiveBuffer);
            socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, receiveBuffer);
        }
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(5000); // the kernel connects; the service needs no turn
    }
    // Sends `request`, then the status of the next answer (its head in
    // `head`); 0 when none came.
    int Exchange(const QByteArray &request = {})
    {
        socket.write(request);
        ClosedWithin(5000, "\r\n\r\n");
        const qsizetype end = received.indexOf("\r\n\r\n");
        head = end < 0 ? QByteArray() : received.first(end + 4);
        received.remove(0, head.size());
        return head.mid(9, 3).toInt();
    }
    // True once the service has closed the connection within `ms` (or
    // `until` has come), everything sent read into `received`.
    bool ClosedWithin(int ms, const QByteArray &until = {})
    {
        return QTest::qWaitFor(
                   [&] {
                       received += socket.readAll();
                       return Closed() || (!until.isEmpty() && received.contains(until));
                   },
                   ms) &&
               Closed();
    }
    bool Closed() const { return socket.state() == QAbstractSocket::UnconnectedState; }

    QTcpSocket socket;
    QByteArray received;
    QByteArray head;
};

QByteArray get(const QByteArray &target, const QByteArray &host = "127.0.0.1",
               const QByteArray &more = {})
{
    return "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\n" + more + "\r\n";
}

// A masked client frame whose header announces `length` payload bytes, with
// `payload` (masked with zeros) as much of them as is sent.
QByteArray clientFrame(quint8 first, quint64 length, const QByteArray &payload = {})
{
    QByteArray frame(1, static_cast<char>(first));
    frame.append(static_cast<char>(0x80 | (length < 126 ? length : 127)));
    for (int shift = 56; length >= 126 && shift >= 0; shift -= 8)
        frame.append(static_cast<char>((length >> shift) & 0xff));
    return frame + QByteArray(4, '\0') + payload;
}

// A service listening on a free loopback port, a first document published.
struct Served {
    explicit Served(const QString &token = {}, ServeSettings settings = {})
    {
        settings.token = token;
        QString error;
        EXPECT_TRUE(service.Listen(settings, error)) << error.toStdString();
        port = service.Port();
        service.Publish(SampleDocument(1, 7));
    }
    GameService service;
    quint16 port = 0;
};

// `count` header fields of a few bytes each.
QByteArray fields(int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += "X-" + QByteArray::number(i) + ": 1\r\n";
    return lines;
}

ServeSettings withLimits(int headMs, int idleMs)
{
    ServeSettings settings;
    settings.limits.headTimeoutMs = headMs;
    settings.limits.idleTimeoutMs = idleMs;
    return settings;
}

} // namespace

TEST(ServiceHardening, AnswersOnlyItsOwnHostNamesAndSitesOrigins)
{
    ServeSettings settings;
    settings.names = {"stats-pc"};
    settings.origins = {"https://board.example"};
    Served served({}, settings);
    const QByteArray port = QByteArray::number(served.port);
    for (const QByteArray &host : QByteArrayList{"127.0.0.1", "localhost:" + port, "[::1]:" + port,
                                                 "127.0.0.2", "Stats-PC:8080", "192.0.2.7"})
        EXPECT_EQ(RawClient(served.port).Exchange(get("/api/game", host)), 200) << host.data();
    for (const QByteArray &host :
         QByteArrayList{"rebind.evil.example", "stats-pc.evil.example", "", "[::1"})
        EXPECT_EQ(RawClient(served.port).Exchange(get("/api/game", host)), 421) << host.data();

    const auto upgrade = [&](const QByteArray &origin) {
        return RawClient(served.port)
            .Exchange(
                get("/api/live", "127.0.0.1:" + port, kHandshake + "Origin: " + origin + "\r\n"));
    };
    EXPECT_EQ(upgrade("http://evil.example"), 403);
    EXPECT_EQ(upgrade("null"), 403);
    EXPECT_EQ(upgrade("http://127.0.0.1:" + port), 101); // the page the service served
    EXPECT_EQ(upgrade("https://board.example"), 101);

    RawClient invited(served.port);
    EXPECT_EQ(invited.Exchange(get("/api/game", "127.0.0.1", "Origin: https://board.example\r\n")),
              200);
    EXPECT_TRUE(invited.head.contains("Access-Control-Allow-Origin: https://board.example\r\n"));
    RawClient other(served.port);
    EXPECT_EQ(other.Exchange(get("/api/game", "127.0.0.1", "Origin: http://evil.example\r\n")),
              200);
    EXPECT_FALSE(other.head.contains("Access-Control"));
}

TEST(ServiceHardening, LiveClientsCannotMakeTheServiceHoldWhatTheySend)
{
    Served served;
    const auto live = [&](qint64 receiveBuffer = 0) {
        auto client = std::make_unique<RawClient>(served.port, receiveBuffer);
        EXPECT_EQ(client->Exchange(get("/api/live", "127.0.0.1", kHandshake)), 101);
        return client;
    };
    // A message of 400 MiB announced, and one never finished: refused with
    // 1009 (too big) at the 64 KiB bound, not assembled.
    auto huge = live();
    huge->socket.write(clientFrame(0x81, 400ull << 20, QByteArray(1000, 'x')));
    ASSERT_TRUE(huge->ClosedWithin(5000));
    EXPECT_TRUE(huge->received.contains(QByteArray::fromHex("880203f1")));
    auto fragments = live();
    for (int i = 0; i < 80 && !fragments->Closed(); ++i)
        fragments->socket.write(clientFrame(i == 0 ? 0x01 : 0x00, 1024, QByteArray(1024, 'x')));
    ASSERT_TRUE(fragments->ClosedWithin(5000));
    EXPECT_TRUE(fragments->received.contains(QByteArray::fromHex("880203f1")));

    // Pings sent by a client that takes no pong: cut off once the pongs
    // would pass the backlog limit, long before all its pings are answered.
    auto pinger = live(4096);
    const QByteArray ping = clientFrame(0x89, 125, QByteArray(125, 'p'));
    int sent = 0;
    for (; sent < 120'000 && !pinger->Closed(); sent += 1000) {
        pinger->socket.write(ping.repeated(1000));
        QTest::qWait(1);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return served.service.LiveClientCount() == 0; }, 10000))
        << sent << " pings sent";
}

TEST(ServiceHardening, ALiveClientThatAnswersNoPingIsCutOff)
{
    ServeSettings settings;
    settings.limits.livePingMs = 200;
    Served served({}, settings);
    QWebSocket answering; // Qt's client answers pings by itself
    answering.open(QUrl(QString("ws://127.0.0.1:%1/api/live").arg(served.port)));
    RawClient silent(served.port);
    EXPECT_EQ(silent.Exchange(get("/api/live", "127.0.0.1", kHandshake)), 101);
    ASSERT_TRUE(QTest::qWaitFor([&] { return served.service.LiveClientCount() == 2; }, 5000));
    EXPECT_TRUE(silent.ClosedWithin(5000));
    EXPECT_TRUE(silent.received.contains(QByteArray::fromHex("8900"))); // it was pinged
    QTest::qWait(500);
    EXPECT_EQ(answering.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(served.service.LiveClientCount(), 1);
}

// A program busy past a ping's time (a long reload on a loaded machine)
// comes back to overdue deadlines before it reads what its clients sent
// meanwhile: the clients answered, and none is cut off for the program's
// own stall.
TEST(ServiceHardening, ClientsThatAnsweredAreNotCutOffForTheServicesOwnStall)
{
    ServeSettings settings;
    settings.limits.livePingMs = 200;
    Served served({}, settings);
    RawClient client(served.port);
    EXPECT_EQ(client.Exchange(get("/api/live", "127.0.0.1", kHandshake)), 101);
    client.ClosedWithin(5000, QByteArray::fromHex("8900"));
    ASSERT_TRUE(client.received.contains(QByteArray::fromHex("8900"))) << "pinged";
    client.socket.write(clientFrame(0x8a, 0));
    client.socket.flush();
    QThread::msleep(1000); // the service's thread busy: its deadline passes unseen
    QTest::qWait(100);
    EXPECT_FALSE(client.Closed());
    EXPECT_EQ(served.service.LiveClientCount(), 1);
}

TEST(ServiceHardening, AClientThatPipelinesRequestsWithoutReadingIsHeldUpThenCutOff)
{
    Served served({}, withLimits(300, 300));
    GameDocument large = SampleDocument(2, 7);
    large.members["notes"] = '"' + QByteArray(256 * 1024, 'n') + '"';
    served.service.Publish(large);

    RawClient greedy(served.port, 4096);
    greedy.socket.write(get("/api/game").repeated(400));
    ASSERT_TRUE(QTest::qWaitFor([&] { return served.service.ConnectionCount() == 1; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return served.service.ConnectionCount() == 0; }, 10000));
    // What it had been sent before it was cut off: a few answers, not 400.
    greedy.socket.setReadBufferSize(0);
    EXPECT_TRUE(greedy.ClosedWithin(5000));
    EXPECT_LT(greedy.received.count("HTTP/1.1 200"), 100);
    EXPECT_EQ(RawClient(served.port).Exchange(get("/api/situation")), 200);
}

TEST(ServiceHardening, SlowIdleAndCrowdingClientsLoseTheirConnections)
{
    ServeSettings settings = withLimits(1000, 300);
    settings.limits.unadmittedPerAddress = 4;
    settings.limits.connectionsPerAddress = 6;
    Served served("press-box", settings);

    // Headers sent a byte at a time: cut off at the head time.
    RawClient slow(served.port);
    const QByteArray request = get("/api/game", "127.0.0.1", "X-Slow: " + QByteArray(200, 's'));
    qsizetype sent = 0;
    for (; sent < request.size() && !slow.Closed(); ++sent) {
        slow.socket.write(request.mid(sent, 1));
        QTest::qWait(20);
    }
    EXPECT_TRUE(slow.Closed()) << "all " << sent << " bytes taken";
    EXPECT_LT(sent, request.size());

    // Idle after an answer: closed at the idle time.
    const QByteArray token = "Authorization: Bearer press-box\r\n";
    RawClient idle(served.port);
    EXPECT_EQ(idle.Exchange(get("/api/game", "127.0.0.1", token)), 200);
    EXPECT_TRUE(idle.ClosedWithin(5000));

    // Connections of one address that have not made a request with the
    // token: at most four.
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 5; ++i)
        silent.push_back(std::make_unique<RawClient>(served.port));
    EXPECT_TRUE(silent.back()->ClosedWithin(2000));
    EXPECT_FALSE(silent.front()->Closed());
    for (const auto &client : silent)
        EXPECT_TRUE(client->ClosedWithin(5000)); // the head time ends them all

    // At most six connections of one address, admitted or not.
    std::vector<std::unique_ptr<RawClient>> readers;
    for (int i = 0; i < 6; ++i) {
        readers.push_back(std::make_unique<RawClient>(served.port));
        EXPECT_EQ(readers.back()->Exchange(get("/api/live", "127.0.0.1", kHandshake + token)), 101);
    }
    RawClient seventh(served.port);
    EXPECT_TRUE(seventh.ClosedWithin(2000));
    EXPECT_EQ(served.service.LiveClientCount(), 6);
}

TEST(ServiceHardening, AllLiveClientsTogetherStayWithinTheTotalBacklog)
{
    ServeSettings settings;
    settings.limits.liveBacklogTotal = 4 * 1024 * 1024;
    Served served({}, settings);
    std::vector<std::unique_ptr<RawClient>> stalled;
    for (int i = 0; i < 12; ++i) {
        stalled.push_back(std::make_unique<RawClient>(served.port, 4096));
        stalled.back()->socket.write(get("/api/live", "127.0.0.1", kHandshake));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return served.service.LiveClientCount() == 12; }, 5000));
    const QByteArray filler(512 * 1024, 'f');
    for (int seq = 2; seq < 12; ++seq) {
        GameDocument document = SampleDocument(seq, seq);
        document.members["notes"] = '"' + QByteArray::number(seq) + filler + '"';
        served.service.Publish(document);
        QTest::qWait(5);
    }
    // The limit, and at most one message for each client beyond it.
    EXPECT_LT(served.service.LiveBacklog(), settings.limits.liveBacklogTotal + 12 * 600 * 1024);
    EXPECT_GT(served.service.LiveBacklog(), 0);
}

TEST(ServiceHardening, ClientsThatDoNotReadShareOneCopyOfTheSnapshotAndTheGame)
{
    Served served;
    GameDocument large = SampleDocument(2, 7);
    // Larger than the system buffers of a connection take.
    large.members["notes"] = '"' + QByteArray(6 * 1024 * 1024, 'n') + '"';
    served.service.Publish(large);
    const QByteArray frame =
        WebSocketFrames::Frame(WebSocketFrames::Opcode::Text, large.SnapshotMessage());
    const auto allocated = [] {
        const struct mallinfo2 heap = mallinfo2();
        return static_cast<qint64>(heap.uordblks + heap.hblkhd);
    };
    const qint64 before = allocated();

    // Two hundred clients connect at once, half of them live, half asking
    // for the whole game, and none reads.
    constexpr int kClients = 200;
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<RawClient>(served.port, 4096));
        clients.back()->socket.write(i % 2 == 0 ? get("/api/live", "127.0.0.1", kHandshake)
                                                : get("/api/game"));
        QCoreApplication::processEvents(); // the service accepts them as they come
    }
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return served.service.LiveClientCount() == kClients / 2; }, 10000));
    QCoreApplication::processEvents();
    // Every client has its answer to come, yet the service holds each about
    // once: nowhere near a copy per client.
    EXPECT_GT(served.service.LiveBacklog(), kClients / 2 * (frame.size() - 9 * 512 * 1024));
    EXPECT_LT(allocated() - before, kClients * frame.size() / 10);

    // Clients that read get theirs whole.
    RawClient &live = *clients[0];
    RawClient &reader = *clients[1];
    for (RawClient *client : {&live, &reader})
        client->socket.setReadBufferSize(0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            live.received += live.socket.readAll();
            return live.received.endsWith("\r\n\r\n" + frame);
        },
        10000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            reader.received += reader.socket.readAll();
            return reader.received.endsWith("\r\n\r\n" + large.Json());
        },
        10000));
}

TEST(ServiceHardening, EveryMalformedOrOversizedRequestGetsAStatusAndIsClosed)
{
    Served served("press-box");
    const auto refusal = [&](const QByteArray &request) {
        RawClient client(served.port);
        const int status = client.Exchange(request);
        EXPECT_TRUE(client.ClosedWithin(2000)) << request.left(60).data();
        return status;
    };
    const QByteArray token = "Authorization: Bearer press-box\r\n";
    const QByteArray host = "Host: 127.0.0.1\r\n";
    const QByteArray field90 = "X-Filler-0000: " + QByteArray(73, 'f') + "\r\n";
    const std::vector<std::pair<QByteArray, int>> refused = {
        {get("/api/live", "127.0.0.1", "Upgrade: websocket\r\n"), 400},
        {get("/api/live", "127.0.0.1", kHandshake.first(kHandshake.size() - 27)), 400},
        {"POST /api/live HTTP/1.1\r\n" + host + kHandshake + "\r\n", 405},
        {"GET /api/live HTTP/1.0\r\n" + host + kHandshake + "\r\n", 400},
        {get("/api/game", "127.0.0.1", token + field90.repeated(101)), 431},
        {get("/api/game", "127.0.0.1", token + fields(300)), 431},
        {get("/api/game", "127.0.0.1", "X-Big: " + QByteArray(200 * 1024, 'b')), 431},
        {get("/api/game?q=" + QByteArray(10 * 1024, 'q')), 414},
        {"GET /api/game HTTP/2.0\r\n" + host + "\r\n", 505},
        {"GET /api/game HTTP/1.1\nHost: 127.0.0.1\n\n", 400},
        {get("/api/game", "127.0.0.1", " folded\r\n"), 400}};
    for (const auto &[request, status] : refused)
        EXPECT_EQ(refusal(request), status) << request.left(60).data();

    // A hundred fields, the token the last: still read, still admitted. The
    // scheme's name is not case-sensitive.
    EXPECT_EQ(RawClient(served.port).Exchange(get("/api/game", "127.0.0.1", fields(98) + token)),
              200);
    for (const QByteArray scheme : {"bearer", "BEARER"}) {
        EXPECT_EQ(RawClient(served.port)
                      .Exchange(get("/api/game", "127.0.0.1",
                                    "Authorization: " + scheme + " press-box\r\n")),
                  200);
    }
}

TEST(ServiceHardening, HeadIsAGetWithoutABodyAndBrowsersAreToldOfTheToken)
{
    Served served("press-box");
    const QByteArray request = " /api/game?token=press-box HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    RawClient getter(served.port);
    EXPECT_EQ(getter.Exchange("GET" + request), 200);
    RawClient header(served.port);
    EXPECT_EQ(header.Exchange("HEAD" + request), 200);
    EXPECT_EQ(header.head, getter.head); // the same length
    EXPECT_TRUE(header.head.contains("Content-Length: " +
                                     QByteArray::number(served.service.Document().Json().size())));
    // Nothing after the head: the next answer follows at once.
    EXPECT_EQ(header.Exchange("HEAD" + request), 200);
    EXPECT_TRUE(header.received.isEmpty());

    const QByteArray browser = "Accept: text/html,application/xhtml+xml,*/*;q=0.8\r\n";
    for (const QByteArray page : {"/", "/scorebug"}) {
        RawClient reader(served.port);
        EXPECT_EQ(reader.Exchange(get(page, "127.0.0.1", browser)), 401);
        EXPECT_TRUE(reader.head.contains("Content-Type: text/html")) << reader.head.data();
    }
    RawClient program(served.port);
    EXPECT_EQ(program.Exchange(get("/", "127.0.0.1", "Accept: application/json\r\n")), 401);
    EXPECT_TRUE(program.head.contains("Content-Type: application/json"));
}
