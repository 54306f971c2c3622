// What a client of the live service sends on one connection: a request head,
// then (as after a WebSocket upgrade) frames. The head is read as the service
// reads it, with its bounds checked on every outcome; the frames are read in
// one piece and in two, which must agree.
#include "service/RequestHead.h"
#include "service/ServeSettings.h"
#include "service/WebSocketFrames.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{

// The most bytes a head still incomplete may have: a few empty lines before
// it, the request line and the header fields, each at its bound with its
// line end.
constexpr qsizetype kMostHeldBytes =
    8 + RequestHead::kRequestLineLimit + 2 + RequestHead::kHeaderLimit + 2;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void checkHead(QByteArrayView bytes, const RequestHead &head, RequestHead::Outcome outcome,
               qsizetype consumed, int status)
{
    switch (outcome) {
    case RequestHead::Outcome::Refused:
        if (status != 400 && status != 414 && status != 431 && status != 505)
            fail("a head was refused with an unknown status");
        return;
    case RequestHead::Outcome::Incomplete:
        if (bytes.size() > kMostHeldBytes)
            fail("an incomplete head is held past the bounds");
        return;
    case RequestHead::Outcome::Complete:
        break;
    }
    if (consumed <= 0 || consumed > bytes.size())
        fail("a complete head has a length outside the bytes read");
    if (head.headers.size() > RequestHead::kHeaderCountLimit)
        fail("a complete head has more fields than allowed");
    if (head.method.isEmpty() || !head.target.startsWith('/') || head.version.isEmpty())
        fail("a complete head lacks its method, target or version");
    // Sent a byte at a time, the head must wait for its last byte, and then
    // read the same.
    for (const qsizetype shorter : {consumed - 1, consumed / 2}) {
        RequestHead partial;
        qsizetype partialConsumed = 0;
        int partialStatus = 0;
        if (RequestHead::Parse(bytes.first(shorter), partial, partialConsumed, partialStatus) !=
            RequestHead::Outcome::Incomplete)
            fail("the start of a complete head was not read as incomplete");
    }
    RequestHead alone;
    qsizetype aloneConsumed = 0;
    int aloneStatus = 0;
    if (RequestHead::Parse(bytes.first(consumed), alone, aloneConsumed, aloneStatus) !=
            RequestHead::Outcome::Complete ||
        aloneConsumed != consumed || alone.headers != head.headers || alone.target != head.target)
        fail("a head reads differently with the bytes that follow it");
}

// What the service asks of a complete head.
void askHead(const RequestHead &head)
{
    ServeSettings settings;
    QString error;
    if (!settings.AddNames("scores.example,board.example", error))
        fail("the fuzz target's own names were refused");
    settings.AnswersTo(head.Value("host"));
    head.Lists("connection", "upgrade");
    head.Has("authorization");
    const QByteArray key = head.Value("sec-websocket-key");
    if (WebSocketFrames::IsKey(key) && WebSocketFrames::AcceptKey(key).size() != 28)
        fail("an accepted key gave an answer that is not 20 bytes in base64");
}

// The frames read at once and in two pieces split at `split`.
void readFrames(QByteArrayView bytes, qsizetype split)
{
    WebSocketFrames whole;
    QList<WebSocketFrames::Control> wholeControls;
    const int wholeCode = whole.Read(bytes, wholeControls);

    WebSocketFrames pieces;
    QList<WebSocketFrames::Control> pieceControls;
    int piecesCode = pieces.Read(bytes.first(split), pieceControls);
    if (piecesCode == 0)
        piecesCode = pieces.Read(bytes.sliced(split), pieceControls);

    if (wholeCode != piecesCode || wholeControls.size() != pieceControls.size())
        fail("frames read in two pieces read differently");
    for (qsizetype i = 0; i < wholeControls.size(); ++i) {
        if (wholeControls[i].opcode != pieceControls[i].opcode ||
            wholeControls[i].payload != pieceControls[i].payload)
            fail("a control frame read in two pieces reads differently");
        if (wholeControls[i].payload.size() > 125)
            fail("a control frame longer than allowed was taken");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    RequestHead head;
    qsizetype consumed = 0;
    int status = 0;
    const RequestHead::Outcome outcome = RequestHead::Parse(bytes, head, consumed, status);
    checkHead(bytes, head, outcome, consumed, status);
    if (outcome != RequestHead::Outcome::Complete)
        return 0;
    askHead(head);
    const QByteArrayView frames = bytes.sliced(consumed);
    if (!frames.isEmpty())
        readFrames(frames, static_cast<quint8>(frames.front()) % (frames.size() + 1));
    return 0;
}
