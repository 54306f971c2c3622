#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

// The head of one HTTP/1.x request (request line and header fields), read
// from the bytes a client sent with every bound checked as the bytes arrive:
// a head that can only grow past a bound is refused before it is complete,
// so nothing a client sends is held beyond the bounds.
struct RequestHead {
    // The bounds: the request line, the header fields' bytes together (names,
    // values and their line ends) and their number.
    static constexpr qsizetype kRequestLineLimit = 8 * 1024;
    static constexpr qsizetype kHeaderLimit = 8 * 1024;
    static constexpr int kHeaderCountLimit = 100;

    enum class Outcome { Incomplete, Complete, Refused };

    QByteArray method;  // as sent: methods are case-sensitive
    QByteArray target;  // origin-form, "/path?query"
    QByteArray version; // "HTTP/1.1" or "HTTP/1.0"
    QList<QPair<QByteArray, QByteArray>> headers;

    // Reads a head from the start of `data`. Complete: `consumed` is its
    // length, blank line included. Refused: `status` says why (400 malformed,
    // 414 request line too long, 431 header fields too large or too many,
    // 505 another HTTP version). Incomplete: more bytes are needed.
    static Outcome Parse(QByteArrayView data, RequestHead &head, qsizetype &consumed, int &status);

    // The value of the first field of that name (names compared without
    // case); empty when there is none.
    QByteArray Value(QByteArrayView name) const;

    // True when a field of that name is there, even empty.
    bool Has(QByteArrayView name) const;

    // True when the comma-separated field `name` lists `token` (compared
    // without case), as "Connection: keep-alive, Upgrade" lists "upgrade".
    bool Lists(QByteArrayView name, QByteArrayView token) const;
};
