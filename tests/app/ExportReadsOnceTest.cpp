// The export reads the game and each season file once, and its window and
// its own members describe that one reading.
#include "app/CPylonixDlg.h"
#include "gridctrl/CZrGridListCtrl.h"

#include "../support/ScratchDirectory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <sys/inotify.h>
#include <unistd.h>

namespace
{

// Runs the program's export with `arguments`; its exit code, and the document
// it printed in `document` when it succeeded.
int runExport(const QStringList &arguments, QJsonObject &document)
{
    QProcess process;
    process.start(PYLONIX_PROGRAM, QStringList{"--export", "json"} + arguments);
    process.waitForFinished(30000);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (process.exitCode() == 0)
        document = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    return process.exitCode();
}

// Counts the opens of a few files while it lives.
class OpenCounter
{
public:
    OpenCounter() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~OpenCounter() { ::close(fd_); }
    OpenCounter(const OpenCounter &) = delete;
    OpenCounter &operator=(const OpenCounter &) = delete;

    // Closes are watched too: two opens in a row would otherwise be queued
    // as one event.
    void Watch(const std::string &path)
    {
        const int watch = ::inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_CLOSE_NOWRITE);
        ASSERT_GE(watch, 0) << path;
        paths_[watch] = path;
    }

    // The opens seen of each watched file so far.
    std::map<std::string, int> Opens()
    {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->mask & IN_OPEN)
                    ++opens_[paths_[event->wd]];
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return opens_;
    }

private:
    int fd_;
    std::map<int, std::string> paths_;
    std::map<std::string, int> opens_;
};

TEST(ExportReadsOnce, TheGameAndEachSeasonFileAreOpenedOnce)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml"));
    const std::string home =
        dir.Write("home.xml", ReadFile(PYLONIX_SAMPLES_DIR "/season-home.xml"));
    const std::string visitor =
        dir.Write("visitor.xml", ReadFile(PYLONIX_SAMPLES_DIR "/season-visitor.xml"));
    OpenCounter counter;
    for (const std::string &path : {game, home, visitor})
        counter.Watch(path);

    QJsonObject document;
    ASSERT_EQ(runExport({"--game", QString::fromStdString(game), "--home",
                         QString::fromStdString(home), "--visitor", QString::fromStdString(visitor),
                         "--player", "0,2", "--page", "drive_charts"},
                        document),
              0);
    ASSERT_TRUE(document.contains("player"));
    const std::map<std::string, int> expected = {{game, 1}, {home, 1}, {visitor, 1}};
    EXPECT_EQ(counter.Opens(), expected);
}

TEST(ExportReadsOnce, TheWindowShowsTheOptionsOfTheExport)
{
    QJsonObject document;
    ASSERT_EQ(runExport({"--game", PYLONIX_SAMPLES_DIR "/game-final.xml", "--show-top", "0",
                         "--page", "drive_charts", "--hover-drive", "4"},
                        document),
              0);
    const QString readout = document["drive_chart_view"].toObject()["readout"].toString();
    EXPECT_TRUE(readout.startsWith("Pointing at:")) << readout.toStdString();
    EXPECT_FALSE(readout.contains("TOP")) << readout.toStdString();
    const QJsonObject drives = document["pages"].toObject()["drives"].toObject();
    ASSERT_FALSE(drives["columns"].toArray().isEmpty());
    for (const auto &column : drives["columns"].toArray())
        EXPECT_NE(column.toObject()["header"].toString(), "TOP");

    WindowOptions options;
    options.gameFile = PYLONIX_SAMPLES_DIR "/small/game.xml";
    options.interactive = false;
    options.playByPlayWidth = 300;
    CPylonixDlg window(options);
    ASSERT_TRUE(window.OnInitDialog());
    const auto *playByPlay =
        dynamic_cast<const CZrGridListCtrl *>(window.Control(LayoutRole::PlayByPlay));
    ASSERT_NE(playByPlay, nullptr);
    EXPECT_EQ(playByPlay->GetColumnWidth(2), 300);
}

// Checks that what `document` says of the drive chart, the scoreboard and the
// pages, taken from the window and from the export's own members, belongs to
// one version of the game.
void expectOneVersion(const QJsonObject &document)
{
    const QJsonObject chart = document["drive_chart"].toObject();
    const QJsonArray items = chart["items"].toArray();
    const int drives = chart["count"].toInt();
    ASSERT_EQ(items.size(), drives);
    EXPECT_EQ(document["pages"].toObject()["drives"].toObject()["rows"].toArray().size(), drives);
    const QJsonObject view = document["drive_chart_view"].toObject();
    const QJsonArray shown = view["items"].toArray();
    ASSERT_EQ(shown.size(), drives) << "the window's chart and the export's list differ";
    // The chart draws each drive across its yards, after the ten of the end
    // zone; the current drive's change with nearly every play.
    const int left = view["left_margin"].toInt(), perYard = view["pixels_per_yard"].toInt();
    for (int i = 0; i < drives; ++i) {
        const QJsonArray rect = shown[i].toObject()["hit_rect"].toArray();
        const QJsonObject item = items[i].toObject();
        if (rect[0].toInt() < 0)
            continue; // scrolled out of the chart
        EXPECT_EQ(rect[0].toInt(), left + perYard * (item["lowYard"].toInt() + 10));
        EXPECT_EQ(rect[2].toInt(), left + perYard * (item["highYard"].toInt() + 10) + 1);
    }
    const QJsonObject scoreboard = document["scoreboard"].toObject();
    const QJsonArray scores = document["pages"].toObject()["scoring"].toObject()["rows"].toArray();
    if (!scores.isEmpty()) {
        const QJsonArray cells = scores.last().toObject()["cells"].toArray();
        EXPECT_EQ(cells.last().toObject()["text"].toString(),
                  QString("%1-%2")
                      .arg(scoreboard["home_score"].toInt())
                      .arg(scoreboard["visitor_score"].toInt()));
    }
}

TEST(ExportReadsOnce, EveryExportDescribesOneVersionOfAFileRewrittenInPlace)
{
    ScratchDirectory dir;
    const std::string game = dir.PathOf("game.xml");
    QProcess writer;
    writer.start(PYLONIX_FEED_EXECUTABLE, {"--out", QString::fromStdString(game), "--write",
                                           "inplace", "--interval", "0", "--scale", "2"});
    ASSERT_TRUE(writer.waitForStarted(10000));

    // Exports while the writer rewrites the file, for a bounded time. Most
    // catch it half-written and refuse it as a whole; those that read it
    // describe one version.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(6);
    while (std::chrono::steady_clock::now() < end && !writer.waitForFinished(0)) {
        QJsonObject document;
        if (runExport({"--game", QString::fromStdString(game)}, document) == 0)
            expectOneVersion(document);
    }
    if (writer.state() != QProcess::NotRunning) {
        writer.kill();
        writer.waitForFinished(10000);
    }

    // The last version, as a finished writer left it.
    writer.start(PYLONIX_FEED_EXECUTABLE, {"--out", QString::fromStdString(game), "--final"});
    ASSERT_TRUE(writer.waitForFinished(10000));
    QJsonObject document;
    ASSERT_EQ(runExport({"--game", QString::fromStdString(game)}, document), 0);
    expectOneVersion(document);
}

} // namespace
