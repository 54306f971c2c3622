#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

// Where the live service listens and who may read it. Off the loopback
// address, anyone on the network could read the game, so another host needs
// a token (or an explicit choice to serve everyone).
struct ServeSettings {
    QString host = "127.0.0.1";
    quint16 port = 0; // 0: any free port
    QString token;    // empty: requests need none
    bool isPublic = false;

    // Reads "[HOST:]PORT" ("8080", "127.0.0.1:8080", "[::1]:8080"); false
    // with `error` when HOST is not an IP address (or "localhost") or PORT
    // not from 1 to 65535.
    static bool ParseAddress(const QString &text, ServeSettings &settings, QString &error);

    // Splits "HOST[:PORT]" ("[::1]:1883" for IPv6); false when PORT is given
    // but not from 1 to 65535, or HOST is empty.
    static bool SplitHostPort(const QString &text, QString &host, std::optional<quint16> &port);

    // The address to listen on ("localhost" is 127.0.0.1).
    QHostAddress Address() const;

    // True for 127.0.0.0/8, ::1 and "localhost".
    bool IsLoopback() const;

    // Empty when these settings may be served; else why not: a host other
    // than the loopback address needs a token or the public flag.
    QString AccessProblem() const;
};
