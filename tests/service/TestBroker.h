#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A mosquitto broker of its own on free loopback ports, stopped at the end:
// MQTT on Port() and, when asked for, MQTT over WebSockets on WebSocketPort().
class TestBroker
{
public:
    // The mosquitto program, or an empty text when it is not installed.
    static QString Program();

    explicit TestBroker(const QString &program, bool withWebSockets = false);
    ~TestBroker();
    TestBroker(const TestBroker &) = delete;
    TestBroker &operator=(const TestBroker &) = delete;

    // Adds lines to the broker's configuration; before Start.
    void Configure(const QString &lines) { config_ += lines; }
    // Writes `text` into a file of the broker's own folder and returns its path.
    QString WriteFile(const QString &name, const QByteArray &text);
    // Adds `user` with `password` to the broker's password file (made by
    // mosquitto_passwd) and returns the file's path.
    QString AddUser(const QString &user, const QString &password);

    // Starts the broker and waits until it takes connections.
    bool Start();
    void Stop();
    quint16 Port() const { return port_; }
    quint16 WebSocketPort() const { return webSocketPort_; }

private:
    QString program_;
    QTemporaryDir directory_;
    QString config_;     // the configuration's text
    QString configFile_; // where Start writes it
    quint16 port_ = 0;
    quint16 webSocketPort_ = 0;
    QProcess process_;
};

// In a test: `program` names the mosquitto to start; the test is skipped
// where none is installed, and the client library is ready.
#define PYLONIX_NEED_MOSQUITTO(program)                                                            \
    const QString program = TestBroker::Program();                                                 \
    if (program.isEmpty())                                                                         \
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup-common.sh installs it)";        \
    mosquitto_lib_init()
