// The broker path: the bytes a broker carries per play, and how soon a page
// that follows the broker through mosquitto's WebSockets listener shows the
// game, for the feed's game (seed 14) and its tenfold version.
//
// Bytes per play: the feed plays the game (the tenfold one from play 800 to
// 1100, its documents being slow to build), each play's document is handed
// to the broker's messages, and what they carry (topics and payloads, the
// first document's whole state left out) is summed per play: the situation,
// the retained state rewritten, the change; beside the change message alone,
// and beside republishing the whole snapshot with every change.
//
// First paint: a mosquitto of its own with a WebSockets listener holds the
// game's final state, published as the program publishes it; headless
// Chromium opens the score bug and the live page on it and times, from the
// navigation, the score shown and (on the live page) the whole state; and,
// for comparison, the arrival of one retained message as big as the whole
// snapshot.
//
//   bench_broker [--bytes-only | --paint-only]

#include "DevToolsPage.h"
#include "TestBroker.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "service/GameDocumentFromSession.h"
#include "service/GameService.h"
#include "service/MqttMessages.h"
#include "service/MqttPublisher.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mosquitto.h>

namespace
{

// The game's documents from play `first` to play `last` (to the end when 0),
// one after another.
template <typename Each> void playDocuments(int scale, int first, int last, Each each)
{
    using namespace pylonix::feed;
    QTemporaryDir folder;
    const std::string file = folder.filePath("game.xml").toStdString();
    const RosterFactory rosters(scale);
    GameSimulator simulator(14, rosters.home(), rosters.visitor(), scale);
    GameDocumentFromSession builder;
    int seq = 0;
    simulator.run([&](const GameState &state, int number) {
        if (number < first || (last > 0 && number > last))
            return;
        std::ofstream(file) << GameXmlWriter::write(state);
        GameDocument document;
        QString error;
        if (builder.Load({file, "", ""}, ++seq, QDateTime::currentDateTimeUtc(), document, error))
            each(document);
    });
}

// The number of plays of the game.
int playCount(int scale)
{
    using namespace pylonix::feed;
    const RosterFactory rosters(scale);
    GameSimulator simulator(14, rosters.home(), rosters.visitor(), scale);
    int plays = 0;
    simulator.run([&](const GameState &, int number) { plays = std::max(plays, number); });
    return plays;
}

qint64 carried(const std::vector<MqttMessages::Message> &messages, bool retained)
{
    qint64 bytes = 0;
    for (const MqttMessages::Message &message : messages)
        if (message.retained == retained)
            bytes += message.topic.size() + message.payload.size();
    return bytes;
}

void bytesPerPlay(const char *name, int scale, int first, int last)
{
    std::vector<MqttMessages> levels;
    for (int count = 1; count <= 5; ++count)
        levels.emplace_back("pylonix/bench", count);
    std::vector<qint64> retained(levels.size(), 0);
    std::vector<double> seconds(levels.size(), 0); // making the messages
    qint64 situation = 0, changes = 0, snapshots = 0, snapshotBytes = 0;
    int plays = -1;
    playDocuments(scale, first, last, [&](const GameDocument &document) {
        ++plays;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const auto started = std::chrono::steady_clock::now();
            const auto messages = levels[i].Next(document);
            if (plays > 0)
                seconds[i] +=
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
                        .count();
            if (plays == 0)
                continue;
            const qint64 situationBytes =
                messages.front().topic.size() + messages.front().payload.size();
            retained[i] += carried(messages, true) - situationBytes;
            if (i == 0) {
                situation += situationBytes;
                changes += carried(messages, false);
            }
        }
        snapshotBytes = document.SnapshotMessage().size();
        if (plays > 0)
            snapshots += snapshotBytes + 21; // "pylonix/bench/snapshot"
    });
    if (plays <= 0)
        return;
    const auto perPlay = [plays](qint64 bytes) {
        return static_cast<double>(bytes) / plays / 1024;
    };
    std::printf("%-14s %4d plays, snapshot %.0f KiB at the end; per play: change %.1f KiB, "
                "situation %.1f KiB\n",
                name, plays, snapshotBytes / 1024.0, perPlay(changes), perPlay(situation));
    std::printf("%-14s   before: snapshot + change %.1f KiB (%.1f x the change)\n", name,
                perPlay(snapshots + changes), perPlay(snapshots + changes) / perPlay(changes));
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double total = perPlay(retained[i] + situation + changes);
        std::printf("%-14s   %zu catch-up level(s): retained %.1f KiB, all %.1f KiB (%.1f x the "
                    "change), made in %.1f ms\n",
                    name, i + 1, perPlay(retained[i]), total, total / perPlay(changes),
                    seconds[i] * 1000 / plays);
    }
}

// Milliseconds from the navigation to `url` until `expression` holds in the
// page; -1 when it never did within two minutes.
double paintTime(const QString &chromium, const QString &url, const QString &expression)
{
    DevToolsPage page(chromium, "about:blank");
    // Checked on every change of the page, from its first script on.
    const QString watch = QString("new MutationObserver(() => { if (window.shownAt === undefined "
                                  "&& (%1)) window.shownAt = performance.now(); })"
                                  ".observe(document, {subtree: true, childList: true, "
                                  "characterData: true});")
                              .arg(expression);
    page.Call("Page.enable");
    if (page.Call("Page.addScriptToEvaluateOnNewDocument", {{"source", watch}})["identifier"]
            .toString()
            .isEmpty())
        std::fprintf(stderr, "bench_broker: the page cannot be watched\n");
    page.Call("Page.navigate", {{"url", url}});
    if (!page.WaitUntil("window.shownAt !== undefined", 120000)) {
        std::fprintf(stderr, "bench_broker: never true on %s: %s\n", qPrintable(url),
                     qPrintable(expression));
        return -1;
    }
    return page.Evaluate("window.shownAt").toDouble();
}

void firstPaint(const char *name, const QString &chromium, const QString &brokerProgram, int scale)
{
    // The last documents of the game, so that the catch-ups hold something.
    std::vector<GameDocument> documents;
    playDocuments(scale, playCount(scale) - 2, 0,
                  [&](const GameDocument &document) { documents.push_back(document); });
    TestBroker broker(brokerProgram, true);
    if (!broker.Start())
        return;
    const QString prefix = "pylonix/bench";
    MqttPublisher publisher("127.0.0.1", broker.Port(), prefix);
    QString error;
    if (!publisher.Start(error) || !QTest::qWaitFor([&] { return publisher.IsConnected(); }, 10000))
        return;
    for (const GameDocument &document : documents)
        publisher.Publish(document);
    (void)QTest::qWaitFor([&] { return publisher.UnacknowledgedBytes() == 0; }, 30000);

    GameService service; // serves the pages
    if (!service.Listen(ServeSettings(), error))
        return;
    const QString pages = QString("http://127.0.0.1:%1").arg(service.Port());
    const QString query =
        QString("?mqtt=ws://127.0.0.1:%1&topic=%2").arg(broker.WebSocketPort()).arg(prefix);
    const QString scored = "(document.getElementById('home-score') || {}).textContent";
    const double bug = paintTime(chromium, pages + "/scorebug" + query, scored + " !== ''");
    const double header = paintTime(chromium, pages + "/" + query, scored + " !== ''");
    const double whole = paintTime(chromium, pages + "/" + query,
                                   "document.querySelectorAll('#play-by-play tr').length > 10");
    // One retained message of the whole snapshot's size, read alone.
    const QByteArray snapshot = documents.back().SnapshotMessage();
    mosquitto *client = mosquitto_new(nullptr, true, nullptr);
    mosquitto_connect(client, "127.0.0.1", broker.Port(), 30);
    mosquitto_publish(client, nullptr, "pylonix/bench/whole", static_cast<int>(snapshot.size()),
                      snapshot.constData(), 1, true);
    // Until the whole message is written and the broker acknowledged it.
    bool acknowledged = false;
    mosquitto_user_data_set(client, &acknowledged);
    mosquitto_publish_callback_set(
        client, [](mosquitto *, void *flag, int) { *static_cast<bool *>(flag) = true; });
    for (int turn = 0; turn < 300 && !acknowledged; ++turn)
        mosquitto_loop(client, 100, 1);
    mosquitto_disconnect(client);
    mosquitto_destroy(client);
    const QString read = QString("PylonixMqtt.connect('ws://127.0.0.1:%1', () => { if "
                                 "(window.shownAt === undefined) window.shownAt = "
                                 "performance.now(); }, () => {}).subscribe('pylonix/bench/whole')")
                             .arg(broker.WebSocketPort());
    DevToolsPage page(chromium, pages + "/scorebug");
    double alone = -1;
    if (page.WaitUntil("typeof PylonixMqtt !== 'undefined'")) {
        const double start = page.Evaluate("performance.now()").toDouble();
        page.Evaluate(read);
        if (page.WaitUntil("window.shownAt !== undefined", 120000))
            alone = page.Evaluate("window.shownAt").toDouble() - start;
    }
    std::printf("%-14s through the WebSockets listener: score bug shows the score %.0f ms, live "
                "page the score %.0f ms and the whole state %.0f ms; a snapshot of %.0f KiB "
                "read alone %.0f ms\n",
                name, bug, header, whole, snapshot.size() / 1024.0, alone);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // the play-by-play is measured in a font
    const QStringList arguments = application.arguments();
    if (!arguments.contains("--paint-only")) {
        bytesPerPlay("feed game", 1, 0, 0);
        bytesPerPlay("tenfold game", 10, 800, 1100);
    }
    if (arguments.contains("--bytes-only"))
        return 0;
    const QString chromium = DevToolsPage::FindChromium();
    const QString mosquitto = TestBroker::Program();
    if (chromium.isEmpty() || mosquitto.isEmpty()) {
        std::fprintf(stderr, "bench_broker: chromium or mosquitto is not installed\n");
        return 0;
    }
    mosquitto_lib_init();
    firstPaint("feed game", chromium, mosquitto, 1);
    firstPaint("tenfold game", chromium, mosquitto, 10);
    return 0;
}
