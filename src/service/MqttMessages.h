#pragma once

#include "GameDocument.h"

#include <QByteArray>
#include <QString>
#include <vector>

// What the publisher hands the broker for each document of a game, under the
// topic prefix P:
// - P/situation, retained: the glance a score bug shows (a few kilobytes);
// - P/snapshot, retained: {"seq":N,"catchups":L,"snapshot":{...}}, a whole
//   state, rewritten only now and then;
// - P/catchup/1 ... P/catchup/L, retained: each a change message (the
//   JSON Patch of P/changes' form) from the state the level above ends at to
//   a later one, the last ending at the latest document;
// - P/changes, not retained: what each document changed since the one before.
// A late joiner applies the snapshot and the catch-ups in order, each made
// "from" the seq the one before ends at, then follows P/changes.
//
// Each document rewrites the deepest catch-up; a level is rewritten instead
// once the bytes its deeper level cost since it was last written would pass
// its own size (and the snapshot once its first catch-up's would pass the
// snapshot's). So the growing catch-ups never cost more than rewriting what
// they patch, which keeps the bytes per document near the least a fixed
// rewriting period could reach, without knowing the game's rate of change.
class MqttMessages
{
public:
    struct Message {
        QByteArray topic;
        QByteArray payload;
        bool retained = false;
    };

    // The catch-up levels for a broker: past five the bytes per play of the
    // feed's games no longer fall (bench_broker).
    static constexpr int kLevels = 5;

    // Messages under the topic `prefix` with `levels` (at least 1) catch-ups.
    explicit MqttMessages(const QString &prefix, int levels = kLevels);

    // The messages that bring the broker from the previous document to
    // `document`, in the order to publish them: the situation, what is
    // rewritten of the snapshot and the catch-ups, the change.
    std::vector<Message> Next(const GameDocument &document);

    // Every retained message as it stands, in the order to publish them: what
    // a broker that lost them (or a new connection) is given again.
    std::vector<Message> Retained() const;

private:
    // Level `level` rewritten to end at `document` with `payload`; the deeper
    // levels start again from it.
    void rewrite(int level, const GameDocument &document, const QByteArray &payload);
    // The message of level `level` if it were rewritten to end at `document`.
    QByteArray candidate(int level, const GameDocument &document) const;
    QByteArray topic(int level) const;

    const QString prefix_;
    const int levels_;
    std::vector<GameDocument> bases_;  // bases_[k]: the state level k ends at, k < levels_
    std::vector<QByteArray> payloads_; // by level: the snapshot, then the catch-ups
    std::vector<qint64> paid_;         // paid_[k]: bytes of level k + 1 since level k was written
    QByteArray situation_;
    GameDocument last_;
};
