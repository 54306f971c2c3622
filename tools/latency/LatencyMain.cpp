// Measures how long the main window takes from a completed write of the game
// file to the repainted window: the watcher's notice, the reload, the fill of
// the current page and the paint, flushed to the display server. Each write
// renames a complete file over the game file, as a stats program does. Run it
// under a real X server (Xvfb) so that every frame reaches one:
//
//     xvfb-run -a build/tools/latency/pylonix-latency --game FILE --page offense
//
// --home and --visitor give season files, which the window reads as it does
// its own (they are not rewritten).
//
// It also reports the time from the window's construction to its first paint,
// and a bare pugixml parse of the same file as the yardstick of the rest.
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

// Notes which load the window showed when it was last painted.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const CPylonixDlg &window) : window_(window) {}
    int paintedReload = -1; // reloadCount() at the latest paint, -1 before the first

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paintedReload = window_.reloadCount();
        return false;
    }

private:
    const CPylonixDlg &window_;
};

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
    parser.addOptions({gameOption, pageOption, countOption, homeOption, visitorOption});
    parser.process(application);
    const std::optional<int> page = PageFromName(parser.value(pageOption));
    if (!parser.isSet(gameOption) || !page) {
        std::fputs("pylonix-latency: needs --game FILE and a known --page\n", stderr);
        return 1;
    }
    QFile source(parser.value(gameOption));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "pylonix-latency: cannot read %s\n", qPrintable(source.fileName()));
        return 1;
    }
    const QByteArray content = source.readAll();
    QTemporaryDir folder;
    const QString game = folder.filePath("game.xml");
    const auto writeGame = [&] {
        const QString next = folder.filePath("next.xml");
        QFile file(next);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
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
    PaintWatch watch(window);
    window.installEventFilter(&watch);
    window.resize(1024, 720);
    if (!window.OnInitDialog()) {
        std::fprintf(stderr, "pylonix-latency: cannot load %s\n", qPrintable(game));
        return 2;
    }
    window.ClickPage(*page);
    window.show();
    while (watch.paintedReload < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double startup = clock.nsecsElapsed() / 1e6;

    const int count = std::max(1, parser.value(countOption).toInt());
    std::vector<double> latencies;
    latencies.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int reloads = window.reloadCount();
        if (!writeGame())
            return 1;
        clock.restart();
        while (watch.paintedReload <= reloads)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::sync(); // the frame has reached the display server
        latencies.push_back(clock.nsecsElapsed() / 1e6);
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
    // The file read and parsed into a DOM and nothing more: the least a
    // reload could cost.
    std::vector<double> parses;
    parses.reserve(count);
    const QByteArray path = QFile::encodeName(game);
    for (int i = 0; i < count; ++i) {
        clock.restart();
        pugi::xml_document document;
        if (!document.load_file(path.constData()))
            return 2;
        parses.push_back(clock.nsecsElapsed() / 1e6);
    }
    const double parse = percentile(parses, 0.5);
    std::printf("page %s, %lld bytes%s: start-up to first paint %.1f ms; write to repainted "
                "window p50 %.2f ms, p99 %.2f ms; reload and fill p50 %.2f ms, p99 %.2f ms "
                "(%d writes); bare parse p50 %.2f ms: write to repaint %.1f x, reload and "
                "fill %.1f x the bare parse\n",
                qPrintable(parser.value(pageOption)), static_cast<long long>(content.size()),
                parser.isSet(homeOption) || parser.isSet(visitorOption) ? " with season files" : "",
                startup, percentile(latencies, 0.5), percentile(latencies, 0.99),
                percentile(reloads, 0.5), percentile(reloads, 0.99), count, parse,
                percentile(latencies, 0.5) / parse, percentile(reloads, 0.5) / parse);
    return 0;
}
