#include "MqttPublisher.h"

#include <QList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mosquitto.h>
#include <mqtt_protocol.h>
#include <utility>

namespace
{

constexpr int kQos = 1;
constexpr int kKeepAliveSeconds = 30;
// A broker that takes the connection but sends no CONNACK within this long
// is not answering.
constexpr auto kAnswerTime = std::chrono::seconds(4);
// How often the network thread looks up from the connection when nothing
// happens (to stop, and to time the broker's answer).
constexpr int kLoopMilliseconds = 200;
constexpr int kFirstRetrySeconds = 1;
constexpr int kLastRetrySeconds = 30;
// What may wait for the broker's acknowledgement: a few tenfold snapshots.
constexpr qint64 kMostUnacknowledgedBytes = 8 * 1024 * 1024;
// The longest game id kept in the default prefix, in characters.
constexpr int kMostGameIdCharacters = 200;

void initLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// Why a call of libmosquitto failed, in words (without a closing full stop:
// the words go inside a line).
QString failure(int result)
{
    QString words = result == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(std::strerror(errno))
                                             : QString::fromUtf8(mosquitto_strerror(result));
    if (words.endsWith('.'))
        words.chop(1);
    return words;
}

} // namespace

MqttPublisher::MqttPublisher(MqttSettings settings)
    : settings_(std::move(settings)), messages_(settings_.prefix)
{
}

MqttPublisher::MqttPublisher(QString host, quint16 port, QString prefix)
    : MqttPublisher(MqttSettings{std::move(host), port, std::move(prefix), {}, {}, {}})
{
}

MqttPublisher::~MqttPublisher()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        if (client_ && connected_)
            mosquitto_disconnect(client_);
    }
    wake_.notify_all();
    thread_.join();
}

bool MqttPublisher::Start(QString &error)
{
    error = MqttSettings::TopicProblem(settings_.prefix);
    if (!error.isEmpty())
        return false;
    initLibraryOnce();
    thread_ = std::thread([this] { run(); });
    return true;
}

void MqttPublisher::Publish(const GameDocument &document)
{
    const std::vector<MqttMessages::Message> messages = messages_.Next(document);
    std::vector<MqttMessages::Message> retained = messages_.Retained();
    qint64 retainedBytes = 0, bytes = 0;
    for (const MqttMessages::Message &message : retained)
        retainedBytes += message.payload.size();
    for (const MqttMessages::Message &message : messages)
        bytes += message.payload.size();
    const std::lock_guard lock(mutex_);
    retained_ = std::move(retained);
    retainedBytes_ = retainedBytes;
    // Without a connection nothing is queued: the next connect publishes the
    // retained messages, and pages that held an older state read them again.
    if (!client_ || !connected_)
        return;
    if (retainedDue_ || unacknowledged_ + bytes > kMostUnacknowledgedBytes) {
        retainedDue_ = true;
        return;
    }
    for (const MqttMessages::Message &message : messages)
        sendLocked(message);
}

qint64 MqttPublisher::UnacknowledgedBytes() const
{
    const std::lock_guard lock(mutex_);
    return unacknowledged_;
}

void MqttPublisher::sendLocked(const MqttMessages::Message &message)
{
    const QString what = message.retained ? "retained state" : "change";
    int mid = 0;
    const int result = mosquitto_publish_v5(
        client_, &mid, message.topic.constData(), static_cast<int>(message.payload.size()),
        message.payload.constData(), kQos, message.retained, nullptr);
    if (result == MOSQ_ERR_SUCCESS) {
        sent_[mid] = Sent{message.payload.size(), message.topic};
        unacknowledged_ += message.payload.size();
        const std::lock_guard tellLock(tellMutex_);
        told_.erase(what);
        return;
    }
    if (result == MOSQ_ERR_NO_CONN)
        return; // the connection just ended; the next one starts from the retained state
    if (result == MOSQ_ERR_OVERSIZE_PACKET || result == MOSQ_ERR_PAYLOAD_SIZE) {
        const QString limit = brokerMaxPacket_ > 0
                                  ? QString("takes messages of at most %1 bytes (its "
                                            "max_packet_size)")
                                        .arg(brokerMaxPacket_)
                                  : QString("cannot take a message that large");
        tell(what, QString("the MQTT broker at %1 %2: a message of %3 bytes to %4 is not published")
                       .arg(where(), limit)
                       .arg(message.payload.size())
                       .arg(QString::fromUtf8(message.topic)));
        return;
    }
    tell(what, QString("cannot publish to %1 at the MQTT broker at %2: %3")
                   .arg(QString::fromUtf8(message.topic), where(), failure(result)));
}

void MqttPublisher::sendRetainedLocked()
{
    retainedDue_ = false;
    for (const MqttMessages::Message &message : retained_)
        sendLocked(message);
}

void MqttPublisher::tell(const QString &problem, const QString &line)
{
    const std::lock_guard lock(tellMutex_);
    if (!told_.insert(problem).second)
        return;
    std::fprintf(stderr, "pylonix: %s\n", qPrintable(line));
    std::fflush(stderr);
}

void MqttPublisher::tellState(const QString &line)
{
    const std::lock_guard lock(tellMutex_);
    if (line == state_)
        return;
    state_ = line;
    std::fprintf(stderr, "pylonix: %s\n", qPrintable(line));
    std::fflush(stderr);
}

QString MqttPublisher::where() const
{
    const QString host = settings_.host.contains(':') ? "[" + settings_.host + "]" : settings_.host;
    return QString("%1:%2").arg(host).arg(settings_.port);
}

mosquitto *MqttPublisher::makeClient(QString &error)
{
    mosquitto *client = mosquitto_new(nullptr, true, this);
    if (!client) {
        error = "cannot make an MQTT client";
        return nullptr;
    }
    mosquitto_int_option(client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    // Publish is called on the program's thread while this one runs the loop.
    mosquitto_threaded_set(client, true);
    mosquitto_connect_v5_callback_set(client, &MqttPublisher::onConnect);
    mosquitto_publish_v5_callback_set(client, &MqttPublisher::onPublish);
    mosquitto_log_callback_set(client, &MqttPublisher::onLog);
    int result = MOSQ_ERR_SUCCESS;
    if (!settings_.user.isEmpty()) {
        result = mosquitto_username_pw_set(
            client, settings_.user.toUtf8().constData(),
            settings_.password.isEmpty() ? nullptr : settings_.password.constData());
    }
    if (result == MOSQ_ERR_SUCCESS && !settings_.caFile.isEmpty()) {
        result = mosquitto_tls_set(client, settings_.caFile.toLocal8Bit().constData(), nullptr,
                                   nullptr, nullptr, nullptr);
        if (result != MOSQ_ERR_SUCCESS)
            error = QString("cannot use %1 for TLS: %2").arg(settings_.caFile, failure(result));
    }
    if (result != MOSQ_ERR_SUCCESS) {
        if (error.isEmpty())
            error = QString("cannot set up the MQTT client: %1").arg(failure(result));
        mosquitto_destroy(client);
        return nullptr;
    }
    return client;
}

void MqttPublisher::run()
{
    int retrySeconds = kFirstRetrySeconds;
    while (!stopping_) {
        QString ended;
        bool wasConnected = false;
        if (mosquitto *client = makeClient(ended)) {
            (void)withLibraryError({}); // of an earlier connection
            const int result =
                mosquitto_connect_bind_async(client, settings_.host.toUtf8().constData(),
                                             settings_.port, kKeepAliveSeconds, nullptr);
            if (result == MOSQ_ERR_SUCCESS) {
                ended = serve(client, wasConnected);
            } else {
                ended = QString("cannot connect to the MQTT broker at %1: %2")
                            .arg(where(), withLibraryError(failure(result)));
            }
            {
                const std::lock_guard lock(mutex_);
                client_ = nullptr;
                connected_ = false;
                sent_.clear();
                unacknowledged_ = 0;
                refusal_.clear();
                brokerMaxPacket_ = 0;
            }
            mosquitto_destroy(client);
        }
        if (stopping_)
            break;
        tellState(ended + "; trying again");
        if (wasConnected)
            retrySeconds = kFirstRetrySeconds;
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::seconds(retrySeconds),
                       [this] { return stopping_.load(); });
        retrySeconds = std::min(retrySeconds * 2, kLastRetrySeconds);
    }
}

QString MqttPublisher::serve(mosquitto *client, bool &answered)
{
    {
        const std::lock_guard lock(mutex_);
        client_ = client;
    }
    const auto started = std::chrono::steady_clock::now();
    while (!stopping_) {
        const int result = mosquitto_loop(client, kLoopMilliseconds, 1);
        const int savedErrno = errno;
        answered = answered || connected_;
        {
            const std::lock_guard lock(mutex_);
            if (!refusal_.isEmpty())
                return refusal_;
        }
        if (result != MOSQ_ERR_SUCCESS) {
            if (stopping_)
                break;
            errno = savedErrno;
            const QString why = withLibraryError(failure(result));
            if (!answered)
                return QString("cannot connect to the MQTT broker at %1: %2").arg(where(), why);
            return QString("lost the MQTT broker at %1: %2").arg(where(), why);
        }
        if (!answered && std::chrono::steady_clock::now() - started > kAnswerTime)
            return QString("the MQTT broker at %1 does not answer").arg(where());
    }
    return {};
}

void MqttPublisher::onConnect(mosquitto *, void *self, int reason, int,
                              const mosquitto_property *properties)
{
    auto *publisher = static_cast<MqttPublisher *>(self);
    const std::lock_guard lock(publisher->mutex_);
    if (reason != 0) {
        publisher->refusal_ =
            QString("the MQTT broker at %1 refuses the connection: %2")
                .arg(publisher->where(), QString::fromUtf8(mosquitto_reason_string(reason)));
        return;
    }
    uint32_t maxPacket = 0;
    if (mosquitto_property_read_int32(properties, MQTT_PROP_MAXIMUM_PACKET_SIZE, &maxPacket, false))
        publisher->brokerMaxPacket_ = static_cast<int>(maxPacket);
    publisher->connected_ = true;
    publisher->tellState(QString("publishing to the MQTT broker at %1 under %2")
                             .arg(publisher->where(), publisher->settings_.prefix));
    // A broker that restarted may have lost the retained state.
    publisher->sendRetainedLocked();
}

void MqttPublisher::onLog(mosquitto *, void *self, int level, const char *text)
{
    if (level != MOSQ_LOG_ERR || !text)
        return;
    auto *publisher = static_cast<MqttPublisher *>(self);
    const std::lock_guard lock(publisher->logMutex_);
    // "OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify
    // failed": the words after the codes are what a reader needs.
    QString line = QString::fromUtf8(text).trimmed();
    if (const qsizetype codes = line.lastIndexOf("::"); codes >= 0)
        line = line.mid(codes + 2);
    publisher->libraryError_ = line;
}

QString MqttPublisher::withLibraryError(const QString &failure)
{
    const std::lock_guard lock(logMutex_);
    // A TLS failure says why only in the library's log.
    const QString logged = std::exchange(libraryError_, QString());
    return logged.isEmpty() ? failure : failure + " (" + logged + ")";
}

void MqttPublisher::onPublish(mosquitto *, void *self, int mid, int reason,
                              const mosquitto_property *)
{
    auto *publisher = static_cast<MqttPublisher *>(self);
    const std::lock_guard lock(publisher->mutex_);
    const auto sent = publisher->sent_.find(mid);
    if (sent == publisher->sent_.end())
        return;
    const QByteArray topic = sent->second.topic;
    publisher->unacknowledged_ -= sent->second.bytes;
    publisher->sent_.erase(sent);
    if (reason >= 0x80) {
        // One line for the prefix: the broker refuses all its topics alike.
        publisher->tell("refused",
                        QString("the MQTT broker at %1 refuses what is published to %2: %3")
                            .arg(publisher->where(), QString::fromUtf8(topic),
                                 QString::fromUtf8(mosquitto_reason_string(reason))));
    }
    if (publisher->retainedDue_ && publisher->client_ &&
        publisher->unacknowledged_ + publisher->retainedBytes_ <= kMostUnacknowledgedBytes)
        publisher->sendRetainedLocked();
}

QString MqttPublisher::DefaultPrefix(const QString &gameId)
{
    QString level;
    for (const char32_t c : gameId.toUcs4()) {
        if (level.size() >= kMostGameIdCharacters)
            break;
        const bool forbidden = c == '/' || c == '+' || c == '#' || c < 0x20 ||
                               (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF) ||
                               (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE ||
                               QChar::isSpace(c);
        if (forbidden)
            level += '-';
        else
            level += QString::fromUcs4(&c, 1);
    }
    return "pylonix/" + level;
}
