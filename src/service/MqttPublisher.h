#pragma once

#include "GameDocument.h"

#include <QString>
#include <atomic>
#include <mutex>

struct mosquitto;

// Publishes the game to an MQTT broker: the whole document retained at
// PREFIX/snapshot, and each publish's changes at PREFIX/changes (QoS 1). The
// network runs on libmosquitto's own thread, which reconnects by itself when
// the broker goes away and then publishes the latest snapshot again; Publish
// only hands messages over and never waits for the broker.
class MqttPublisher
{
public:
    // Talks to the broker at `host`:`port` under the topic `prefix`.
    MqttPublisher(QString host, quint16 port, QString prefix);
    ~MqttPublisher();
    MqttPublisher(const MqttPublisher &) = delete;
    MqttPublisher &operator=(const MqttPublisher &) = delete;

    // Starts the network thread and the first connection attempt; false with
    // `error` when the client cannot be made. A broker not there yet is no
    // error: the thread keeps trying.
    bool Start(QString &error);

    // Publishes `document` as the snapshot, and what it changed since the
    // previous one.
    void Publish(const GameDocument &document);

    // True while connected to the broker.
    bool IsConnected() const { return connected_; }

    // "pylonix/GAMEID", with the characters a topic level cannot hold
    // ('/', '+', '#', control characters) and spaces turned into '-'.
    static QString DefaultPrefix(const QString &gameId);

private:
    static void onConnect(mosquitto *client, void *self, int result);
    static void onDisconnect(mosquitto *client, void *self, int result);
    void publishSnapshot(const QByteArray &snapshot);

    QString host_;
    quint16 port_;
    QString prefix_;
    mosquitto *client_ = nullptr; // owned; freed with mosquitto_destroy
    std::atomic<bool> connected_{false};
    std::mutex mutex_;    // guards what follows: the network thread reads it
    QByteArray snapshot_; // the latest snapshot, published again on each connect
    GameDocument last_;   // the latest document, for finding changes
};
