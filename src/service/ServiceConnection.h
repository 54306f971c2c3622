#pragma once

#include "RequestHead.h"
#include "ServeSettings.h"
#include "WebSocketFrames.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// One client of the live service on one TCP connection. Over HTTP it reads
// one request head at a time, within RequestHead's bounds and the time
// limits, and reads nothing more until the service's answer has been taken:
// a client that sends requests without reading the answers is held up by
// its own connection, never buffered for. After an accepted upgrade it is a
// live client: it is sent text messages, answered pings and closes, pinged
// when quiet and cut off when it neither reads nor answers.
class ServiceConnection : public QObject
{
    Q_OBJECT
public:
    // A live client with more unsent bytes than this gets no more messages
    // until it has taken what it has, then one fresh snapshot; one that asks
    // for a pong then is cut off.
    static constexpr qint64 kLiveBacklogLimit = 4 * 1024 * 1024;

    // Takes `socket` over (it becomes a child of this).
    ServiceConnection(QTcpSocket *socket, const ServeLimits &limits, QObject *parent = nullptr);

    QHostAddress Peer() const { return peer_; }

    // Sends the whole answer to the request read last, its `head` and then
    // its `body`; once it is taken the next request is read, or with `close`
    // the connection ends. The socket keeps a reference to `body` rather
    // than a copy, so a body sent to many clients is held once.
    void Answer(const QByteArray &head, const QByteArray &body, bool close);

    // Sends the handshake's answer (101) and makes this a live client.
    void Upgrade(const QByteArray &response);

    // A text message to a live client. As with an answer's body, the socket
    // keeps a reference to `frame`: the same frame sent to every client is
    // held once, however many have yet to take it.
    void SendFrame(const QByteArray &frame);

    // Bytes queued for the client and not yet sent.
    qint64 Backlog() const;

    // Ends the connection at once, whatever is unsent.
    void Cut();

signals:
    // A complete request head; the service answers it with Answer or Upgrade.
    void requestRead(ServiceConnection *connection, const RequestHead &head);
    // A head that broke a bound or was malformed, with the status to answer.
    void headRefused(ServiceConnection *connection, int status);
    // A live client has taken everything it was sent.
    void drained(ServiceConnection *connection);
    // The connection is over; this is deleted later.
    void closed(ServiceConnection *connection);

private:
    enum class State { Head, Answering, Closing, Live };

    void readable();
    void written();
    void arm(int ms);
    void expired();
    // For a live client at its ping time: true while it is there (it spoke,
    // takes what it is sent, or is pinged now), false when it is to be cut.
    bool keptAlive();
    void readHead();
    void readFrames(QByteArrayView bytes);
    void closeLive(quint16 code);
    void finish();

    QTcpSocket *socket_;
    const ServeLimits limits_;
    const QHostAddress peer_;
    State state_ = State::Head;
    QByteArray head_;              // the bytes of the request being read
    bool awaitingRequest_ = false; // idle between requests: no byte of the next yet
    WebSocketFrames frames_;
    bool heard_ = false;    // a live client sent a frame since the last ping time
    bool wrote_ = false;    // it took some of its backlog since the last ping time
    bool pingSent_ = false; // it was pinged; nothing heard from it since
    bool finished_ = false;
    QTimer deadline_;
    QElapsedTimer armed_; // since the deadline was last started
};
