// The program serves the game it follows without a window: each successful
// reload is a new document, a file that cannot be read leaves the last good
// one served, and a stop signal ends it with the status shells expect.
#include "../support/ScratchDirectory.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// A port free on the loopback address now.
quint16 freeLoopbackPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// GET `path` from 127.0.0.1:`port`; empty when nothing answers.
QByteArray fetch(quint16 port, const QString &path)
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1%2").arg(port).arg(path)));
    request.setTransferTimeout(2000);
    std::unique_ptr<QNetworkReply> reply(network.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return reply->readAll();
}

// GET /api/game from 127.0.0.1:`port`; empty when nothing answers.
QJsonObject fetchGame(quint16 port)
{
    return QJsonDocument::fromJson(fetch(port, "/api/game")).object();
}

// Polls `port` for at most `seconds` until `done` holds for its document; the
// last document read.
QJsonObject waitForGame(quint16 port, const std::function<bool(const QJsonObject &)> &done,
                        int seconds = 8)
{
    QElapsedTimer clock;
    clock.start();
    QJsonObject game;
    while (clock.elapsed() < seconds * 1000) {
        game = fetchGame(port);
        if (done(game))
            break;
        QThread::msleep(100);
    }
    return game;
}

QString scoreOf(const QJsonObject &game)
{
    const QJsonObject scoreboard = game["scoreboard"].toObject();
    return QString("%1-%2")
        .arg(scoreboard["home_score"].toInt())
        .arg(scoreboard["visitor_score"].toInt());
}

TEST(LiveServiceProgram, ServesEachReloadAndEndsOnSigterm)
{
    ScratchDirectory dir;
    const std::string live = ReadFile(PYLONIX_SAMPLES_DIR "/game-live.xml");
    const std::string final = ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml");
    const std::string game = dir.Write("game.xml", live);
    const quint16 port = freeLoopbackPort();
    ASSERT_NE(port, 0);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM"); // the program needs no display of its own
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(environment);
    program.start(PYLONIX_PROGRAM, {"--serve", QString("127.0.0.1:%1").arg(port), "--no-window",
                                    "--game", QString::fromStdString(game)});
    ASSERT_TRUE(program.waitForStarted(10000));

    const QJsonObject first =
        waitForGame(port, [](const QJsonObject &got) { return got["seq"].toInt() >= 1; });
    ASSERT_EQ(first["seq"].toInt(), 1) << program.readAllStandardError().toStdString();
    EXPECT_FALSE(first["updated"].toString().isEmpty());
    const QByteArray firstBoxScore = fetch(port, "/boxscore.pdf");
    EXPECT_TRUE(firstBoxScore.startsWith("%PDF"));

    // Replaced as the stats crew's program does, in one step. The watcher may
    // still hear of it more than once, and every good reload counts.
    const auto replaceGame = [&dir, &game](const std::string &content) {
        const std::string next = dir.Write("next.xml", content);
        ASSERT_EQ(std::rename(next.c_str(), game.c_str()), 0);
    };
    replaceGame(final);
    const QString firstScore = scoreOf(first);
    const QJsonObject second = waitForGame(
        port, [&firstScore](const QJsonObject &got) { return scoreOf(got) != firstScore; });
    EXPECT_GE(second["seq"].toInt(), 2);
    EXPECT_NE(scoreOf(second), scoreOf(first));
    EXPECT_GT(second["updated"].toString(), first["updated"].toString());
    const QByteArray secondBoxScore = fetch(port, "/boxscore.pdf");
    EXPECT_TRUE(secondBoxScore.startsWith("%PDF"));
    EXPECT_NE(secondBoxScore, firstBoxScore) << "made again after the reload";

    // A file that cannot be read is told once on stderr; the last good
    // document stays served.
    replaceGame("<fbgame><venue");
    QByteArray errors;
    QElapsedTimer clock;
    clock.start();
    while (!errors.contains('\n') && clock.elapsed() < 8000) {
        program.waitForReadyRead(200);
        errors += program.readAllStandardError();
    }
    EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
    const QJsonObject kept = fetchGame(port);
    EXPECT_GE(kept["seq"].toInt(), second["seq"].toInt());
    EXPECT_EQ(scoreOf(kept), scoreOf(second));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 143);
}

} // namespace
