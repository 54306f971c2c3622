// The program serves the game it follows without a window: each successful
// reload is a new document, a file that cannot be read leaves the last good
// one served, and a stop signal ends it with the status shells expect.
#include "../support/ScratchDirectory.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
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
#include <sys/resource.h>

namespace
{

// A port free on the loopback address now.
quint16 freeLoopbackPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// GET `path` from 127.0.0.1:`port`; empty when nothing answers. Its status
// in `status`.
QByteArray fetch(quint16 port, const QString &path, const QByteArray &authorization = {},
                 int *status = nullptr)
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1%2").arg(port).arg(path)));
    request.setTransferTimeout(2000);
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    std::unique_ptr<QNetworkReply> reply(network.get(request));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    if (status)
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply->readAll();
}

// GET /api/game from 127.0.0.1:`port`; empty when nothing answers.
QJsonObject fetchGame(quint16 port, const QByteArray &authorization = {}, int *status = nullptr)
{
    return QJsonDocument::fromJson(fetch(port, "/api/game", authorization, status)).object();
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

QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM"); // the program needs no display of its own
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    return environment;
}

// The line of /proc/PID/limits for open files: "Max open files  SOFT  HARD  files".
QStringList descriptorLimits(qint64 pid)
{
    QFile limits(QString("/proc/%1/limits").arg(pid));
    if (!limits.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : limits.readAll().split('\n')) {
        if (line.startsWith("Max open files"))
            return QString::fromLatin1(line.mid(14)).simplified().split(' ');
    }
    return {};
}

// The token comes from a file, so no other user sees it in the process
// list; the service raises its descriptor limit to the hard one, so that a
// crowd of clients meets the service's own bounds before the system's.
TEST(LiveServiceProgram, TakesItsTokenFromAFileAndRaisesItsDescriptorLimit)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-live.xml"));
    const std::string tokenFile = dir.Write("token", "press-box-7\n");
    const quint16 port = freeLoopbackPort();
    ASSERT_NE(port, 0);

    // Started with a soft limit below the hard one, as most systems start
    // programs.
    rlimit own{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &own), 0);
    rlimit low = own;
    low.rlim_cur = std::min<rlim_t>(own.rlim_max, 256);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    QProcess program;
    program.setProcessEnvironment(withoutDisplay());
    program.start(PYLONIX_PROGRAM, {"--serve", QString("127.0.0.1:%1").arg(port), "--no-window",
                                    "--game", QString::fromStdString(game), "--serve-token-file",
                                    QString::fromStdString(tokenFile)});
    const bool started = program.waitForStarted(10000);
    setrlimit(RLIMIT_NOFILE, &own);
    ASSERT_TRUE(started);

    int status = 0;
    waitForGame(port, [&](const QJsonObject &) {
        return fetchGame(port, "Bearer press-box-7", &status)["seq"].toInt() >= 1;
    });
    EXPECT_EQ(status, 200) << program.readAllStandardError().toStdString();
    fetchGame(port, {}, &status);
    EXPECT_EQ(status, 401);

    QFile commandLine(QString("/proc/%1/cmdline").arg(program.processId()));
    ASSERT_TRUE(commandLine.open(QIODevice::ReadOnly));
    EXPECT_FALSE(commandLine.readAll().contains("press-box-7"));
    const QStringList limits = descriptorLimits(program.processId());
    ASSERT_GE(limits.size(), 2);
    EXPECT_EQ(limits[0], limits[1]) << "soft and hard limit of open files";

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_FALSE(program.readAllStandardError().contains("press-box-7"));
}

TEST(LiveServiceProgram, ServesEachReloadAndEndsOnSigterm)
{
    ScratchDirectory dir;
    const std::string live = ReadFile(PYLONIX_SAMPLES_DIR "/game-live.xml");
    const std::string final = ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml");
    const std::string game = dir.Write("game.xml", live);
    const quint16 port = freeLoopbackPort();
    ASSERT_NE(port, 0);

    // The teams' colours from the settings file, where the command line gives none.
    const std::string settings =
        dir.Write("Pylonix.ini", "[Pylonix]\nHomeColor=#FFD100\nVisitorColor=#123456\n");

    QProcess program;
    program.setProcessEnvironment(withoutDisplay());
    program.start(PYLONIX_PROGRAM,
                  {"--serve", QString("127.0.0.1:%1").arg(port), "--no-window", "--game",
                   QString::fromStdString(game), "--ini", QString::fromStdString(settings),
                   "--visitor-color", "#0B2265"});
    ASSERT_TRUE(program.waitForStarted(10000));

    const QJsonObject first =
        waitForGame(port, [](const QJsonObject &got) { return got["seq"].toInt() >= 1; });
    ASSERT_EQ(first["seq"].toInt(), 1) << program.readAllStandardError().toStdString();
    EXPECT_FALSE(first["updated"].toString().isEmpty());
    EXPECT_EQ(first["colors"].toObject(),
              (QJsonObject{{"home", "#ffd100"}, {"visitor", "#0b2265"}}));
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
