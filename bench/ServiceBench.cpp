// How long the live service takes to hand a play to 200 WebSocket clients,
// next to a mosquitto broker handing the same bytes to 200 subscribers in
// the same run, for samples/game-live.xml and the tenfold game:
//  - write → message: from a completed write of the game file to the change
//    message in each client's hands (p50, p99), with 1 and with 200 clients;
//  - publish → message: from GameService::Publish of the next document to
//    the message in each client's hands, the service's own fan-out;
//  - mosquitto: from a publish of the same message's bytes to the broker to
//    the message in each subscriber's hands.
// And what 200 clients connecting at once to the hundredfold game add to the
// service's peak memory (peak after minus peak before them).
//
// Each write renames a complete file over the game file, as a stats program
// does, alternating between two states one play apart. The clients and the
// subscribers run in a process of their own (the program again, with
// --follow), reading raw sockets alike and keeping nothing of a message but
// the time its last byte arrived, so that both servers meet the same readers
// and the memory measured is the service's.
//
//   bench_service [--writes N]   (20 writes per case by default)

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "live/LiveGame.h"
#include "service/LiveService.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <map>
#include <memory>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

const QByteArray kTopic = "pylonix/bench";

// The game after play `play` and after the next one, as the feed writes them.
std::pair<QByteArray, QByteArray> twoStates(int seed, int scale, int play)
{
    using namespace pylonix::feed;
    const RosterFactory rosters(scale);
    GameSimulator simulator(seed, rosters.home(), rosters.visitor(), scale);
    std::pair<QByteArray, QByteArray> states;
    simulator.run([&](const GameState &state, int number) {
        if (number == play)
            states.first = QByteArray::fromStdString(GameXmlWriter::write(state));
        else if (number == play + 1)
            states.second = QByteArray::fromStdString(GameXmlWriter::write(state));
    });
    return states;
}

QByteArray finalState(int seed, int scale)
{
    using namespace pylonix::feed;
    const RosterFactory rosters(scale);
    GameSimulator simulator(seed, rosters.home(), rosters.visitor(), scale);
    simulator.run({});
    return QByteArray::fromStdString(GameXmlWriter::write(simulator.state()));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The process's peak resident memory in MiB, from when it was last reset.
double peakMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Makes the peak the resident memory of now (Linux 4.0 and later).
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

qint64 nowNanoseconds()
{
    // The monotonic clock is the same in every process of the machine.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

template <typename Predicate> bool waitUntil(Predicate done, int milliseconds)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

// An MQTT 3.1.1 packet: its type byte, the remaining length, `body`.
QByteArray mqttPacket(quint8 type, const QByteArray &body)
{
    QByteArray packet(1, static_cast<char>(type));
    qsizetype length = body.size();
    do {
        quint8 digit = length % 128;
        length /= 128;
        packet.append(static_cast<char>(length > 0 ? digit | 0x80 : digit));
    } while (length > 0);
    return packet + body;
}

QByteArray mqttString(const QByteArray &text)
{
    return QByteArray(1, static_cast<char>(text.size() >> 8)) +
           QByteArray(1, static_cast<char>(text.size() & 0xff)) + text;
}

// CONNECT with a clean session and no keep-alive.
QByteArray mqttConnect(const QByteArray &clientId)
{
    return mqttPacket(0x10,
                      mqttString("MQTT") + QByteArray::fromHex("04020000") + mqttString(clientId));
}

// One reader of the followers' process on a raw socket: a WebSocket client
// of /api/live or an MQTT subscriber of kTopic. It parses frames or packets
// only as far as their lengths, answers a ping, and notes when each message
// is complete: the first (the snapshot) makes it ready, as the subscription's
// acknowledgement makes a subscriber ready.
class Reader
{
public:
    Reader(bool mqtt, quint16 port, int number, std::function<void()> ready,
           std::function<void(qint64)> message)
        : mqtt_(mqtt), ready_(std::move(ready)), message_(std::move(message))
    {
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { read(); });
        socket_.connectToHost(QHostAddress::LocalHost, port);
        if (mqtt) {
            socket_.write(mqttConnect("reader" + QByteArray::number(number)));
            socket_.write(mqttPacket(0x82, QByteArray::fromHex("0001") + mqttString(kTopic) +
                                               QByteArray(1, '\0')));
            inHead_ = false;
        } else {
            socket_.write("GET /api/live HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                          "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                          "Sec-WebSocket-Version: 13\r\n\r\n");
        }
    }

private:
    void read()
    {
        char buffer[64 * 1024];
        for (qint64 got; (got = socket_.read(buffer, sizeof buffer)) > 0;)
            take(QByteArrayView(buffer, got));
    }
    void take(QByteArrayView bytes)
    {
        while (!bytes.isEmpty()) {
            if (skipping_ > 0) {
                const qint64 skipped = std::min<qint64>(skipping_, bytes.size());
                skipping_ -= skipped;
                bytes = bytes.sliced(skipped);
                if (skipping_ == 0)
                    completed();
                continue;
            }
            header_.append(bytes.front());
            bytes = bytes.sliced(1);
            if (inHead_) {
                if (header_.endsWith("\r\n\r\n")) {
                    inHead_ = false;
                    header_.clear();
                }
                continue;
            }
            mqtt_ ? mqttHeader() : frameHeader();
        }
    }
    void frameHeader()
    {
        if (header_.size() < 2)
            return;
        const quint8 length = header_[1] & 0x7f;
        const qsizetype size = 2 + (length == 126 ? 2 : length == 127 ? 8 : 0);
        if (header_.size() < size)
            return;
        quint64 payload = length;
        if (size > 2) {
            payload = 0;
            for (qsizetype i = 2; i < size; ++i)
                payload = (payload << 8) | static_cast<quint8>(header_[i]);
        }
        const quint8 opcode = header_[0] & 0x0f;
        if (opcode == 0x9) { // a ping: its payload is read, then a pong
            if (header_.size() < size + static_cast<qsizetype>(payload))
                return;
            const QByteArray data = header_.sliced(size);
            socket_.write(QByteArray::fromHex("8a") +
                          QByteArray(1, static_cast<char>(0x80 | data.size())) +
                          QByteArray(4, '\0') + data);
            header_.clear();
            return;
        }
        kind_ = opcode;
        expect(payload);
    }
    void mqttHeader()
    {
        if (header_.size() < 2 || (header_.back() & 0x80) != 0)
            return;
        quint64 payload = 0;
        for (qsizetype i = header_.size() - 1; i >= 1; --i)
            payload = payload * 128 + (header_[i] & 0x7f);
        kind_ = static_cast<quint8>(header_[0]) >> 4;
        expect(payload);
    }
    void expect(quint64 payload)
    {
        header_.clear();
        skipping_ = static_cast<qint64>(payload);
        if (skipping_ == 0)
            completed();
    }
    void completed()
    {
        const bool data = mqtt_ ? kind_ == 3 : kind_ == 0x1;
        const bool acknowledged = mqtt_ && kind_ == 9;
        if ((data && !mqtt_ && !isReady_) || acknowledged) {
            isReady_ = true;
            ready_();
        } else if (data) {
            message_(nowNanoseconds());
        }
    }

    const bool mqtt_;
    std::function<void()> ready_;
    std::function<void(qint64)> message_;
    QTcpSocket socket_;
    bool inHead_ = true; // the handshake's answer is being read
    QByteArray header_;
    qint64 skipping_ = 0;
    quint8 kind_ = 0;
    bool isReady_ = false;
};

// The followers' process (--follow ws|mqtt PORT COUNT): prints "connected"
// once every reader is ready, then "K TIME..." once every reader has its
// K-th message since.
int follow(bool mqtt, quint16 port, int count)
{
    std::vector<std::unique_ptr<Reader>> readers;
    std::vector<int> received(count, 0);
    std::map<int, std::vector<qint64>> arrivals;
    int ready = 0;
    for (int i = 0; i < count; ++i) {
        const auto onReady = [&ready, count] {
            if (++ready == count) {
                std::printf("connected\n");
                std::fflush(stdout);
            }
        };
        const auto onMessage = [&, i, count](qint64 time) {
            const int number = ++received[i];
            std::vector<qint64> &times = arrivals[number];
            times.push_back(time);
            if (static_cast<int>(times.size()) < count)
                return;
            std::printf("%d", number);
            for (const qint64 at : times)
                std::printf(" %lld", static_cast<long long>(at));
            std::printf("\n");
            std::fflush(stdout);
            arrivals.erase(number);
        };
        readers.push_back(std::make_unique<Reader>(mqtt, port, i, onReady, onMessage));
    }
    return QCoreApplication::exec();
}

// The followers' process as the bench sees it.
class Followers
{
public:
    Followers(bool mqtt, quint16 port, int count)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(
            QCoreApplication::applicationFilePath(),
            {"--follow", mqtt ? "mqtt" : "ws", QString::number(port), QString::number(count)});
    }
    ~Followers()
    {
        process_.kill();
        process_.waitForFinished();
    }
    bool Connected()
    {
        read();
        return connected_;
    }
    // Messages every reader has had since it was ready.
    int Delivered()
    {
        read();
        return static_cast<int>(arrivals_.size());
    }
    // The arrival times at every reader of its `number`-th message.
    const std::vector<qint64> &Arrivals(int number) { return arrivals_[number]; }

private:
    void read()
    {
        while (process_.canReadLine()) {
            const QList<QByteArray> fields = process_.readLine().trimmed().split(' ');
            if (fields.front() == "connected") {
                connected_ = true;
                continue;
            }
            std::vector<qint64> &times = arrivals_[fields.front().toInt()];
            for (qsizetype i = 1; i < fields.size(); ++i)
                times.push_back(fields[i].toLongLong());
        }
    }

    QProcess process_;
    bool connected_ = false;
    std::map<int, std::vector<qint64>> arrivals_;
};

// Times `count` messages, one at a time: `send` sends the next and returns
// when it started; the latencies of all readers in milliseconds.
template <typename Send>
std::vector<double> timeMessages(Followers &followers, int count, Send send)
{
    std::vector<double> latencies;
    for (int i = 0; i < count; ++i) {
        const int delivered = followers.Delivered();
        const qint64 sent = send(i);
        if (!waitUntil([&] { return followers.Delivered() > delivered; }, 20000)) {
            std::fprintf(stderr, "bench_service: message %d was not delivered\n", i);
            continue;
        }
        for (const qint64 arrival : followers.Arrivals(delivered + 1))
            latencies.push_back(static_cast<double>(arrival - sent) / 1e6);
    }
    return latencies;
}

// A game file the service follows, rewritten whole by rename.
class GameFile
{
public:
    GameFile() : path_(folder_.filePath("game.xml")) {}
    const QString &Path() const { return path_; }
    bool Write(const QByteArray &content)
    {
        const QString next = folder_.filePath("next.xml");
        QFile file(next);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return false;
        file.close();
        return std::rename(qPrintable(next), qPrintable(path_)) == 0;
    }

private:
    QTemporaryDir folder_;
    QString path_;
};

// The service of a LiveGame following `file`, once it has published.
struct Served {
    explicit Served(const GameFile &file)
    {
        live.SetFiles({file.Path().toStdString(), {}, {}});
        LiveServiceOptions options;
        options.serve = ServeSettings{};
        service = std::make_unique<LiveService>(live, options);
        QString error;
        if (!service->Start(error))
            std::fprintf(stderr, "bench_service: %s\n", qPrintable(error));
        live.Reload();
        live.StartWatching();
        waitUntil([&] { return Service().Document().seq > 0; }, 120000);
    }
    GameService &Service() const { return *service->service(); }

    LiveGame live;
    std::unique_ptr<LiveService> service;
};

// A mosquitto broker of its own on a free loopback port, stopped at the end.
class Broker
{
public:
    Broker()
    {
        const QString program = QStandardPaths::findExecutable(
            "mosquitto", {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
        if (program.isEmpty())
            return;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            port_ = probe.serverPort();
        }
        QString config = QString("listener %1 127.0.0.1\nallow_anonymous true\n").arg(port_);
        // Started by root, mosquitto would run as the user "mosquitto".
        if (const passwd *user = getpwuid(getuid()))
            config += QString("user %1\n").arg(QString::fromLocal8Bit(user->pw_name));
        QFile file(folder_.filePath("mosquitto.conf"));
        if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0)
            return;
        file.close();
        process_.start(program, {"-c", file.fileName()});
        started_ = waitUntil(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, port_);
                return probe.waitForConnected(200);
            },
            10000);
    }
    ~Broker()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished();
    }
    bool Started() const { return started_; }
    quint16 Port() const { return port_; }

private:
    QTemporaryDir folder_;
    QProcess process_;
    quint16 port_ = 0;
    bool started_ = false;
};

// The mosquitto leg: `messages` published in turn (QoS 0) to 200 subscribers.
std::vector<double> timeBroker(const std::vector<QByteArray> &messages, int clients, int count)
{
    Broker broker;
    if (!broker.Started()) {
        std::fprintf(stderr, "bench_service: mosquitto could not be started\n");
        return {};
    }
    Followers subscribers(true, broker.Port(), clients);
    QTcpSocket publisher;
    publisher.connectToHost(QHostAddress::LocalHost, broker.Port());
    publisher.waitForConnected(5000);
    publisher.write(mqttConnect("publisher"));
    publisher.flush();
    if (!waitUntil([&] { return subscribers.Connected(); }, 60000) ||
        !waitUntil([&] { return publisher.bytesAvailable() >= 4; }, 5000)) {
        std::fprintf(stderr, "bench_service: the subscribers did not all subscribe\n");
        return {};
    }
    std::vector<QByteArray> packets;
    for (const QByteArray &message : messages)
        packets.push_back(mqttPacket(0x30, mqttString(kTopic) + message));
    return timeMessages(subscribers, count, [&](int i) {
        const qint64 sent = nowNanoseconds();
        publisher.write(packets[i % packets.size()]);
        publisher.flush();
        return sent;
    });
}

void report(const char *what, const std::vector<double> &latencies, double against = 0)
{
    const double p50 = percentile(latencies, 0.5);
    std::printf("  %-34s p50 %7.2f ms, p99 %7.2f ms (%zu messages)", what, p50,
                percentile(latencies, 0.99), latencies.size());
    if (against > 0)
        std::printf("; %.1f x mosquitto's p50", p50 / against);
    std::printf("\n");
}

// One game: write → message with 1 and with `clients` clients, publish →
// message with `clients`, and mosquitto with the same messages.
void measure(const char *name, const std::pair<QByteArray, QByteArray> &states, int clients,
             int writes)
{
    GameFile file;
    if (!file.Write(states.first))
        return;
    std::printf("%s:\n", name);
    std::vector<double> written[2];
    std::vector<double> published;
    std::vector<QByteArray> messages;
    for (const int count : {1, clients}) {
        Served served(file);
        GameService &service = served.Service();
        Followers followers(false, service.Port(), count);
        if (!waitUntil([&] { return followers.Connected(); }, 60000)) {
            std::fprintf(stderr, "bench_service: the clients did not all connect\n");
            return;
        }
        std::vector<GameDocument> documents = {service.Document()};
        written[count == clients] = timeMessages(followers, writes, [&](int i) {
            if (i == 1) // the state of the first write, delivered
                documents.push_back(service.Document());
            const qint64 sent = nowNanoseconds();
            file.Write(i % 2 == 0 ? states.second : states.first);
            return sent;
        });
        if (count == 1)
            continue;
        served.live.StopWatching();
        // The same two plays published again, with the numbers going on.
        const int first = writes % 2 == 0 ? 1 : 0; // the state not served now
        int seq = service.Document().seq;
        published = timeMessages(followers, writes, [&](int i) {
            GameDocument next = documents[(first + i) % 2];
            next.seq = ++seq;
            if (messages.size() < 2)
                messages.push_back(next.ChangedMessage(service.Document()));
            const qint64 sent = nowNanoseconds();
            service.Publish(std::move(next));
            return sent;
        });
    }
    const std::vector<double> broker = timeBroker(messages, clients, writes);
    const double brokerP50 = percentile(broker, 0.5);
    std::printf("  messages of %lld and %lld bytes\n",
                static_cast<long long>(messages.empty() ? 0 : messages[0].size()),
                static_cast<long long>(messages.size() < 2 ? 0 : messages[1].size()));
    report("write to message, 1 client", written[0]);
    report(qPrintable(QString("write to message, %1 clients").arg(clients)), written[1], brokerP50);
    report(qPrintable(QString("publish to message, %1 clients").arg(clients)), published,
           brokerP50);
    report(qPrintable(QString("mosquitto, %1 subscribers").arg(clients)), broker);
}

// What `clients` clients connecting at once to `game` add to the peak memory.
void measureMemory(const char *name, const QByteArray &game, int clients)
{
    GameFile file;
    if (!file.Write(game))
        return;
    Served served(file);
    served.live.StopWatching();
    ::malloc_trim(0);
    resetPeak();
    const double before = peakMiB();
    Followers followers(false, served.Service().Port(), clients);
    if (!waitUntil([&] { return followers.Connected(); }, 300000))
        std::fprintf(stderr, "bench_service: the clients did not all connect\n");
    const double after = peakMiB();
    const double snapshot =
        static_cast<double>(served.Service().Document().SnapshotMessage().size()) /
        (1024.0 * 1024.0);
    std::printf("%s (%.1f MiB file, snapshot %.1f MiB): %d clients connecting at once add "
                "%.1f MiB to the peak (%.1f -> %.1f MiB; goal at most %.1f MiB)\n",
                name, static_cast<double>(game.size()) / (1024.0 * 1024.0), snapshot, clients,
                after - before, before, after, 2 * snapshot + 100);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    int writes = 20;
    const QStringList arguments = application.arguments();
    if (const qsizetype at = arguments.indexOf("--follow"); at > 0 && at + 3 < arguments.size())
        return follow(arguments[at + 1] == "mqtt", arguments[at + 2].toUShort(),
                      arguments[at + 3].toInt());
    if (const qsizetype at = arguments.indexOf("--writes"); at > 0 && at + 1 < arguments.size())
        writes = std::max(2, arguments[at + 1].toInt());

    // samples/game-live.xml is the feed's seed 14 after play 110.
    std::pair<QByteArray, QByteArray> sample = twoStates(14, 1, 110);
    sample.first = readFile(PYLONIX_SAMPLES_DIR "/game-live.xml");
    measure("game-live.xml", sample, 200, writes);
    measure("tenfold game", twoStates(14, 10, 1100), 200, writes);
    measureMemory("hundredfold game", finalState(14, 100), 200);
    return 0;
}
