#include "ServiceTestClient.h"

#include "service/GameService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <gtest/gtest.h>

namespace
{

// A service on a free loopback port, serving the sample document.
class GameServiceTest : public testing::Test
{
protected:
    void listen(const QString &token = {})
    {
        ServeSettings settings;
        settings.token = token;
        QString error;
        ASSERT_TRUE(service.Listen(settings, error)) << error.toStdString();
        port = service.Port();
        ASSERT_NE(port, 0);
    }

    QUrl liveUrl(const QString &query = {}) const
    {
        return QUrl(QString("ws://127.0.0.1:%1/api/live%2").arg(port).arg(query));
    }

    GameService service;
    quint16 port = 0;
};

// A WebSocket client that keeps every message it gets.
struct LiveReader {
    explicit LiveReader(const QUrl &url)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        socket.open(url);
    }
    bool waitFor(qsizetype count)
    {
        return QTest::qWaitFor([&] { return messages.size() >= count; }, 10000);
    }
    QWebSocket socket;
    QList<QJsonObject> messages;
};

// The messages in what a raw client read after the handshake's answer: the
// payloads of the frames, joined until a frame marked final.
QList<QJsonObject> messagesIn(const QByteArray &stream)
{
    QList<QJsonObject> messages;
    qsizetype at = stream.indexOf("\r\n\r\n");
    if (at < 0)
        return messages;
    at += 4;
    QByteArray message;
    while (at + 2 <= stream.size()) {
        const auto byte = [&](qsizetype i) { return static_cast<quint8>(stream[i]); };
        const bool final = byte(at) & 0x80;
        quint64 length = byte(at + 1) & 0x7f;
        qsizetype header = 2;
        if (length == 126 || length == 127) {
            const int bytes = length == 126 ? 2 : 8;
            if (at + 2 + bytes > stream.size())
                break;
            length = 0;
            for (int i = 0; i < bytes; ++i)
                length = (length << 8) | byte(at + 2 + i);
            header += bytes;
        }
        if (at + header + static_cast<qsizetype>(length) > stream.size())
            break;
        message += stream.mid(at + header, static_cast<qsizetype>(length));
        if (final)
            messages.append(QJsonDocument::fromJson(std::exchange(message, {})).object());
        at += header + static_cast<qsizetype>(length);
    }
    return messages;
}

} // namespace

TEST_F(GameServiceTest, ServesTheDocumentTheGlanceAndTablesByKey)
{
    listen();
    EXPECT_EQ(Request(port, "/api/game").status, 503); // nothing published yet
    const GameDocument document = SampleDocument(4, 10);
    service.Publish(document);

    const HttpAnswer game = Request(port, "/api/game");
    EXPECT_EQ(game.status, 200);
    EXPECT_EQ(game.body, document.Json());
    const HttpAnswer glance = Request(port, "/api/situation");
    EXPECT_EQ(glance.status, 200);
    EXPECT_EQ(glance.body, document.SituationJson());
    const HttpAnswer table = Request(port, "/api/pages/offense/home/passing");
    EXPECT_EQ(table.status, 200);
    EXPECT_EQ(table.body, document.pages.at("offense/home/passing"));
    EXPECT_EQ(Request(port, "/api/pages/team_stats").body, document.pages.at("team_stats"));

    for (const QString page : {"/", "/scorebug"}) {
        const HttpAnswer answer = Request(port, page);
        EXPECT_EQ(answer.status, 200) << page.toStdString();
        EXPECT_TRUE(answer.body.contains("Pylonix.follow(")) << "scripts written in";
        EXPECT_FALSE(answer.body.contains("src=")) << "nothing fetched beside the page";
    }
}

TEST_F(GameServiceTest, RefusesWhatItDoesNotServeWithAJsonError)
{
    listen();
    service.Publish(SampleDocument(1, 0));
    const auto expectError = [](const HttpAnswer &answer, int status) {
        EXPECT_EQ(answer.status, status);
        EXPECT_TRUE(answer.json()["error"].isString()) << answer.body.toStdString();
    };
    expectError(Request(port, "/api/pages/offense/home"), 404);
    expectError(Request(port, "/api/pages/nothing"), 404);
    expectError(Request(port, "/index.html"), 404);
    expectError(Request(port, "/common.js"), 404);
    expectError(Request(port, "/../CMakeLists.txt"), 404);
    expectError(Request(port, "/api/game", "POST"), 405);
    expectError(Request(port, "/api/game", "DELETE"), 405);
    expectError(Request(port, "/api/game", "GET", {{"X-Filler", QByteArray(9000, 'x')}}), 431);
    EXPECT_EQ(Request(port, "/api/game", "GET", {{"X-Filler", QByteArray(4000, 'x')}}).status, 200);
}

TEST_F(GameServiceTest, WithATokenEveryRequestCarriesIt)
{
    listen("press-box");
    service.Publish(SampleDocument(1, 0));
    EXPECT_EQ(Request(port, "/api/game").status, 401);
    EXPECT_EQ(Request(port, "/").status, 401);
    EXPECT_EQ(Request(port, "/api/game?token=wrong").status, 401);
    EXPECT_EQ(Request(port, "/api/game", "GET", {{"Authorization", "Bearer press-bo"}}).status,
              401);
    EXPECT_EQ(Request(port, "/api/game?token=press-box").status, 200);
    EXPECT_EQ(Request(port, "/api/game", "GET", {{"Authorization", "Bearer press-box"}}).status,
              200);

    LiveReader refused(liveUrl());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return refused.socket.state() == QAbstractSocket::UnconnectedState; }, 10000));
    EXPECT_TRUE(refused.messages.isEmpty());
    LiveReader admitted(liveUrl("?token=press-box"));
    ASSERT_TRUE(admitted.waitFor(1));
    EXPECT_EQ(admitted.messages[0]["seq"].toInt(), 1);
}

TEST_F(GameServiceTest, LiveClientsGetASnapshotThenOnlyWhatChanged)
{
    listen();
    LiveReader early(liveUrl()); // connected before anything was published
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.LiveClientCount() == 1; }, 10000));
    const GameDocument first = SampleDocument(1, 7);
    service.Publish(first);
    ASSERT_TRUE(early.waitFor(1));
    EXPECT_EQ(early.messages[0]["snapshot"].toObject(),
              QJsonDocument::fromJson(first.Json()).object());

    LiveReader late(liveUrl());
    ASSERT_TRUE(late.waitFor(1));
    EXPECT_EQ(late.messages[0]["seq"].toInt(), 1);
    EXPECT_TRUE(late.messages[0].contains("snapshot"));

    service.Publish(SampleDocument(2, 7)); // nothing changed: nothing sent
    GameDocument third = SampleDocument(3, 14);
    third.pages["offense/home/passing"] = R"({"columns":[],"rows":[{"cells":[]}]})";
    service.Publish(third);
    for (LiveReader *reader : {&early, &late}) {
        ASSERT_TRUE(reader->waitFor(2));
        const QJsonObject message = reader->messages[1];
        EXPECT_EQ(message["seq"].toInt(), 3);
        const QJsonObject changed = message["changed"].toObject();
        EXPECT_EQ(changed.keys(), QStringList({"pages", "scoreboard"}));
        EXPECT_EQ(changed["pages"].toObject().keys(), QStringList({"offense"}));
        EXPECT_EQ(changed["scoreboard"].toObject()["home_score"].toInt(), 14);
    }
    QTest::qWait(50);
    EXPECT_EQ(early.messages.size(), 2);
}

TEST_F(GameServiceTest, ASlowClientHoldsNoOneUpAndCatchesUpWithASnapshot)
{
    listen();
    const QByteArray filler(1024 * 1024, 'p');
    const auto document = [&](int seq) {
        GameDocument made = SampleDocument(seq, seq);
        made.members["notes"] = '"' + QByteArray::number(seq) + filler + '"';
        return made;
    };
    service.Publish(document(1));

    QTcpSocket slow; // does the handshake, then stops reading
    slow.setReadBufferSize(64);
    slow.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return slow.state() == QAbstractSocket::ConnectedState; }, 10000));
    slow.write("GET /api/live HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
               "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
               "Sec-WebSocket-Version: 13\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.LiveClientCount() == 1; }, 10000));
    LiveReader quick(liveUrl());
    ASSERT_TRUE(quick.waitFor(1));

    const int publishes = 24; // far more than the socket buffers and the backlog limit hold
    for (int seq = 2; seq <= publishes; ++seq) {
        service.Publish(document(seq));
        QTest::qWait(5);
    }
    ASSERT_TRUE(quick.waitFor(publishes));
    EXPECT_EQ(quick.messages.last()["seq"].toInt(), publishes);

    slow.setReadBufferSize(0);
    QByteArray stream;
    QList<QJsonObject> frames;
    const bool caughtUp = QTest::qWaitFor(
        [&] {
            stream += slow.readAll();
            frames = messagesIn(stream);
            return !frames.isEmpty() && frames.last()["seq"].toInt() == publishes;
        },
        20000);
    ASSERT_TRUE(caughtUp)
        << frames.size() << " messages, the last "
        << QJsonDocument(frames.value(frames.size() - 1)).toJson().left(100).toStdString();
    EXPECT_TRUE(frames.last().contains("snapshot"));
    EXPECT_TRUE(frames.first().contains("snapshot"));
    EXPECT_LT(frames.size(), publishes); // the backlog stopped growing
    for (qsizetype i = 1; i + 1 < frames.size(); ++i)
        EXPECT_EQ(frames[i]["seq"].toInt(), frames[i - 1]["seq"].toInt() + 1);
}
