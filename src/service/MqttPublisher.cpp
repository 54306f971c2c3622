#include "MqttPublisher.h"

#include <mosquitto.h>

namespace
{

constexpr int kQos = 1;
constexpr int kKeepAliveSeconds = 30;

void initLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

} // namespace

MqttPublisher::MqttPublisher(QString host, quint16 port, QString prefix)
    : host_(std::move(host)), port_(port), prefix_(std::move(prefix))
{
}

MqttPublisher::~MqttPublisher()
{
    if (!client_)
        return;
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
}

bool MqttPublisher::Start(QString &error)
{
    initLibraryOnce();
    client_ = mosquitto_new(nullptr, true, this);
    if (!client_) {
        error = "cannot make an MQTT client";
        return false;
    }
    mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(client_, &MqttPublisher::onConnect);
    mosquitto_disconnect_callback_set(client_, &MqttPublisher::onDisconnect);
    mosquitto_reconnect_delay_set(client_, 1, 10, true);
    // A refused first attempt is no error: the network thread tries again.
    mosquitto_connect_async(client_, host_.toUtf8().constData(), port_, kKeepAliveSeconds);
    const int started = mosquitto_loop_start(client_);
    if (started != MOSQ_ERR_SUCCESS) {
        error = QString("cannot start the MQTT thread: %1").arg(mosquitto_strerror(started));
        mosquitto_destroy(client_);
        client_ = nullptr;
        return false;
    }
    return true;
}

void MqttPublisher::Publish(const GameDocument &document)
{
    const QByteArray snapshot = document.SnapshotMessage();
    QByteArray changed;
    {
        const std::lock_guard lock(mutex_);
        if (last_.seq != 0)
            changed = document.ChangedMessage(last_);
        last_ = document;
        snapshot_ = snapshot;
    }
    if (!client_)
        return;
    publishSnapshot(snapshot);
    if (!changed.isEmpty()) {
        const QByteArray topic = (prefix_ + "/changes").toUtf8();
        mosquitto_publish(client_, nullptr, topic.constData(), static_cast<int>(changed.size()),
                          changed.constData(), kQos, false);
    }
}

void MqttPublisher::publishSnapshot(const QByteArray &snapshot)
{
    const QByteArray topic = (prefix_ + "/snapshot").toUtf8();
    mosquitto_publish(client_, nullptr, topic.constData(), static_cast<int>(snapshot.size()),
                      snapshot.constData(), kQos, true);
}

void MqttPublisher::onConnect(mosquitto *, void *self, int result)
{
    auto *publisher = static_cast<MqttPublisher *>(self);
    if (result != 0)
        return;
    publisher->connected_ = true;
    // A broker that restarted may have lost the retained snapshot.
    QByteArray snapshot;
    {
        const std::lock_guard lock(publisher->mutex_);
        snapshot = publisher->snapshot_;
    }
    if (!snapshot.isEmpty())
        publisher->publishSnapshot(snapshot);
}

void MqttPublisher::onDisconnect(mosquitto *, void *self, int)
{
    static_cast<MqttPublisher *>(self)->connected_ = false;
}

QString MqttPublisher::DefaultPrefix(const QString &gameId)
{
    QString level = gameId;
    for (QChar &c : level) {
        if (c == '/' || c == '+' || c == '#' || c.isSpace() || c.unicode() < 0x20)
            c = '-';
    }
    return "pylonix/" + level;
}
