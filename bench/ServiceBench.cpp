// How long the live service takes from a completed write of the game file to
// the WebSocket message in its clients' hands (p50, p99), with 1 and with 200
// clients, for samples/game-live.xml and the tenfold game; and the memory of
// the process serving 200 clients. Each write renames a complete file over
// the game file, as a stats program does, alternating between two states one
// play apart, so every message carries what one play changes. The clients
// run in a thread of their own.
//
//   bench_service [--writes N]   (20 writes per case by default)

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "live/LiveGame.h"
#include "service/LiveService.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

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

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

double residentMiB()
{
    long pages = 0, resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// WebSocket clients of /api/live in their own thread: each keeps nothing of
// a message but the time it arrived, by the "seq" it starts with.
class Clients : public QObject
{
public:
    void Open(const QUrl &url, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto socket = std::make_unique<QWebSocket>();
            QObject::connect(socket.get(), &QWebSocket::textMessageReceived,
                             [this](const QString &text) { arrived(text); });
            socket->open(url);
            sockets_.push_back(std::move(socket));
        }
    }
    void Close() { sockets_.clear(); }

    // How many clients have the message of `seq`, with their arrival times.
    std::vector<Clock::time_point> Arrivals(int seq)
    {
        const std::lock_guard lock(mutex_);
        return arrivals_[seq];
    }
    int Connected()
    {
        const std::lock_guard lock(mutex_);
        return snapshots_;
    }

private:
    void arrived(const QString &text)
    {
        const Clock::time_point now = Clock::now();
        const int seq = QStringView(text).mid(7, 12).toString().section(',', 0, 0).toInt();
        const std::lock_guard lock(mutex_);
        if (text.contains(QStringLiteral("\"snapshot\":")))
            ++snapshots_;
        else
            arrivals_[seq].push_back(now);
    }

    std::vector<std::unique_ptr<QWebSocket>> sockets_;
    std::mutex mutex_;
    std::map<int, std::vector<Clock::time_point>> arrivals_;
    int snapshots_ = 0;
};

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

// One case: `clients` clients, `writes` writes alternating the two states.
void measure(const char *name, const std::pair<QByteArray, QByteArray> &states, int clients,
             int writes)
{
    QTemporaryDir folder;
    const QString game = folder.filePath("game.xml");
    const auto writeGame = [&](const QByteArray &content) {
        const QString next = folder.filePath("next.xml");
        QFile file(next);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return false;
        file.close();
        return std::rename(qPrintable(next), qPrintable(game)) == 0;
    };
    if (!writeGame(states.first))
        return;

    LiveGame live;
    live.SetFiles({game.toStdString(), {}, {}});
    LiveServiceOptions options;
    options.serve = ServeSettings{};
    LiveService service(live, options);
    QString error;
    if (!service.Start(error)) {
        std::fprintf(stderr, "bench_service: %s\n", qPrintable(error));
        return;
    }
    live.Reload();
    live.StartWatching();
    waitUntil([&] { return service.service()->Document().seq > 0; }, 10000);
    const double before = residentMiB();

    QThread thread;
    Clients reader;
    reader.moveToThread(&thread);
    thread.start();
    const QUrl url(QString("ws://127.0.0.1:%1/api/live").arg(service.service()->Port()));
    QMetaObject::invokeMethod(&reader, [&] { reader.Open(url, clients); });
    if (!waitUntil([&] { return reader.Connected() == clients; }, 30000))
        std::fprintf(stderr, "bench_service: only %d clients connected\n", reader.Connected());

    std::vector<double> latencies;
    for (int i = 0; i < writes; ++i) {
        const int seq = service.service()->Document().seq;
        const Clock::time_point written = Clock::now();
        if (!writeGame(i % 2 == 0 ? states.second : states.first))
            break;
        if (!waitUntil(
                [&] {
                    const int now = service.service()->Document().seq;
                    return now > seq && static_cast<int>(reader.Arrivals(now).size()) == clients;
                },
                10000)) {
            std::fprintf(stderr, "bench_service: write %d was not delivered\n", i);
            continue;
        }
        for (const Clock::time_point arrival : reader.Arrivals(service.service()->Document().seq))
            latencies.push_back(
                std::chrono::duration<double, std::milli>(arrival - written).count());
    }
    const double after = residentMiB();
    QMetaObject::invokeMethod(
        &reader, [&] { reader.Close(); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    live.StopWatching();
    std::printf("%-14s %3d client(s): write to message p50 %7.2f ms, p99 %7.2f ms (%zu "
                "messages); RSS %.1f MiB served, %.1f MiB with the clients\n",
                name, clients, percentile(latencies, 0.5), percentile(latencies, 0.99),
                latencies.size(), before, after);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    int writes = 20;
    const QStringList arguments = application.arguments();
    if (const qsizetype at = arguments.indexOf("--writes"); at > 0 && at + 1 < arguments.size())
        writes = std::max(1, arguments[at + 1].toInt());

    // samples/game-live.xml is the feed's seed 14 after play 110.
    std::pair<QByteArray, QByteArray> sample = twoStates(14, 1, 110);
    sample.first = readFile(PYLONIX_SAMPLES_DIR "/game-live.xml");
    const std::pair<QByteArray, QByteArray> tenfold = twoStates(14, 10, 1100);
    for (const int clients : {1, 200}) {
        measure("game-live.xml", sample, clients, writes);
        measure("tenfold game", tenfold, clients, writes);
    }
    return 0;
}
