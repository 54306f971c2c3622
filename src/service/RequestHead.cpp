#include "RequestHead.h"

namespace
{

// RFC 9110's tchar: what a method and a field name are made of.
bool isTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (!isTokenChar(c))
            return false;
    }
    return true;
}

// Control characters other than a tab never stand in a field value.
bool isFieldValue(QByteArrayView text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f)
            return false;
    }
    return true;
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

// The line starting at `from` without its CRLF: its end (the '\n') in `end`,
// -1 when it has not arrived; false when a '\n' stands without its '\r'.
bool findLine(QByteArrayView data, qsizetype from, qsizetype &end)
{
    end = data.indexOf('\n', from);
    return end < 0 || (end > from && data[end - 1] == '\r');
}

RequestHead::Outcome refused(int &status, int code)
{
    status = code;
    return RequestHead::Outcome::Refused;
}

RequestHead::Outcome readRequestLine(QByteArrayView line, RequestHead &head, int &status)
{
    const qsizetype firstSpace = line.indexOf(' ');
    const qsizetype lastSpace = line.lastIndexOf(' ');
    if (firstSpace <= 0 || lastSpace == firstSpace)
        return refused(status, 400);
    const QByteArrayView method = line.first(firstSpace);
    const QByteArrayView target = line.sliced(firstSpace + 1, lastSpace - firstSpace - 1);
    const QByteArrayView version = line.sliced(lastSpace + 1);
    if (!isToken(method) || !target.startsWith('/') || target.contains(' ') ||
        !isFieldValue(target))
        return refused(status, 400);
    if (version != "HTTP/1.1" && version != "HTTP/1.0") {
        const bool http = version.size() == 8 && version.startsWith("HTTP/") && version[5] >= '0' &&
                          version[5] <= '9' && version[6] == '.' && version[7] >= '0' &&
                          version[7] <= '9';
        return refused(status, http ? 505 : 400);
    }
    head.method = method.toByteArray();
    head.target = target.toByteArray();
    head.version = version.toByteArray();
    return RequestHead::Outcome::Complete;
}

} // namespace

RequestHead::Outcome RequestHead::Parse(QByteArrayView data, RequestHead &head, qsizetype &consumed,
                                        int &status)
{
    head = RequestHead{};
    // Empty lines before a request are skipped (RFC 9112 §2.2), a few of them.
    qsizetype start = 0;
    while (start < 8 && data.sliced(start).startsWith("\r\n"))
        start += 2;

    qsizetype end = 0;
    if (!findLine(data, start, end))
        return refused(status, 400);
    if (end < 0)
        return data.size() - start > kRequestLineLimit + 1 ? refused(status, 414)
                                                           : Outcome::Incomplete;
    if (end - 1 - start > kRequestLineLimit)
        return refused(status, 414);
    if (readRequestLine(data.sliced(start, end - 1 - start), head, status) != Outcome::Complete)
        return Outcome::Refused;

    const qsizetype fieldsStart = end + 1;
    for (qsizetype from = fieldsStart;; from = end + 1) {
        if (!findLine(data, from, end))
            return refused(status, 400);
        if (end < 0)
            return data.size() - fieldsStart > kHeaderLimit + 2 ? refused(status, 431)
                                                                : Outcome::Incomplete;
        const QByteArrayView line = data.sliced(from, end - 1 - from);
        if (line.isEmpty()) {
            consumed = end + 1;
            return Outcome::Complete;
        }
        if (end + 1 - fieldsStart > kHeaderLimit || head.headers.size() >= kHeaderCountLimit)
            return refused(status, 431);
        // A line folded onto the one before is obsolete and refused
        // (RFC 9112 §5.2), as is a space before the colon.
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.first(colon)))
            return refused(status, 400);
        const QByteArrayView value = trimmed(line.sliced(colon + 1));
        if (!isFieldValue(value))
            return refused(status, 400);
        head.headers.append({line.first(colon).toByteArray(), value.toByteArray()});
    }
}

QByteArray RequestHead::Value(QByteArrayView name) const
{
    for (const auto &[field, value] : headers) {
        if (QByteArrayView(field).compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool RequestHead::Has(QByteArrayView name) const
{
    for (const auto &field : headers) {
        if (QByteArrayView(field.first).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool RequestHead::Lists(QByteArrayView name, QByteArrayView token) const
{
    for (const auto &[field, value] : headers) {
        if (QByteArrayView(field).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray &item : value.split(',')) {
            if (trimmed(item).compare(token, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}
