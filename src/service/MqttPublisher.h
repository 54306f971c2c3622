#pragma once

#include "GameDocument.h"
#include "MqttMessages.h"
#include "MqttSettings.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

struct mosquitto;
struct mqtt5__property;
typedef struct mqtt5__property mosquitto_property;

// Publishes the game to an MQTT broker (QoS 1) as MqttMessages lays it out:
// the situation, the snapshot and its catch-ups retained, each publish's
// changes at PREFIX/changes.
//
// A thread of its own connects, and connects again with a fresh client when
// the connection ends, so nothing queued for a broker that went away is kept:
// while there is no connection only the latest retained messages are held,
// and they are published first on every connect. What waits for the broker's
// acknowledgement is bounded too; past the bound changes are dropped (a page
// that misses one reads the retained state again) and the retained messages
// wait.
// Publish only hands messages over and never waits for the broker.
//
// Every change of the connection's state and every message the broker will
// not take is told in one line on stderr, once, not on every retry.
class MqttPublisher
{
public:
    // Talks to the broker of `settings` under the topic `settings.prefix`,
    // which TopicProblem accepts.
    explicit MqttPublisher(MqttSettings settings);
    // Talks to the broker at `host`:`port` under the topic `prefix`, anonymously.
    MqttPublisher(QString host, quint16 port, QString prefix);
    ~MqttPublisher();
    MqttPublisher(const MqttPublisher &) = delete;
    MqttPublisher &operator=(const MqttPublisher &) = delete;

    // Starts the network thread; false with `error` when the topic cannot be
    // used. A broker not there yet is no error: the thread keeps trying.
    bool Start(QString &error);

    // Publishes `document`: its situation, what it rewrites of the retained
    // state, and what it changed since the previous one.
    void Publish(const GameDocument &document);

    // True while connected to the broker.
    bool IsConnected() const { return connected_; }

    // Bytes handed to the connection that the broker has not acknowledged.
    qint64 UnacknowledgedBytes() const;

    // "pylonix/GAMEID", with the characters a topic level cannot hold
    // ('/', '+', '#', control characters) and spaces turned into '-', and a
    // game id too long for a topic cut.
    static QString DefaultPrefix(const QString &gameId);

private:
    // One message handed to the connection and not yet acknowledged.
    struct Sent {
        qint64 bytes = 0;
        QByteArray topic;
    };

    void run();
    // Serves one connection of `client` until it ends; returns why it ended
    // (empty when the publisher stops), with `answered` true when the broker
    // took the connection.
    QString serve(mosquitto *client, bool &answered);
    mosquitto *makeClient(QString &error);
    // With mutex_ held: publishes on the current client.
    void sendLocked(const MqttMessages::Message &message);
    // With mutex_ held: publishes every retained message again.
    void sendRetainedLocked();
    // Tells `line` on stderr, unless `problem` was told and has not gone away.
    void tell(const QString &problem, const QString &line);
    // Tells `line` on stderr when it is not the state told last.
    void tellState(const QString &line);
    // "HOST:PORT" of the broker, as the lines name it.
    QString where() const;

    static void onConnect(mosquitto *, void *self, int reason, int flags,
                          const mosquitto_property *properties);
    static void onPublish(mosquitto *, void *self, int mid, int reason,
                          const mosquitto_property *properties);
    static void onLog(mosquitto *, void *self, int level, const char *text);
    // `failure` with what the library last logged as an error since (OpenSSL's
    // reason for a failed handshake, say), which is taken.
    QString withLibraryError(const QString &failure);

    const MqttSettings settings_;

    MqttMessages messages_; // Publish's own

    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> connected_{false};
    std::condition_variable wake_;

    mutable std::mutex mutex_;    // guards what follows: both threads use it
    mosquitto *client_ = nullptr; // the network thread's current client; owned by it
    std::vector<MqttMessages::Message> retained_; // published first on each connect
    qint64 retainedBytes_ = 0;                    // their payloads' bytes
    bool retainedDue_ = false; // retained_ waits for the unacknowledged bytes to fall
    std::map<int, Sent> sent_; // by message id
    qint64 unacknowledged_ = 0;
    QString refusal_;         // why the broker refused the connection; empty when it did not
    int brokerMaxPacket_ = 0; // the largest packet the broker takes; 0 when it did not say

    std::mutex logMutex_; // guards libraryError_: the library logs from either thread
    QString libraryError_;

    std::mutex tellMutex_;   // guards what follows: both threads tell
    QString state_;          // the last state told
    std::set<QString> told_; // message problems told since they last went away
};
