#pragma once

#include <QByteArray>
#include <QString>

// Where and how the program publishes to an MQTT broker: the broker's
// address, the topic prefix, the credentials and the certificate authority
// that signs a TLS broker's certificate.
struct MqttSettings {
    QString host; // empty: no MQTT
    quint16 port = 1883;
    QString prefix;      // empty: "pylonix/GAMEID"
    QString user;        // empty: connect anonymously
    QByteArray password; // read from a file, never from the command line
    QString caFile;      // empty: plain TCP; else TLS checked against this CA

    // The most bytes a topic can have on the wire.
    static constexpr int kMostTopicBytes = 65535;

    // Empty when `prefix` can head the program's topics; else why not, in
    // words: a wildcard, a leading '$' (the broker's own topics), a control
    // character, or a topic longer than the protocol allows.
    static QString TopicProblem(const QString &prefix);

    // Reads the password in the first line of `path` (a regular file of at
    // most 64 KiB, the line ending not included); false with `error` naming
    // the file and why it cannot be used. The password never reaches `error`.
    static bool ReadPasswordFile(const QString &path, QByteArray &password, QString &error);
};
