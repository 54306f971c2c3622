#pragma once

#include "GameDocument.h"
#include "ServeSettings.h"

#include <QAbstractHttpServer>
#include <QHttpServerResponder>
#include <functional>
#include <map>
#include <optional>

class QWebSocket;

// The game over HTTP and a WebSocket, read-only: GET /api/game (the whole
// document), /api/situation, /api/pages/KEY, the live statistics page at /,
// the broadcast score bug at /scorebug and the printable box score at
// /boxscore.pdf; /api/live sends a snapshot on connect and then only what
// each publish changed. It serves the documents it is handed and computes
// nothing of its own: the box score is made by the maker it is given.
class GameService : public QAbstractHttpServer
{
    Q_OBJECT
public:
    // A live client with more unsent bytes than this gets nothing more until
    // it has taken what it has, then one fresh snapshot.
    static constexpr qint64 kLiveBacklogLimit = 4 * 1024 * 1024;
    // Requests with more header bytes than this are refused (431).
    static constexpr qsizetype kHeaderLimit = 8 * 1024;

    explicit GameService(QObject *parent = nullptr);
    ~GameService() override;

    // Starts listening as `settings` say; false with `error` when they may
    // not be served (ServeSettings::AccessProblem) or the port cannot be had.
    bool Listen(const ServeSettings &settings, QString &error);

    // The port listened on; 0 before Listen.
    quint16 Port();

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

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Reply {
        QHttpServerResponder::StatusCode status = QHttpServerResponder::StatusCode::Ok;
        QByteArray contentType;
        QByteArray body;
    };
    struct LiveClient {
        bool hasSnapshot = false; // false: the next message is a snapshot
        bool lagging = false;     // passed the backlog limit; waits to drain
    };

    static Reply error(QHttpServerResponder::StatusCode status, const QString &message);
    // Limits, methods and the token, for every request alike.
    std::optional<Reply> refusal(const QHttpServerRequest &request) const;
    bool tokenAccepted(const QUrl &url, const QByteArray &authorization) const;
    Reply route(const QString &path);
    Reply boxScore();
    // The page of that name among the compiled-in resources, whole.
    static QByteArray page(const QString &name);

    void acceptLiveClients();
    void deliver(QWebSocket *socket, LiveClient &client, const QString &changed);
    void drained(QWebSocket *socket);

    const QByteArray statisticsPage_;
    const QByteArray scorebugPage_;
    ServeSettings settings_;
    GameDocument document_;
    QString snapshotMessage_; // of document_, made when first needed
    BoxScoreMaker boxScoreMaker_;
    QByteArray boxScore_;                        // of document_'s game, made when first asked for
    std::map<QWebSocket *, LiveClient> clients_; // the sockets are children of the service
};
