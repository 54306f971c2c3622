#include "MqttSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <mosquitto.h>

namespace
{

// The longest level the program puts after the prefix ("/snapshot",
// "/changes" and the like), with room to spare.
constexpr int kSuffixBytes = 32;

constexpr qint64 kMostPasswordFileBytes = 64 * 1024;

// U+0000 to U+001F, U+007F and U+0080 to U+009F: brokers refuse topics
// that hold them.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

QString MqttSettings::TopicProblem(const QString &prefix)
{
    if (prefix.isEmpty())
        return "the topic prefix is empty";
    if (prefix.contains('+') || prefix.contains('#'))
        return "the topic prefix holds a wildcard ('+' or '#'), which no one can publish to";
    if (prefix.startsWith('$'))
        return "the topic prefix starts with '$', which names the broker's own topics";
    for (const char32_t c : prefix.toUcs4()) {
        if (isControl(c))
            return "the topic prefix holds the control character U+" +
                   QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, '0');
    }
    const QByteArray bytes = prefix.toUtf8();
    if (bytes.size() > kMostTopicBytes - kSuffixBytes)
        return QString("the topic prefix has %1 bytes; MQTT allows at most %2 here")
            .arg(bytes.size())
            .arg(kMostTopicBytes - kSuffixBytes);
    if (mosquitto_validate_utf8(bytes.constData(), static_cast<int>(bytes.size())) !=
        MOSQ_ERR_SUCCESS)
        return "the topic prefix holds a character MQTT does not allow in a topic";
    return {};
}

bool MqttSettings::ReadPasswordFile(const QString &path, QByteArray &password, QString &error)
{
    const QString cannot = QString("cannot read the MQTT password file %1: ").arg(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        error = cannot + "no such file";
        return false;
    }
    if (!info.isFile() || info.size() > kMostPasswordFileBytes) {
        error = cannot + "not a regular file of at most 64 KiB";
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = cannot + file.errorString();
        return false;
    }
    QByteArray text = file.read(kMostPasswordFileBytes + 1);
    if (text.size() > kMostPasswordFileBytes) {
        error = cannot + "not a regular file of at most 64 KiB";
        return false;
    }
    const qsizetype end = text.indexOf('\n');
    if (end >= 0)
        text.truncate(end);
    if (text.endsWith('\r'))
        text.chop(1);
    if (text.isEmpty()) {
        error = cannot + "its first line is empty";
        return false;
    }
    password = text;
    return true;
}
