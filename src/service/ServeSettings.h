#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <optional>

// How long a client of the live service may take, and how many connections
// one address may hold. Tests shorten the times.
struct ServeLimits {
    int headTimeoutMs = 10'000; // from the connection, or a request's first byte, to its whole head
    int idleTimeoutMs = 60'000; // between requests, and to take an answer's next bytes
    int livePingMs = 30'000;    // a quiet live client is pinged, and cut off a ping later
    int connectionsPerAddress = 256;
    // Where a token is needed, connections of one address that have not yet
    // made a request with an accepted host and token: what a client without
    // the token may hold.
    int unadmittedPerAddress = 64;
    // Unsent bytes of all live clients together: past this, a client that
    // has not taken its last message is sent nothing more until it has.
    qint64 liveBacklogTotal = 64 * 1024 * 1024;
};

// Where the live service listens and who may read it. Off the loopback
// address, anyone on the network could read the game, so another host needs
// a token (or an explicit choice to serve everyone).
struct ServeSettings {
    QString host = "127.0.0.1";
    quint16 port = 0; // 0: any free port
    QString token;    // empty: requests need none
    bool isPublic = false;
    QStringList names;   // host names answered besides addresses and "localhost" (lower case)
    QStringList origins; // sites whose pages may read the service ("https://host[:port]")
    ServeLimits limits;

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

    // True when a request's Host field names this service: an IP address
    // (no DNS rebinding sends one), "localhost" or one of `names`, with any
    // port.
    bool AnswersTo(const QByteArray &hostField) const;

    // Reads "NAME[,NAME]..." into `names`, or "ORIGIN[,ORIGIN]..." into
    // `origins`; false with `error` for a malformed entry.
    bool AddNames(const QString &text, QString &error);
    bool AddOrigins(const QString &text, QString &error);

    // Empty when these settings may be served; else why not: a host other
    // than the loopback address needs a token or the public flag.
    QString AccessProblem() const;
};
