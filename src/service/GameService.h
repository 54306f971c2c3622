#pragma once

#include "GameDocument.h"
#include "RequestHead.h"
#include "ServeSettings.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <functional>
#include <map>
#include <optional>

class ServiceConnection;

// The game over HTTP and a WebSocket, read-only: GET (or HEAD) /api/game (the
// whole document), /api/situation, /api/pages/KEY, the live statistics page
// at /, the broadcast score bug at /scorebug and the printable box score at
// /boxscore.pdf; /api/live sends a snapshot on connect and then only what
// each publish changed. It serves the documents it is handed and computes
// nothing of its own: the box score is made by the maker it is given.
//
// It is its own small HTTP/1.1 and WebSocket server on a QTcpServer, so that
// every bound holds before a request is parsed further: the head's size and
// the time it takes (ServiceConnection, RequestHead), the connections one
// address holds, the Host a request names and the Origin of an upgrade.
class GameService : public QObject
{
    Q_OBJECT
public:
    explicit GameService(QObject *parent = nullptr);
    ~GameService() override;

    // Starts listening as `settings` say; false with `error` when they may
    // not be served (ServeSettings::AccessProblem) or the port cannot be had.
    // Raises the process's soft descriptor limit to its hard one.
    bool Listen(const ServeSettings &settings, QString &error);

    // The port listened on; 0 before Listen.
    quint16 Port() const;

    // Makes `document` the one served and tells each live client what
    // changed. Never waits for a client.
    void Publish(GameDocument document);

    // Makes the box score's PDF of the game published last; empty when it
    // cannot be made.
    using BoxScoreMaker = std::function<QByteArray()>;
    // Serves /boxscore.pdf with what `maker` makes, made on the first
    // request after each publish and kept until the next.
    void SetBoxScoreMaker(BoxScoreMaker maker);

    // The document served now.
    const GameDocument &Document() const { return document_; }

    // Live clients connected now.
    int LiveClientCount() const { return static_cast<int>(clients_.size()); }

    // Connections open now, live clients among them.
    int ConnectionCount() const { return static_cast<int>(connections_.size()); }

    // Unsent bytes of all live clients together.
    qint64 LiveBacklog() const;

private:
    struct Reply {
        int status = 200;
        QByteArray contentType;
        QByteArray body;
        QByteArray extraHeaders; // whole lines
    };
    struct LiveClient {
        bool hasSnapshot = false; // false: the next message is a snapshot
        bool lagging = false;     // passed the backlog limit; waits to drain
    };
    struct Peer {
        int connections = 0;
        int unadmitted = 0;
    };
    struct Connected {
        QHostAddress peer;
        bool admitted = false;
    };

    static Reply error(int status, const QString &message);
    // The head of the answer `reply`; its body is sent after it as it is.
    static QByteArray answerHead(const Reply &reply, bool close);
    bool tokenAccepted(const RequestHead &head) const;
    bool originAccepted(const RequestHead &head) const;
    // The refusal of an upgrade, or nothing when it is a sound handshake.
    std::optional<Reply> handshakeRefusal(const RequestHead &head, const QString &path) const;
    Reply route(const QString &path);
    Reply boxScore();
    // The page of that name among the compiled-in resources, whole.
    static QByteArray page(const QString &name);

    void accept();
    void answer(ServiceConnection *connection, const RequestHead &head);
    void refuseHead(ServiceConnection *connection, int status);
    void admit(ServiceConnection *connection);
    void forget(ServiceConnection *connection);
    void upgrade(ServiceConnection *connection, const RequestHead &head);
    void deliver(ServiceConnection *connection, LiveClient &client, const QByteArray &changed,
                 qint64 &totalBacklog);
    void drained(ServiceConnection *connection);
    const QByteArray &snapshotFrame();

    const QByteArray statisticsPage_;
    const QByteArray scorebugPage_;
    QTcpServer server_;
    ServeSettings settings_;
    int connectionLimit_ = 0; // all connections at once, below the descriptor limit
    GameDocument document_;
    BoxScoreMaker boxScoreMaker_;
    QByteArray boxScore_; // of document_'s game, made when first asked for
    // Of document_, made when first needed. Each is sent to every client as
    // it is: the sockets hold references to these bytes, not copies.
    QByteArray snapshotFrame_;
    QByteArray gameJson_;
    std::map<ServiceConnection *, Connected> connections_; // children of the service
    QHash<QHostAddress, Peer> peers_;
    std::map<ServiceConnection *, LiveClient> clients_;
};
