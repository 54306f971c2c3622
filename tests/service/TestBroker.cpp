#include "TestBroker.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

namespace
{

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool accepts(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

} // namespace

QString TestBroker::Program()
{
    return QStandardPaths::findExecutable("mosquitto",
                                          {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
}

TestBroker::TestBroker(const QString &program, bool withWebSockets) : program_(program)
{
    port_ = freePort();
    // Mosquitto 2.0.11 starts no listener at all when a WebSockets listener is
    // its only one, so the plain one always comes first.
    QString config = QString("listener %1 127.0.0.1\n").arg(port_);
    if (withWebSockets) {
        webSocketPort_ = freePort();
        config += QString("listener %1 127.0.0.1\nprotocol websockets\n").arg(webSocketPort_);
    }
    // Started by root, mosquitto would run as the user "mosquitto", who may
    // not read the password and ACL files in this folder.
    if (const passwd *user = getpwuid(getuid()))
        config += QString("user %1\n").arg(QString::fromLocal8Bit(user->pw_name));
    config_ = config + "allow_anonymous true\n";
    configFile_ = directory_.filePath("mosquitto.conf");
}

QString TestBroker::WriteFile(const QString &name, const QByteArray &text)
{
    const QString path = directory_.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

QString TestBroker::AddUser(const QString &user, const QString &password)
{
    const QString path = directory_.filePath("passwords");
    QStringList arguments = {"-b", path, user, password};
    if (!QFile::exists(path))
        arguments.prepend("-c");
    QProcess::execute(QStandardPaths::findExecutable("mosquitto_passwd"), arguments);
    return path;
}

TestBroker::~TestBroker()
{
    Stop();
}

bool TestBroker::Start()
{
    WriteFile("mosquitto.conf", config_.toUtf8());
    process_.start(program_, {"-c", configFile_});
    return QTest::qWaitFor(
        [&] { return accepts(port_) && (webSocketPort_ == 0 || accepts(webSocketPort_)); }, 10000);
}

void TestBroker::Stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished();
    }
}
