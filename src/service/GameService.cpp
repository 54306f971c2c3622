#include "GameService.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

using StatusCode = QHttpServerResponder::StatusCode;

namespace
{

const QByteArray kJson = "application/json; charset=utf-8";
const QByteArray kHtml = "text/html; charset=utf-8";
const QByteArray kPdf = "application/pdf";
const QString kLivePath = "/api/live";
const QString kPagesPrefix = "/api/pages/";

// Compares without stopping at the first difference, so that the time taken
// tells nothing about the token.
bool sameSecret(const QByteArray &given, const QByteArray &expected)
{
    if (given.size() != expected.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ expected[i]);
    return difference == 0;
}

} // namespace

GameService::GameService(QObject *parent)
    : QAbstractHttpServer(parent), statisticsPage_(page("index.html")),
      scorebugPage_(page("scorebug.html"))
{
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this,
            &GameService::acceptLiveClients);
}

GameService::~GameService() = default;

bool GameService::Listen(const ServeSettings &settings, QString &error)
{
    error = settings.AccessProblem();
    if (!error.isEmpty())
        return false;
    settings_ = settings;
    if (listen(settings.Address(), settings.port) == 0) {
        error = QString("cannot listen on %1 port %2").arg(settings.host).arg(settings.port);
        return false;
    }
    return true;
}

quint16 GameService::Port()
{
    const QList<quint16> ports = serverPorts();
    return ports.isEmpty() ? 0 : ports.first();
}

void GameService::Publish(GameDocument document)
{
    const GameDocument previous = std::exchange(document_, std::move(document));
    snapshotMessage_.clear();
    boxScore_.clear();
    // Made once for every client: a publish costs the same for a dozen
    // clients as for one.
    const QString changed = QString::fromUtf8(document_.ChangedMessage(previous));
    for (auto &[socket, client] : clients_)
        deliver(socket, client, changed);
}

void GameService::deliver(QWebSocket *socket, LiveClient &client, const QString &changed)
{
    if (document_.seq == 0 || client.lagging)
        return;
    if (socket->bytesToWrite() > kLiveBacklogLimit) {
        // Queuing more would only grow without bound; once the client has
        // taken what it has, one snapshot brings it up to date.
        client.lagging = true;
        return;
    }
    if (!client.hasSnapshot) {
        if (snapshotMessage_.isEmpty())
            snapshotMessage_ = QString::fromUtf8(document_.SnapshotMessage());
        socket->sendTextMessage(snapshotMessage_);
        client.hasSnapshot = true;
    } else if (!changed.isEmpty()) {
        socket->sendTextMessage(changed);
    }
}

void GameService::drained(QWebSocket *socket)
{
    const auto found = clients_.find(socket);
    if (found == clients_.end() || !found->second.lagging || socket->bytesToWrite() > 0)
        return;
    found->second = LiveClient{};
    deliver(socket, found->second, {});
}

void GameService::acceptLiveClients()
{
    while (hasPendingWebSocketConnections()) {
        QWebSocket *socket = nextPendingWebSocketConnection().release();
        socket->setParent(this);
        const QNetworkRequest request = socket->request();
        const bool allowed =
            tokenAccepted(socket->requestUrl(), request.rawHeader("Authorization"));
        if (socket->requestUrl().path() != kLivePath || !allowed) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated,
                          allowed ? "unknown path" : "token missing or wrong");
            socket->deleteLater();
            continue;
        }
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            clients_.erase(socket);
            socket->deleteLater();
        });
        connect(socket, &QWebSocket::bytesWritten, this, [this, socket] { drained(socket); });
        auto &client = clients_[socket];
        deliver(socket, client, {});
    }
}

bool GameService::tokenAccepted(const QUrl &url, const QByteArray &authorization) const
{
    if (settings_.token.isEmpty())
        return true;
    const QByteArray expected = settings_.token.toUtf8();
    const QByteArray bearer = "Bearer ";
    if (authorization.startsWith(bearer) &&
        sameSecret(authorization.mid(bearer.size()).trimmed(), expected))
        return true;
    const QUrlQuery query(url);
    return query.hasQueryItem("token") &&
           sameSecret(query.queryItemValue("token", QUrl::FullyDecoded).toUtf8(), expected);
}

GameService::Reply GameService::error(StatusCode status, const QString &message)
{
    const QByteArray quoted = QJsonDocument(QJsonArray{message}).toJson(QJsonDocument::Compact);
    return {status, kJson, "{\"error\":" + quoted.mid(1, quoted.size() - 2) + '}'};
}

std::optional<GameService::Reply> GameService::refusal(const QHttpServerRequest &request) const
{
    qsizetype headerBytes = 0;
    QByteArray authorization;
    for (const auto &[name, value] : request.headers()) {
        headerBytes += name.size() + value.size() + 4; // "name: value\r\n"
        if (name.compare("Authorization", Qt::CaseInsensitive) == 0)
            authorization = value;
    }
    if (headerBytes > kHeaderLimit)
        return error(StatusCode::RequestHeaderFieldsTooLarge, "request headers too large");
    if (request.method() != QHttpServerRequest::Method::Get)
        return error(StatusCode::MethodNotAllowed, "only GET is served");
    if (!tokenAccepted(request.url(), authorization))
        return error(StatusCode::Unauthorized, "token missing or wrong");
    return std::nullopt;
}

QByteArray GameService::page(const QString &name)
{
    // Styles and scripts are written into the page: a browser given the page
    // with ?token=... would not add the token to the requests for them.
    const auto resource = [](const QString &file) {
        QFile source(":/pylonix/web/" + file);
        return source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll()) : QString();
    };
    QString html = resource(name);
    static const QRegularExpression linked(
        R"re(<link rel="stylesheet" href="([a-z]+\.css)">|<script src="([a-z]+\.js)"></script>)re");
    for (QRegularExpressionMatch match = linked.match(html); match.hasMatch();
         match = linked.match(html, match.capturedStart())) {
        const bool style = !match.captured(1).isEmpty();
        const QString text = resource(style ? match.captured(1) : match.captured(2));
        html.replace(match.capturedStart(), match.capturedLength(),
                     style ? "<style>\n" + text + "</style>" : "<script>\n" + text + "</script>");
    }
    return html.toUtf8();
}

void GameService::SetBoxScoreMaker(BoxScoreMaker maker)
{
    boxScoreMaker_ = std::move(maker);
    boxScore_.clear();
}

GameService::Reply GameService::boxScore()
{
    if (document_.seq == 0)
        return error(StatusCode::ServiceUnavailable, "no game loaded yet");
    if (boxScore_.isEmpty() && boxScoreMaker_)
        boxScore_ = boxScoreMaker_();
    if (boxScore_.isEmpty())
        return error(StatusCode::InternalServerError, "the box score could not be made");
    return {StatusCode::Ok, kPdf, boxScore_};
}

GameService::Reply GameService::route(const QString &path)
{
    if (path == "/")
        return {StatusCode::Ok, kHtml, statisticsPage_};
    if (path == "/scorebug")
        return {StatusCode::Ok, kHtml, scorebugPage_};
    if (path == "/boxscore.pdf")
        return boxScore();
    const bool api = path.startsWith("/api/");
    if (api && document_.seq == 0)
        return error(StatusCode::ServiceUnavailable, "no game loaded yet");
    if (path == "/api/game")
        return {StatusCode::Ok, kJson, document_.Json()};
    if (path == "/api/situation")
        return {StatusCode::Ok, kJson, document_.SituationJson()};
    if (path.startsWith(kPagesPrefix)) {
        const QByteArray table = document_.PageJson(path.mid(kPagesPrefix.size()));
        if (!table.isEmpty())
            return {StatusCode::Ok, kJson, table};
        return error(StatusCode::NotFound, "no such table");
    }
    return error(StatusCode::NotFound, "not found");
}

bool GameService::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // A WebSocket handshake is answered by the server after this returns;
    // its path and token are checked when the socket is handed over.
    if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0)
        return true;
    const std::optional<Reply> refused = refusal(request);
    const Reply reply = refused ? *refused : route(request.url().path());
    makeResponder(request, socket)
        .write(reply.body, {{"Content-Type", reply.contentType}, {"Cache-Control", "no-store"}},
               reply.status);
    return true;
}

void GameService::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const Reply reply = error(StatusCode::NotFound, "not found");
    makeResponder(request, socket)
        .write(reply.body, {{"Content-Type", reply.contentType}}, reply.status);
}
