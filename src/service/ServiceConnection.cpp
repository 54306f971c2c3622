#include "ServiceConnection.h"

#include <QTcpSocket>

namespace
{

// What the socket takes from the system before it is read: with the bytes
// of a head at most a request's worth of input per client.
constexpr qint64 kReadChunk = 16 * 1024;
constexpr qsizetype kHeadBytesLimit =
    RequestHead::kRequestLineLimit + RequestHead::kHeaderLimit + 64;

} // namespace

ServiceConnection::ServiceConnection(QTcpSocket *socket, const ServeLimits &limits, QObject *parent)
    : QObject(parent), socket_(socket), limits_(limits), peer_(socket->peerAddress())
{
    socket_->setParent(this);
    socket_->setReadBufferSize(kReadChunk);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &ServiceConnection::expired);
    connect(socket_, &QTcpSocket::readyRead, this, &ServiceConnection::readable);
    connect(socket_, &QTcpSocket::bytesWritten, this, &ServiceConnection::written);
    connect(socket_, &QTcpSocket::disconnected, this, &ServiceConnection::finish);
    // A new connection has the head time for its first request whole.
    arm(limits_.headTimeoutMs);
    if (socket_->state() != QAbstractSocket::ConnectedState)
        QMetaObject::invokeMethod(this, &ServiceConnection::finish, Qt::QueuedConnection);
}

void ServiceConnection::Answer(const QByteArray &head, const QByteArray &body, bool close)
{
    if (finished_)
        return;
    // Written whole, each QByteArray is taken by reference (QIODevice keeps
    // the array itself in its buffer); a concatenation would be a copy for
    // every client.
    socket_->write(head);
    if (!body.isEmpty())
        socket_->write(body);
    state_ = close ? State::Closing : State::Answering;
    // The answer must be taken at the idle time's pace at least.
    arm(limits_.idleTimeoutMs);
    if (close)
        socket_->disconnectFromHost();
    else
        QMetaObject::invokeMethod(this, &ServiceConnection::written, Qt::QueuedConnection);
}

void ServiceConnection::Upgrade(const QByteArray &response)
{
    if (finished_)
        return;
    socket_->write(response);
    state_ = State::Live;
    arm(limits_.livePingMs);
    // Frames a client sent straight after its handshake came with the head.
    const QByteArray early = std::exchange(head_, {});
    readFrames(early);
}

void ServiceConnection::SendFrame(const QByteArray &frame)
{
    if (state_ == State::Live && !finished_)
        socket_->write(frame);
}

qint64 ServiceConnection::Backlog() const
{
    return socket_->bytesToWrite();
}

void ServiceConnection::Cut()
{
    socket_->abort();
    finish();
}

void ServiceConnection::readable()
{
    if (state_ == State::Head)
        readHead();
    else if (state_ == State::Live)
        readFrames(socket_->readAll());
    else if (state_ == State::Closing)
        socket_->readAll(); // dropped, so that closing sends no reset before the answer
    // Answering: the next request waits in the socket, and the socket takes
    // no more than kReadChunk from the system meanwhile.
}

void ServiceConnection::readHead()
{
    head_ += socket_->read(std::max<qint64>(0, kHeadBytesLimit - head_.size()));
    if (head_.isEmpty())
        return;
    if (awaitingRequest_) {
        // The first byte of a request: from now on it has the head time.
        awaitingRequest_ = false;
        arm(limits_.headTimeoutMs);
    }
    RequestHead head;
    qsizetype consumed = 0;
    int status = 0;
    switch (RequestHead::Parse(head_, head, consumed, status)) {
    case RequestHead::Outcome::Incomplete:
        return;
    case RequestHead::Outcome::Refused:
        state_ = State::Closing;
        emit headRefused(this, status);
        return;
    case RequestHead::Outcome::Complete:
        head_.remove(0, consumed);
        state_ = State::Answering;
        emit requestRead(this, head);
        return;
    }
}

void ServiceConnection::written()
{
    if (finished_ || state_ == State::Closing)
        return;
    if (state_ == State::Live) {
        wrote_ = true;
        if (socket_->bytesToWrite() == 0)
            emit drained(this);
        return;
    }
    if (socket_->bytesToWrite() > 0) {
        arm(limits_.idleTimeoutMs);
        return;
    }
    state_ = State::Head;
    awaitingRequest_ = true;
    arm(limits_.idleTimeoutMs);
    readHead(); // a request sent before this answer was taken
}

void ServiceConnection::arm(int ms)
{
    deadline_.start(ms);
    armed_.start();
}

void ServiceConnection::expired()
{
    // A deadline seen long after it passed means this thread was busy (a long
    // reload on a loaded machine): what the client sent or took meanwhile is
    // not read yet, so it is judged an interval later, not cut for our stall.
    constexpr qint64 kStallMs = 1000;
    if (armed_.elapsed() > deadline_.interval() + kStallMs) {
        arm(deadline_.interval());
        return;
    }
    if (state_ == State::Live && keptAlive())
        arm(limits_.livePingMs);
    else
        // A head not sent in time, an idle connection, an answer not taken,
        // or a live client gone quiet: half-open or hostile alike, it holds a
        // descriptor and is cut off.
        Cut();
}

bool ServiceConnection::keptAlive()
{
    if (std::exchange(heard_, false)) {
        pingSent_ = false;
        return true;
    }
    // With something unsent, a client that takes nothing is stalled or gone:
    // what the system buffers is full, as no ping could tell sooner.
    if (Backlog() > 0)
        return std::exchange(wrote_, false);
    if (pingSent_)
        return false;
    pingSent_ = true;
    socket_->write(WebSocketFrames::Frame(WebSocketFrames::Opcode::Ping, {}));
    return true;
}

void ServiceConnection::readFrames(QByteArrayView bytes)
{
    if (bytes.isEmpty() || finished_)
        return;
    heard_ = true;
    QList<WebSocketFrames::Control> controls;
    const int broken = frames_.Read(bytes, controls);
    for (const WebSocketFrames::Control &control : controls) {
        if (control.opcode == WebSocketFrames::Opcode::Ping) {
            // Pongs are queued only for a client that reads them.
            if (Backlog() > kLiveBacklogLimit) {
                Cut();
                return;
            }
            socket_->write(WebSocketFrames::Frame(WebSocketFrames::Opcode::Pong, control.payload));
        } else if (control.opcode == WebSocketFrames::Opcode::Close) {
            closeLive(1000);
            return;
        }
    }
    if (broken != 0)
        closeLive(static_cast<quint16>(broken));
}

void ServiceConnection::closeLive(quint16 code)
{
    socket_->write(WebSocketFrames::CloseFrame(code));
    state_ = State::Closing;
    arm(limits_.idleTimeoutMs);
    socket_->disconnectFromHost();
}

void ServiceConnection::finish()
{
    if (finished_)
        return;
    finished_ = true;
    deadline_.stop();
    emit closed(this);
    deleteLater();
}
