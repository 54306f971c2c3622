#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QTest>
#include <mosquitto.h>
#include <mutex>
#include <optional>

// Subscribes to everything under a prefix and keeps what arrives.
class TestSubscriber
{
public:
    TestSubscriber(quint16 port, const QString &prefix) : topic_((prefix + "/#").toUtf8())
    {
        client_ = mosquitto_new(nullptr, true, this);
        mosquitto_connect_callback_set(client_, [](mosquitto *client, void *self, int) {
            mosquitto_subscribe(client, nullptr,
                                static_cast<TestSubscriber *>(self)->topic_.constData(), 1);
        });
        mosquitto_message_callback_set(
            client_, [](mosquitto *, void *self, const mosquitto_message *message) {
                auto *subscriber = static_cast<TestSubscriber *>(self);
                const std::lock_guard lock(subscriber->mutex_);
                subscriber->received_.append(
                    {QString::fromUtf8(message->topic),
                     QJsonDocument::fromJson(QByteArray(static_cast<const char *>(message->payload),
                                                        message->payloadlen))
                         .object(),
                     message->retain});
            });
        mosquitto_connect(client_, "127.0.0.1", port, 30);
        mosquitto_loop_start(client_);
    }
    ~TestSubscriber()
    {
        mosquitto_disconnect(client_);
        mosquitto_loop_stop(client_, false);
        mosquitto_destroy(client_);
    }

    struct Message {
        QString topic;
        QJsonObject json;
        bool retained = false;
    };

    // Waits for a message on `topic` with "seq" `seq`.
    std::optional<Message> waitFor(const QString &topic, int seq)
    {
        std::optional<Message> found;
        (void)QTest::qWaitFor(
            [&] {
                const std::lock_guard lock(mutex_);
                for (const Message &message : received_)
                    if (message.topic == topic && message.json["seq"].toInt() == seq)
                        found = message;
                return found.has_value();
            },
            15000);
        return found;
    }

    // Every message so far.
    QList<Message> received()
    {
        const std::lock_guard lock(mutex_);
        return received_;
    }

private:
    QByteArray topic_;
    mosquitto *client_ = nullptr;
    std::mutex mutex_;
    QList<Message> received_;
};
