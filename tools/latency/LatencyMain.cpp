// Measures how long the main window takes from a completed write of the game
// file to the repainted window: the watcher's notice, the reload, the fill of
// the current page and the paint of what changed, flushed to the display
// server. Each write renames a complete file over the game file, as a stats
// program does. Run it under a real X server (Xvfb) so that every frame
// reaches one:
//
//     xvfb-run -a build/tools/latency/pylonix-latency --game FILE --page offense
//
// With --next FILE (the same game one play later) the writes alternate
// between the two files, so that every write changes one play; without it
// every write gives the same game again, which repaints next to nothing.
// --home and --visitor give season files, which the window reads as it does
// its own (they are not rewritten).
//
// It also reports the time from the window's construction to its first paint
// and, as the yardstick of every figure, a bare pugixml parse of the game file.
#include "app/CPylonixDlg.h"
#include "app/WindowExport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <pugixml.hpp>
#include <vector>

namespace
{

// Counts the paint events of the window and of its controls.
class PaintWatch : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            ++paints;
        return false;
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "pylonix-latency: cannot read %s\n", qPrintable(path));
        return {};
    }
    return file.readAll();
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
    return values[index];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption gameOption("game", "the game file to reload", "FILE");
    const QCommandLineOption pageOption("page", "the page shown (default offense)", "NAME",
                                        "offense");
    const QCommandLineOption countOption("count", "writes to measure (default 200)", "N", "200");
    const QCommandLineOption homeOption("home", "the home team's season file", "FILE");
    const QCommandLineOption visitorOption("visitor", "the visitor's season file", "FILE");
    const QCommandLineOption nextOption(
        "next", "the game one play later: the writes alternate between the two files", "FILE");
    parser.addOptions({gameOption, pageOption, countOption, homeOption, visitorOption, nextOption});
    parser.process(application);
    const std::optional<int> page = PageFromName(parser.value(pageOption));
    if (!parser.isSet(gameOption) || !page) {
        std::fputs("pylonix-latency: needs --game FILE and a known --page\n", stderr);
        return 1;
    }
    const QByteArray content = readAll(parser.value(gameOption));
    const QByteArray nextContent =
        parser.isSet(nextOption) ? readAll(parser.value(nextOption)) : content;
    if (content.isEmpty() || nextContent.isEmpty())
        return 1;
    QTemporaryDir folder;
    const QString game = folder.filePath("game.xml");
    int written = 0;
    const auto writeGame = [&] {
        const QByteArray &bytes = written++ % 2 == 0 ? content : nextContent;
        const QString next = folder.filePath("next.xml");
        QFile file(next);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        return std::rename(qPrintable(next), qPrintable(game)) == 0;
    };
    if (!writeGame())
        return 1;

    QElapsedTimer clock;
    clock.start();
    WindowOptions options;
    options.gameFile = game.toStdString();
    if (parser.isSet(homeOption))
        options.homeFile = parser.value(homeOption).toStdString();
    if (parser.isSet(visitorOption))
        options.visitorFile = parser.value(visitorOption).toStdString();
    options.iniFile = folder.filePath("Pylonix.ini").toStdString();
    options.interactive = true;
    options.watchGameFile = true;
    CPylonixDlg window(options);
    PaintWatch watch;
    // Every widget's paints, the window's own and those of each control.
    application.installEventFilter(&watch);
    window.resize(1024, 720);
    if (!window.OnInitDialog()) {
        std::fprintf(stderr, "pylonix-latency: cannot load %s\n", qPrintable(game));
        return 2;
    }
    window.ClickPage(*page);
    window.show();
    while (watch.paints == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double startup = clock.nsecsElapsed() / 1e6;

    const int count = std::max(1, parser.value(countOption).toInt());
    std::vector<double> latencies;
    latencies.reserve(count);
    int paintingWrites = 0;
    for (int i = 0; i < count; ++i) {
        const int reloads = window.reloadCount();
        if (!writeGame())
            return 1;
        clock.restart();
        while (window.reloadCount() <= reloads)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The reload asked for the repaints of what it changed; they are
        // delivered now, and the frame reaches the display server.
        const int paints = watch.paints;
        QCoreApplication::processEvents();
        QApplication::sync();
        latencies.push_back(clock.nsecsElapsed() / 1e6);
        if (watch.paints > paints)
            ++paintingWrites;
    }
    // The reload with the fill of the current page alone, without the watcher and the paint.
    std::vector<double> reloads;
    reloads.reserve(count);
    for (int i = 0; i < count; ++i) {
        clock.restart();
        window.ReloadGame();
        reloads.push_back(clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
    }
    // The yardstick: pugixml reading the same file into a document, nothing more.
    std::vector<double> parses;
    parses.reserve(count);
    const QByteArray path = QFile::encodeName(game);
    for (int i = 0; i < count; ++i) {
        clock.restart();
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_file(path.constData());
        parses.push_back(clock.nsecsElapsed() / 1e6);
        if (!parsed)
            return 1;
    }
    const double parse = percentile(parses, 0.5);
    std::printf("page %s, %lld bytes%s%s: start-up to first paint %.1f ms; write to repainted "
                "window p50 %.2f ms, p99 %.2f ms (%d of %d writes painted); reload and fill p50 "
                "%.2f ms, p99 %.2f ms; bare parse p50 %.3f ms; write to repaint %.1fx the bare "
                "parse, reload %.1fx\n",
                qPrintable(parser.value(pageOption)), static_cast<long long>(content.size()),
                parser.isSet(homeOption) || parser.isSet(visitorOption) ? " with season files" : "",
                parser.isSet(nextOption) ? ", one play a write" : ", the same game each write",
                startup, percentile(latencies, 0.5), percentile(latencies, 0.99), paintingWrites,
                count, percentile(reloads, 0.5), percentile(reloads, 0.99), parse,
                percentile(latencies, 0.5) / parse, percentile(reloads, 0.5) / parse);
    return 0;
}
