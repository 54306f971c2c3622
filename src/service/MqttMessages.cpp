#include "MqttMessages.h"

#include "wire/JsonWriter.h"

#include <algorithm>

namespace
{

// The change message from a state to itself: where a level starts again.
QByteArray unchanged(const GameDocument &document)
{
    const QByteArray seq = QByteArray::number(document.seq);
    return "{\"seq\":" + seq + ",\"from\":" + seq +
           ",\"updated\":" + JsonWriter::Quoted(document.updated) + ",\"patch\":[]}";
}

} // namespace

MqttMessages::MqttMessages(const QString &prefix, int levels)
    : prefix_(prefix), levels_(std::max(1, levels)), bases_(levels_), payloads_(levels_ + 1),
      paid_(levels_, 0)
{
}

QByteArray MqttMessages::topic(int level) const
{
    return (level == 0 ? prefix_ + "/snapshot" : prefix_ + "/catchup/" + QString::number(level))
        .toUtf8();
}

QByteArray MqttMessages::candidate(int level, const GameDocument &document) const
{
    if (level == 0)
        return "{\"seq\":" + QByteArray::number(document.seq) +
               ",\"catchups\":" + QByteArray::number(levels_) + ",\"snapshot\":" + document.Json() +
               '}';
    const QByteArray changed = document.ChangedMessage(bases_[level - 1]);
    return changed.isEmpty() ? unchanged(document) : changed;
}

void MqttMessages::rewrite(int level, const GameDocument &document, const QByteArray &payload)
{
    payloads_[level] = payload;
    if (level > 0)
        paid_[level - 1] += payload.size();
    for (int deeper = level; deeper < levels_; ++deeper) {
        bases_[deeper] = document;
        paid_[deeper] = 0;
        payloads_[deeper + 1] = unchanged(document);
    }
}

std::vector<MqttMessages::Message> MqttMessages::Next(const GameDocument &document)
{
    std::vector<Message> out;
    situation_ = document.SituationMessage();
    out.push_back({(prefix_ + "/situation").toUtf8(), situation_, true});

    int level = 0;
    QByteArray payload;
    if (!payloads_[0].isEmpty()) {
        // From the deepest level up, while rewriting a level would cost more
        // than rewriting the one above has saved so far.
        level = levels_;
        payload = candidate(level, document);
        while (level > 0 && paid_[level - 1] + payload.size() > payloads_[level - 1].size()) {
            --level;
            payload = candidate(level, document);
        }
    } else {
        payload = candidate(0, document);
    }
    rewrite(level, document, payload);
    for (int rewritten = level; rewritten <= levels_; ++rewritten)
        out.push_back({topic(rewritten), payloads_[rewritten], true});

    if (last_.seq != 0) {
        const QByteArray changed = document.ChangedMessage(last_);
        if (!changed.isEmpty())
            out.push_back({(prefix_ + "/changes").toUtf8(), changed, false});
    }
    last_ = document;
    return out;
}

std::vector<MqttMessages::Message> MqttMessages::Retained() const
{
    std::vector<Message> out;
    if (situation_.isEmpty())
        return out;
    out.push_back({(prefix_ + "/situation").toUtf8(), situation_, true});
    for (int level = 0; level <= levels_; ++level)
        out.push_back({topic(level), payloads_[level], true});
    return out;
}
