#include "ServeSettings.h"

#include <QRegularExpression>

namespace
{

// A DNS name as a Host field carries it: letters, digits, hyphens and dots.
const QRegularExpression
    kHostName(R"(^[a-z0-9]([a-z0-9-]*[a-z0-9])?(\.[a-z0-9]([a-z0-9-]*[a-z0-9])?)*$)");

} // namespace

bool ServeSettings::SplitHostPort(const QString &text, QString &host, std::optional<quint16> &port)
{
    QString portText;
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close < 0)
            return false;
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(':'))
            return false;
        portText = rest.mid(1);
        if (rest.isEmpty())
            portText.clear();
        else if (portText.isEmpty())
            return false;
    } else if (text.count(':') == 1) {
        host = text.section(':', 0, 0);
        portText = text.section(':', 1);
        if (portText.isEmpty())
            return false;
    } else {
        host = text; // a bare IPv6 address has no port
    }
    port.reset();
    if (!portText.isEmpty()) {
        bool ok = false;
        const uint number = portText.toUInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return false;
        port = static_cast<quint16>(number);
    }
    return !host.isEmpty();
}

bool ServeSettings::ParseAddress(const QString &text, ServeSettings &settings, QString &error)
{
    error = QString("--serve takes [HOST:]PORT with an IP address as HOST and PORT from 1 to "
                    "65535, not \"%1\"")
                .arg(text);
    bool portOnly = false;
    const uint number = text.toUInt(&portOnly);
    if (portOnly) {
        if (number < 1 || number > 65535)
            return false;
        settings.port = static_cast<quint16>(number);
        error.clear();
        return true;
    }
    QString host;
    std::optional<quint16> port;
    if (!SplitHostPort(text, host, port) || !port)
        return false;
    if (host != "localhost" && QHostAddress(host).isNull())
        return false;
    settings.host = host;
    settings.port = *port;
    error.clear();
    return true;
}

QHostAddress ServeSettings::Address() const
{
    return host == "localhost" ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
}

bool ServeSettings::IsLoopback() const
{
    return host == "localhost" || QHostAddress(host).isLoopback();
}

bool ServeSettings::AnswersTo(const QByteArray &hostField) const
{
    QString host = QString::fromLatin1(hostField).toLower();
    QString port;
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        if (close < 0)
            return false;
        port = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return false;
    } else if (const qsizetype colon = host.indexOf(':'); colon >= 0) {
        port = host.mid(colon);
        host = host.left(colon);
    }
    bool number = true;
    if (!port.isEmpty() && (!port.startsWith(':') || port.mid(1).toUInt(&number) > 65535))
        return false;
    if (!number)
        return false;
    if (host.endsWith('.'))
        host.chop(1);
    if (host.isEmpty())
        return false;
    return !QHostAddress(host).isNull() || host == "localhost" || names.contains(host);
}

bool ServeSettings::AddNames(const QString &text, QString &error)
{
    for (const QString &name : text.split(',')) {
        const QString lower = name.trimmed().toLower();
        if (!kHostName.match(lower).hasMatch() || lower.size() > 253) {
            error = QString("--serve-name takes host names, not \"%1\"").arg(name);
            return false;
        }
        names.append(lower);
    }
    return true;
}

bool ServeSettings::AddOrigins(const QString &text, QString &error)
{
    static const QRegularExpression origin(R"(^https?://[^/?#@\s]+$)");
    for (const QString &entry : text.split(',')) {
        const QString lower = entry.trimmed().toLower();
        if (!origin.match(lower).hasMatch()) {
            error = QString("--serve-origin takes origins such as https://example.org, not \"%1\"")
                        .arg(entry);
            return false;
        }
        origins.append(lower);
    }
    return true;
}

QString ServeSettings::AccessProblem() const
{
    if (IsLoopback() || !token.isEmpty() || isPublic)
        return {};
    return QString(
               "serving on %1 lets anyone on the network read the game: give "
               "--serve-token-file FILE (or PYLONIX_SERVE_TOKEN), or --serve-public to allow it")
        .arg(host);
}
