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

// A WebSocket client of the live feed that keeps every message it gets.
struct LiveReader {
    LiveReader(quint16 port, const QString &query = {})
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        socket.open(QUrl(QString("ws://127.0.0.1:%1/api/live%2").arg(port).arg(query)));
    }
    bool waitFor(qsizetype count)
    {
        return QTest::qWaitFor([&] { return messages.size() >= count; }, 10000);
    }
    QWebSocket socket;
    QList<QJsonObject> messages;
};

quint16 listen(GameService &service, const QString &token = {})
{
    ServeSettings settings;
    settings.token = token;
    QString error;
    EXPECT_TRUE(service.Listen(settings, error)) << error.toStdString();
    return service.Port();
}

} // namespace

TEST(GameService, ServesTheDocumentAndRefusesTheRestWithAJsonError)
{
    GameService service;
    const quint16 port = listen(service);
    EXPECT_EQ(Request(port, "/api/game").status, 503); // nothing published yet
    service.Publish(SampleDocument(4, 10));

    const QJsonObject game = Request(port, "/api/game").json();
    EXPECT_EQ(game["seq"].toInt(), 4);
    EXPECT_EQ(game["scoreboard"].toObject()["home_score"].toInt(), 10);
    EXPECT_EQ(Request(port, "/api/situation").json().keys(),
              QStringList({"scoreboard", "seq", "situation"}));
    const QJsonObject table = Request(port, "/api/pages/offense/home/passing").json();
    EXPECT_EQ(table["columns"].toArray()[0].toObject()["header"].toString(), "KBM");
    for (const QString page : {"/", "/scorebug"}) {
        const HttpAnswer answer = Request(port, page);
        EXPECT_EQ(answer.status, 200) << page.toStdString();
        EXPECT_FALSE(answer.body.contains("src=")) << "styles and scripts are written in";
    }
    EXPECT_TRUE(Request(port, "/").body.contains("href=\"boxscore.pdf\""));

    const auto expectError = [port](const QString &path, int status, const QByteArray &method,
                                    const QByteArray &filler = {}) {
        const HttpAnswer answer = Request(port, path, method, {{"X-Filler", filler}});
        EXPECT_EQ(answer.status, status) << path.toStdString();
        EXPECT_TRUE(answer.json()["error"].isString()) << answer.body.toStdString();
    };
    expectError("/api/pages/offense/home", 404, "GET");
    expectError("/api/pages/nothing", 404, "GET");
    expectError("/common.js", 404, "GET");
    expectError("/api/game", 405, "POST");
    expectError("/api/game", 405, "DELETE");
    expectError("/api/game", 431, "GET", QByteArray(9000, 'x'));
    EXPECT_EQ(Request(port, "/api/game", "GET", {{"X-Filler", QByteArray(4000, 'x')}}).status, 200);
}

TEST(GameService, TheBoxScoreIsMadeOnRequestAndKeptUntilTheNextPublish)
{
    GameService service;
    const quint16 port = listen(service);
    int made = 0;
    service.SetBoxScoreMaker([&made] { return "%PDF-" + QByteArray::number(++made); });
    EXPECT_EQ(Request(port, "/boxscore.pdf").status, 503); // nothing published yet
    service.Publish(SampleDocument(1, 0));
    EXPECT_EQ(made, 0) << "made when asked for, not on publish";
    EXPECT_EQ(Request(port, "/boxscore.pdf").body, "%PDF-1");
    EXPECT_EQ(Request(port, "/boxscore.pdf").body, "%PDF-1");
    service.Publish(SampleDocument(2, 3));
    EXPECT_EQ(Request(port, "/boxscore.pdf").body, "%PDF-2");
    EXPECT_EQ(Request(port, "/boxscore.pdf", "POST").status, 405);
    service.SetBoxScoreMaker([] { return QByteArray(); });
    EXPECT_EQ(Request(port, "/boxscore.pdf").status, 500);
}

TEST(GameService, WithATokenEveryRequestCarriesIt)
{
    GameService service;
    const quint16 port = listen(service, "press-box");
    service.Publish(SampleDocument(1, 0));
    EXPECT_EQ(Request(port, "/").status, 401);
    EXPECT_EQ(Request(port, "/api/game?token=wrong").status, 401);
    EXPECT_EQ(Request(port, "/api/game", "GET", {{"Authorization", "Bearer press-bo"}}).status,
              401);
    EXPECT_EQ(Request(port, "/api/game?token=press-box").status, 200);
    EXPECT_EQ(Request(port, "/api/game", "GET", {{"Authorization", "Bearer press-box"}}).status,
              200);

    LiveReader refused(port);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return refused.socket.state() == QAbstractSocket::UnconnectedState; }, 10000));
    EXPECT_TRUE(refused.messages.isEmpty());
    LiveReader admitted(port, "?token=press-box");
    ASSERT_TRUE(admitted.waitFor(1));
}

TEST(GameService, LiveClientsGetASnapshotThenOnlyWhatChanged)
{
    GameService service;
    const quint16 port = listen(service);
    LiveReader early(port); // connected before anything was published
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.LiveClientCount() == 1; }, 10000));
    service.Publish(SampleDocument(1, 7));
    ASSERT_TRUE(early.waitFor(1));
    EXPECT_EQ(early.messages[0]["snapshot"].toObject()["seq"].toInt(), 1);
    LiveReader late(port);
    ASSERT_TRUE(late.waitFor(1));
    EXPECT_TRUE(late.messages[0].contains("snapshot"));

    service.Publish(SampleDocument(2, 7)); // only the number and time changed
    GameDocument third = SampleDocument(3, 14);
    third.pages["offense/home/passing"] = R"({"columns":[],"rows":[{"cells":[]}]})";
    service.Publish(third);
    service.Publish(third); // nothing changed: nothing sent
    for (LiveReader *reader : {&early, &late}) {
        ASSERT_TRUE(reader->waitFor(3));
        EXPECT_EQ(reader->messages[1]["seq"].toInt(), 2);
        EXPECT_TRUE(reader->messages[1]["patch"].toArray().isEmpty());
        EXPECT_EQ(reader->messages[2]["seq"].toInt(), 3);
        QStringList paths;
        for (const QJsonValue op : reader->messages[2]["patch"].toArray())
            paths.append(op["path"].toString());
        EXPECT_EQ(paths, QStringList({"/scoreboard/home_score", "/pages/offense/home/passing"}));
    }
    QTest::qWait(50);
    EXPECT_EQ(early.messages.size(), 3);
}

TEST(GameService, ASlowClientHoldsNoOneUpAndCatchesUpWithASnapshot)
{
    GameService service;
    const quint16 port = listen(service);
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
    slow.write("GET /api/live HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
               "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
               "Sec-WebSocket-Version: 13\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.LiveClientCount() == 1; }, 10000));
    LiveReader quick(port);
    ASSERT_TRUE(quick.waitFor(1));

    const int publishes = 24; // far more than the socket buffers and the backlog limit hold
    for (int seq = 2; seq <= publishes; ++seq) {
        service.Publish(document(seq));
        QTest::qWait(5);
    }
    // The quick client is not held up: it reaches the last publish, by its
    // changes or, on a machine too busy for it to keep up, by a snapshot.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !quick.messages.isEmpty() && quick.messages.last()["seq"].toInt() == publishes;
        },
        20000));

    // Each message starts with its "seq"; a message is longer than a frame,
    // but its start is in its first frame.
    slow.setReadBufferSize(0);
    QByteArray stream;
    const QByteArray caughtUp = "{\"seq\":" + QByteArray::number(publishes) + ",\"snapshot\":";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            stream += slow.readAll();
            return stream.contains(caughtUp);
        },
        20000));
    EXPECT_LT(stream.count("\"changed\":"), publishes - 1); // the backlog stopped growing
    QTest::qWait(50);
    stream += slow.readAll();
    EXPECT_EQ(stream.count(",\"snapshot\":"), 2);
}
