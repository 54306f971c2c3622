#pragma once

#include "ServiceTestClient.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QTest>
#include <map>
#include <mosquitto.h>
#include <mutex>
#include <optional>

// Subscribes to everything under a prefix and keeps what arrives.
class TestSubscriber
{
public:
    TestSubscriber(quint16 port, const QString &prefix)
        : prefix_(prefix), topic_((prefix + "/#").toUtf8())
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

    // Waits until the latest snapshot and catch-ups received join, as a page
    // joins them, into the state of `seq`; that state.
    std::optional<nlohmann::json> joined(int seq)
    {
        std::optional<nlohmann::json> state;
        (void)QTest::qWaitFor(
            [&] {
                std::map<QString, QJsonObject> latest;
                {
                    const std::lock_guard lock(mutex_);
                    for (const Message &message : received_)
                        latest[message.topic] = message.json;
                }
                const QJsonObject base = latest[prefix_ + "/snapshot"];
                if (!base.contains("snapshot"))
                    return false;
                nlohmann::json at = parsed(base["snapshot"].toObject());
                for (int level = 1; level <= base["catchups"].toInt(); ++level) {
                    const QJsonObject step = latest[prefix_ + "/catchup/" + QString::number(level)];
                    if (step.isEmpty() || step["from"].toInt() != at["seq"].get<int>())
                        return false;
                    at = Patched(std::move(at), parsed(step));
                }
                if (at["seq"] != seq)
                    return false;
                state = std::move(at);
                return true;
            },
            15000);
        return state;
    }

    // Every message so far.
    QList<Message> received()
    {
        const std::lock_guard lock(mutex_);
        return received_;
    }

private:
    static nlohmann::json parsed(const QJsonObject &object)
    {
        return nlohmann::json::parse(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

    QString prefix_;
    QByteArray topic_;
    mosquitto *client_ = nullptr;
    std::mutex mutex_;
    QList<Message> received_;
};
