#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The WebSocket framing (RFC 6455) as the live service needs it: frames it
// sends, and a reader of what a client sends. The service reads nothing a
// client says, so data messages are counted and dropped as they arrive,
// never assembled: what a client can make it hold is one frame header or one
// control frame.
class WebSocketFrames
{
public:
    // A data message (all its fragments) longer than this closes the
    // connection with 1009.
    static constexpr qint64 kMessageLimit = 64 * 1024;

    enum class Opcode : quint8 {
        Continuation = 0x0,
        Text = 0x1,
        Binary = 0x2,
        Close = 0x8,
        Ping = 0x9,
        Pong = 0xa
    };
    struct Control {
        Opcode opcode;
        QByteArray payload; // unmasked, at most 125 bytes
    };

    // Reads the next bytes a client sent; each control frame completed in
    // them is appended to `controls`. Returns 0, or the close code of the
    // rule the client broke (1002 a protocol error, 1009 a message too long),
    // after which nothing more should be read.
    int Read(QByteArrayView bytes, QList<Control> &controls);

    // A whole unmasked frame, as a server sends it.
    static QByteArray Frame(Opcode opcode, QByteArrayView payload);

    // A close frame with `code`.
    static QByteArray CloseFrame(quint16 code);

    // The Sec-WebSocket-Accept value for a client's Sec-WebSocket-Key.
    static QByteArray AcceptKey(QByteArrayView key);

    // True for a valid Sec-WebSocket-Key: 16 bytes in base64.
    static bool IsKey(QByteArrayView key);

private:
    int readHeader(QList<Control> &controls);

    QByteArray pending_;      // the frame read so far, until its payload starts
    qint64 dropping_ = 0;     // payload bytes of a data frame still to drop
    qint64 messageBytes_ = 0; // of the data message being received
    bool inMessage_ = false;  // a fragmented data message is unfinished
};
