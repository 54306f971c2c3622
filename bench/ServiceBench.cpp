// How long the live service takes from a completed write of the game file to
// the WebSocket message in its clients' hands (p50, p99), with 1 and with 200
// clients, for samples/game-live.xml and the tenfold game; and the memory of
// the process serving 200 clients. Each write renames a complete file over
// the game file, as a stats program does, alternating between two states one
// play apart, so every message carries what one play changes. The clients
// run in a process of their own (the program again, with --follow), so that
// the memory measured is the service's.
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
#include <QTemporaryDir>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>
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

qint64 nowNanoseconds()
{
    // The monotonic clock is the same in every process of the machine.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// The clients' side, a process of its own (--follow URL COUNT): COUNT clients
// of /api/live keep nothing of a message but the time it arrived, by the
// "seq" it starts with. Prints "connected" once every client has its
// snapshot and "seq TIME..." once every client has a change message.
int follow(const QUrl &url, int count)
{
    std::vector<std::unique_ptr<QWebSocket>> sockets;
    std::map<int, std::vector<qint64>> arrivals;
    int snapshots = 0;
    for (int i = 0; i < count; ++i) {
        auto socket = std::make_unique<QWebSocket>();
        QObject::connect(socket.get(), &QWebSocket::textMessageReceived, [&](const QString &text) {
            const qint64 now = nowNanoseconds();
            if (text.contains(QStringLiteral("\"snapshot\":"))) {
                if (++snapshots == count) {
                    std::printf("connected\n");
                    std::fflush(stdout);
                }
                return;
            }
            const int seq = QStringView(text).mid(7, 12).toString().section(',', 0, 0).toInt();
            std::vector<qint64> &times = arrivals[seq];
            times.push_back(now);
            if (static_cast<int>(times.size()) < count)
                return;
            std::printf("%d", seq);
            for (const qint64 time : times)
                std::printf(" %lld", static_cast<long long>(time));
            std::printf("\n");
            std::fflush(stdout);
        });
        socket->open(url);
        sockets.push_back(std::move(socket));
    }
    return QCoreApplication::exec();
}

// The clients' process as the service sees it.
class Followers
{
public:
    Followers(const QUrl &url, int count)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QCoreApplication::applicationFilePath(),
                       {"--follow", url.toString(), QString::number(count)});
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
    // The arrival times of the message of `seq` at every client; empty
    // until all have it.
    std::vector<qint64> Arrivals(int seq)
    {
        read();
        return arrivals_[seq];
    }

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
    ::malloc_trim(0); // what the case before freed is not counted in this one
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

    const QUrl url(QString("ws://127.0.0.1:%1/api/live").arg(service.service()->Port()));
    Followers followers(url, clients);
    if (!waitUntil([&] { return followers.Connected(); }, 60000))
        std::fprintf(stderr, "bench_service: the clients did not all connect\n");

    std::vector<double> latencies;
    for (int i = 0; i < writes; ++i) {
        const int seq = service.service()->Document().seq;
        const qint64 written = nowNanoseconds();
        if (!writeGame(i % 2 == 0 ? states.second : states.first))
            break;
        if (!waitUntil(
                [&] {
                    const int now = service.service()->Document().seq;
                    return now > seq && !followers.Arrivals(now).empty();
                },
                10000)) {
            std::fprintf(stderr, "bench_service: write %d was not delivered\n", i);
            continue;
        }
        for (const qint64 arrival : followers.Arrivals(service.service()->Document().seq))
            latencies.push_back(static_cast<double>(arrival - written) / 1e6);
    }
    const double after = residentMiB();
    live.StopWatching();
    std::printf("%-14s %3d client(s): write to message p50 %7.2f ms, p99 %7.2f ms (%zu "
                "messages); service RSS %.1f MiB before the clients, %.1f MiB serving them\n",
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
    if (const qsizetype at = arguments.indexOf("--follow"); at > 0 && at + 2 < arguments.size())
        return follow(QUrl(arguments[at + 1]), arguments[at + 2].toInt());
    if (const qsizetype at = arguments.indexOf("--writes"); at > 0 && at + 1 < arguments.size())
        writes = std::max(1, arguments[at + 1].toInt());

    // samples/game-live.xml is the feed's seed 14 after play 110.
    std::pair<QByteArray, QByteArray> sample = twoStates(14, 1, 110);
    sample.first = readFile(PYLONIX_SAMPLES_DIR "/game-live.xml");
    const std::pair<QByteArray, QByteArray> tenfold = twoStates(14, 10, 1100);
    for (const int clients : {1, 200})
        measure("game-live.xml", sample, clients, writes);
    for (const int clients : {1, 200})
        measure("tenfold game", tenfold, clients, writes);
    return 0;
}
