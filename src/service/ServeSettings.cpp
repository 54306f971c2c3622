#include "ServeSettings.h"

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

QString ServeSettings::AccessProblem() const
{
    if (IsLoopback() || !token.isEmpty() || isPublic)
        return {};
    return QString("serving on %1 lets anyone on the network read the game: give "
                   "--serve-token TOKEN, or --serve-public to allow it")
        .arg(host);
}
