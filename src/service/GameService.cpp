#include "GameService.h"

#include "ServiceConnection.h"
#include "WebSocketFrames.h"
#include "wire/JsonWriter.h"

#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>
#include <sys/resource.h>

namespace
{

const QByteArray kJson = "application/json; charset=utf-8";
const QByteArray kHtml = "text/html; charset=utf-8";
const QByteArray kPdf = "application/pdf";
const QString kLivePath = "/api/live";
const QString kPagesPrefix = "/api/pages/";

// Descriptors kept for the rest of the program: the game's files, the
// window, the broker.
constexpr rlim_t kReservedDescriptors = 128;
constexpr int kMostConnections = 16384;

// What a browser shows when it opens a page without the token it needs.
const QByteArray kTokenPage =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
    "<meta name=\"viewport\" content=\"width=device-width\"><title>Token needed</title></head>\n"
    "<body><h1>Token needed</h1><p>This service needs a token. Open the page with the token "
    "its operator gave you at the end of the address: <code>?token=TOKEN</code>.</p></body>"
    "</html>\n";

QByteArray reason(int status)
{
    switch (status) {
    case 101:
        return "Switching Protocols";
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 414:
        return "URI Too Long";
    case 421:
        return "Misdirected Request";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Error";
    }
}

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

// The soft limit of descriptors raised to the hard one; the soft limit now.
rlim_t raiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1024;
    const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? 65536 : limit.rlim_max;
    if (limit.rlim_cur < wanted) {
        rlimit raised = limit;
        raised.rlim_cur = wanted;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    return limit.rlim_cur;
}

QString pathOf(const RequestHead &head)
{
    return QUrl::fromEncoded(head.target).path();
}

} // namespace

GameService::GameService(QObject *parent)
    : QObject(parent), statisticsPage_(page("index.html")), scorebugPage_(page("scorebug.html"))
{
    connect(&server_, &QTcpServer::newConnection, this, &GameService::accept);
}

GameService::~GameService() = default;

bool GameService::Listen(const ServeSettings &settings, QString &error)
{
    error = settings.AccessProblem();
    if (!error.isEmpty())
        return false;
    settings_ = settings;
    const rlim_t descriptors = raiseDescriptorLimit();
    connectionLimit_ = static_cast<int>(std::clamp<rlim_t>(
        descriptors > kReservedDescriptors ? descriptors - kReservedDescriptors : 0, 16,
        kMostConnections));
    if (!server_.listen(settings.Address(), settings.port)) {
        error = QString("cannot listen on %1 port %2").arg(settings.host).arg(settings.port);
        return false;
    }
    return true;
}

quint16 GameService::Port() const
{
    return server_.isListening() ? server_.serverPort() : 0;
}

void GameService::accept()
{
    while (server_.hasPendingConnections()) {
        QTcpSocket *socket = server_.nextPendingConnection();
        const QHostAddress address = socket->peerAddress();
        Peer &peer = peers_[address];
        // Past a bound the connection is closed at once: it holds its
        // descriptor for no longer than it takes to close it.
        // Without a token every client is admitted by its first request, and
        // a burst of readers connecting at once is no attack.
        const bool tokenNeeded = !settings_.token.isEmpty();
        if (static_cast<int>(connections_.size()) >= connectionLimit_ ||
            peer.connections >= settings_.limits.connectionsPerAddress ||
            (tokenNeeded && peer.unadmitted >= settings_.limits.unadmittedPerAddress)) {
            if (peer.connections == 0)
                peers_.remove(address);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++peer.connections;
        ++peer.unadmitted;
        auto *connection = new ServiceConnection(socket, settings_.limits, this);
        connections_[connection] = {address, false};
        connect(connection, &ServiceConnection::requestRead, this, &GameService::answer);
        connect(connection, &ServiceConnection::headRefused, this, &GameService::refuseHead);
        connect(connection, &ServiceConnection::drained, this, &GameService::drained);
        connect(connection, &ServiceConnection::closed, this, &GameService::forget);
    }
}

void GameService::admit(ServiceConnection *connection)
{
    Connected &connected = connections_[connection];
    if (!connected.admitted) {
        connected.admitted = true;
        --peers_[connected.peer].unadmitted;
    }
}

void GameService::forget(ServiceConnection *connection)
{
    clients_.erase(connection);
    const auto found = connections_.find(connection);
    if (found == connections_.end())
        return;
    const auto peer = peers_.find(found->second.peer);
    if (peer != peers_.end()) {
        --peer->connections;
        if (!found->second.admitted)
            --peer->unadmitted;
        if (peer->connections == 0)
            peers_.erase(peer);
    }
    connections_.erase(found);
}

void GameService::refuseHead(ServiceConnection *connection, int status)
{
    const QString message = status == 414   ? "request line too long"
                            : status == 431 ? "request headers too large"
                            : status == 505 ? "HTTP version not supported"
                                            : "malformed request";
    const Reply refused = error(status, message);
    connection->Answer(answerHead(refused, true), refused.body, true);
}

void GameService::answer(ServiceConnection *connection, const RequestHead &head)
{
    const bool isHead = head.method == "HEAD";
    const auto send = [&](const Reply &reply) {
        const bool close =
            reply.status >= 400 || head.version != "HTTP/1.1" || head.Lists("Connection", "close");
        connection->Answer(answerHead(reply, close), isHead ? QByteArray() : reply.body, close);
    };
    if (!settings_.AnswersTo(head.Value("Host")))
        return send(error(421, "this service does not answer to that host name"));
    const QString path = pathOf(head);
    if (head.Lists("Upgrade", "websocket")) {
        if (const std::optional<Reply> refused = handshakeRefusal(head, path))
            return send(*refused);
        admit(connection);
        return upgrade(connection, head);
    }
    // Other upgrades (h2c and the like) are not taken: the request is
    // answered over HTTP/1.1 as if it had not asked.
    if (head.method != "GET" && !isHead) {
        Reply refused = error(405, "only GET and HEAD are served");
        refused.extraHeaders = "Allow: GET, HEAD\r\n";
        return send(refused);
    }
    if (head.Has("Transfer-Encoding") ||
        (head.Has("Content-Length") && head.Value("Content-Length") != "0"))
        return send(error(400, "requests carry no body"));
    if (!tokenAccepted(head)) {
        const bool browser = head.Value("Accept").contains("text/html");
        if (browser && (path == "/" || path == "/scorebug"))
            return send({401, kHtml, kTokenPage, {}});
        return send(error(401, "token missing or wrong"));
    }
    admit(connection);
    Reply reply = route(path);
    const QByteArray origin = head.Value("Origin").toLower();
    if (!origin.isEmpty() && settings_.origins.contains(QString::fromLatin1(origin)))
        reply.extraHeaders += "Access-Control-Allow-Origin: " + origin + "\r\nVary: Origin\r\n";
    send(reply);
}

std::optional<GameService::Reply> GameService::handshakeRefusal(const RequestHead &head,
                                                                const QString &path) const
{
    if (head.method != "GET")
        return error(405, "a WebSocket is opened with GET");
    if (head.version != "HTTP/1.1" || !head.Lists("Connection", "upgrade") ||
        !WebSocketFrames::IsKey(head.Value("Sec-WebSocket-Key")))
        return error(400, "not a WebSocket handshake");
    if (head.Value("Sec-WebSocket-Version") != "13") {
        Reply refused = error(400, "only WebSocket version 13 is served");
        refused.extraHeaders = "Sec-WebSocket-Version: 13\r\n";
        return refused;
    }
    if (path != kLivePath)
        return error(404, "not found");
    if (!tokenAccepted(head))
        return error(401, "token missing or wrong");
    if (!originAccepted(head))
        return error(403, "pages of another site may not read this service");
    return std::nullopt;
}

void GameService::upgrade(ServiceConnection *connection, const RequestHead &head)
{
    connection->Upgrade("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                        "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
                        WebSocketFrames::AcceptKey(head.Value("Sec-WebSocket-Key")) + "\r\n\r\n");
    auto &client = clients_[connection];
    qint64 total = LiveBacklog();
    deliver(connection, client, {}, total);
}

bool GameService::originAccepted(const RequestHead &head) const
{
    // Programs send no Origin; a browser always does, and its page's own
    // origin is the address it was given, which is the Host it names.
    if (!head.Has("Origin"))
        return true;
    const QString origin = QString::fromLatin1(head.Value("Origin")).toLower();
    const QString host = QString::fromLatin1(head.Value("Host")).toLower();
    return origin == "http://" + host || origin == "https://" + host ||
           settings_.origins.contains(origin);
}

bool GameService::tokenAccepted(const RequestHead &head) const
{
    if (settings_.token.isEmpty())
        return true;
    const QByteArray expected = settings_.token.toUtf8();
    // The scheme's name is case-insensitive (RFC 9110 §11.1).
    const QByteArray authorization = head.Value("Authorization");
    const qsizetype space = authorization.indexOf(' ');
    if (space > 0 && authorization.first(space).compare("Bearer", Qt::CaseInsensitive) == 0 &&
        sameSecret(authorization.mid(space + 1).trimmed(), expected))
        return true;
    const QUrlQuery query(QUrl::fromEncoded(head.target));
    return query.hasQueryItem("token") &&
           sameSecret(query.queryItemValue("token", QUrl::FullyDecoded).toUtf8(), expected);
}

GameService::Reply GameService::error(int status, const QString &message)
{
    return {status, kJson, "{\"error\":" + JsonWriter::Quoted(message) + '}', {}};
}

QByteArray GameService::answerHead(const Reply &reply, bool close)
{
    return "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reason(reply.status) +
           "\r\nContent-Type: " + reply.contentType +
           "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
           "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n" +
           reply.extraHeaders + (close ? "Connection: close\r\n" : "") + "\r\n";
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
        return error(503, "no game loaded yet");
    if (boxScore_.isEmpty() && boxScoreMaker_)
        boxScore_ = boxScoreMaker_();
    if (boxScore_.isEmpty())
        return error(500, "the box score could not be made");
    return {200, kPdf, boxScore_, {}};
}

GameService::Reply GameService::route(const QString &path)
{
    if (path == "/")
        return {200, kHtml, statisticsPage_, {}};
    if (path == "/scorebug")
        return {200, kHtml, scorebugPage_, {}};
    if (path == "/boxscore.pdf")
        return boxScore();
    const bool api = path.startsWith("/api/");
    if (api && document_.seq == 0)
        return error(503, "no game loaded yet");
    if (path == "/api/game") {
        if (gameJson_.isEmpty())
            gameJson_ = document_.Json();
        return {200, kJson, gameJson_, {}};
    }
    if (path == "/api/situation")
        return {200, kJson, document_.SituationJson(), {}};
    if (path.startsWith(kPagesPrefix)) {
        const QByteArray table = document_.PageJson(path.mid(kPagesPrefix.size()));
        if (!table.isEmpty())
            return {200, kJson, table, {}};
        return error(404, "no such table");
    }
    return error(404, "not found");
}

void GameService::Publish(GameDocument document)
{
    const GameDocument previous = std::exchange(document_, std::move(document));
    snapshotFrame_.clear();
    gameJson_.clear();
    boxScore_.clear();
    // Framed once for every client: a publish costs the same for a dozen
    // clients as for one.
    const QByteArray changed = document_.ChangedMessage(previous);
    const QByteArray frame = changed.isEmpty()
                                 ? QByteArray()
                                 : WebSocketFrames::Frame(WebSocketFrames::Opcode::Text, changed);
    qint64 total = LiveBacklog();
    for (auto &[connection, client] : clients_)
        deliver(connection, client, frame, total);
}

qint64 GameService::LiveBacklog() const
{
    qint64 total = 0;
    for (const auto &entry : clients_)
        total += entry.first->Backlog();
    return total;
}

const QByteArray &GameService::snapshotFrame()
{
    if (snapshotFrame_.isEmpty())
        snapshotFrame_ =
            WebSocketFrames::Frame(WebSocketFrames::Opcode::Text, document_.SnapshotMessage());
    return snapshotFrame_;
}

void GameService::deliver(ServiceConnection *connection, LiveClient &client,
                          const QByteArray &changed, qint64 &totalBacklog)
{
    if (document_.seq == 0 || client.lagging)
        return;
    const qint64 backlog = connection->Backlog();
    // Queuing more would only grow without bound; once the client has taken
    // what it has, one snapshot brings it up to date. A client that has
    // taken everything is always sent its message, so the total stays
    // within the limit and one message per client.
    if (backlog > ServiceConnection::kLiveBacklogLimit ||
        (backlog > 0 && totalBacklog > settings_.limits.liveBacklogTotal)) {
        client.lagging = true;
        return;
    }
    const QByteArray &frame = client.hasSnapshot ? changed : snapshotFrame();
    client.hasSnapshot = true;
    if (frame.isEmpty())
        return;
    connection->SendFrame(frame);
    totalBacklog += frame.size();
}

void GameService::drained(ServiceConnection *connection)
{
    const auto found = clients_.find(connection);
    if (found == clients_.end() || !found->second.lagging)
        return;
    found->second = LiveClient{};
    qint64 total = LiveBacklog();
    deliver(connection, found->second, {}, total);
}
