#include "WebSocketFrames.h"

#include <QCryptographicHash>

namespace
{

constexpr quint8 kFin = 0x80;
constexpr quint8 kReserved = 0x70;
constexpr quint8 kMasked = 0x80;
constexpr int kProtocolError = 1002;
constexpr int kTooBig = 1009;

bool isControl(quint8 opcode)
{
    return opcode >= 0x8;
}

} // namespace

int WebSocketFrames::Read(QByteArrayView bytes, QList<Control> &controls)
{
    while (!bytes.isEmpty()) {
        if (dropping_ > 0) {
            const qsizetype dropped = std::min<qint64>(dropping_, bytes.size());
            dropping_ -= dropped;
            bytes = bytes.sliced(dropped);
            continue;
        }
        // A header is at most 14 bytes and a control frame's payload 125:
        // taken a byte at a time, pending_ never holds more than one frame.
        pending_.append(bytes.front());
        bytes = bytes.sliced(1);
        if (const int broken = readHeader(controls); broken != 0)
            return broken;
    }
    return 0;
}

int WebSocketFrames::readHeader(QList<Control> &controls)
{
    if (pending_.size() < 2)
        return 0;
    const auto first = static_cast<quint8>(pending_[0]);
    const auto second = static_cast<quint8>(pending_[1]);
    const quint8 opcode = first & 0x0f;
    const bool fin = (first & kFin) != 0;
    // Clients mask every frame; no extension is agreed, so no reserved bit.
    if ((first & kReserved) != 0 || (second & kMasked) == 0)
        return kProtocolError;
    const quint8 shortLength = second & 0x7f;
    const qsizetype lengthBytes = shortLength == 126 ? 2 : shortLength == 127 ? 8 : 0;
    const qsizetype headerSize = 2 + lengthBytes + 4;
    if (pending_.size() < headerSize)
        return 0;
    quint64 length = shortLength;
    if (lengthBytes > 0) {
        length = 0;
        for (qsizetype i = 0; i < lengthBytes; ++i)
            length = (length << 8) | static_cast<quint8>(pending_[2 + i]);
        if (length >> 63)
            return kProtocolError;
    }

    if (isControl(opcode)) {
        if (!fin || length > 125 || opcode > static_cast<quint8>(Opcode::Pong))
            return kProtocolError;
        if (pending_.size() < headerSize + static_cast<qsizetype>(length))
            return 0;
        QByteArray payload = pending_.sliced(headerSize);
        for (qsizetype i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<char>(payload[i] ^ pending_[2 + lengthBytes + i % 4]);
        controls.append({static_cast<Opcode>(opcode), payload});
        pending_.clear();
        return 0;
    }

    const bool continuation = opcode == static_cast<quint8>(Opcode::Continuation);
    if (opcode > static_cast<quint8>(Opcode::Binary) || continuation != inMessage_)
        return kProtocolError;
    if (!continuation)
        messageBytes_ = 0;
    if (length > static_cast<quint64>(kMessageLimit - messageBytes_))
        return kTooBig;
    messageBytes_ += static_cast<qint64>(length);
    inMessage_ = !fin;
    dropping_ = static_cast<qint64>(length);
    pending_.clear();
    return 0;
}

QByteArray WebSocketFrames::Frame(Opcode opcode, QByteArrayView payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 10);
    frame.append(static_cast<char>(kFin | static_cast<quint8>(opcode)));
    const auto size = static_cast<quint64>(payload.size());
    if (size < 126) {
        frame.append(static_cast<char>(size));
    } else if (size <= 0xffff) {
        frame.append(static_cast<char>(126));
        for (int shift = 8; shift >= 0; shift -= 8)
            frame.append(static_cast<char>((size >> shift) & 0xff));
    } else {
        frame.append(static_cast<char>(127));
        for (int shift = 56; shift >= 0; shift -= 8)
            frame.append(static_cast<char>((size >> shift) & 0xff));
    }
    frame.append(payload);
    return frame;
}

QByteArray WebSocketFrames::CloseFrame(quint16 code)
{
    const char payload[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xff)};
    return Frame(Opcode::Close, QByteArrayView(payload, 2));
}

QByteArray WebSocketFrames::AcceptKey(QByteArrayView key)
{
    return QCryptographicHash::hash(key.toByteArray() + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                    QCryptographicHash::Sha1)
        .toBase64();
}

bool WebSocketFrames::IsKey(QByteArrayView key)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(key.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    return key.size() == 24 && decoded && decoded.decoded.size() == 16;
}
