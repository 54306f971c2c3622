#include "live/LiveGame.h"

#include "../support/ScratchDirectory.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono_literals;

namespace
{

// Delivers queued signals and timers until `done` holds, at most a bounded
// number of rounds.
void processUntil(const std::function<bool()> &done)
{
    for (int round = 0; round < 1000 && !done(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void processAll()
{
    processUntil([] { return false; });
}

std::string sampleGame()
{
    return ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml");
}

// A live game on scratch files, with what its signals said.
class LiveGameTest : public testing::Test
{
protected:
    ScratchDirectory dir;
    std::string game = dir.Write("game.xml", sampleGame());
    LiveGame live;
    std::vector<std::pair<LiveFile, QString>> failures;
    int reloadedSignals = 0;
    // Runs inside each loadFailed handler, as a prompt's event loop would.
    std::function<void(LiveFile)> onFailure;

    void SetUp() override
    {
        live.SetFiles({game, "", ""});
        live.SetRetryDelay(0ms);
        QObject::connect(&live, &LiveGame::reloaded, [this] { ++reloadedSignals; });
        QObject::connect(&live, &LiveGame::loadFailed,
                         [this](LiveFile file, const QString &reason) {
                             failures.emplace_back(file, reason);
                             if (onFailure)
                                 onFailure(file);
                         });
    }
};

TEST_F(LiveGameTest, RequestsMergeAndOneMadeDuringALoadIsServedAfterItWithTheNewestFile)
{
    for (int i = 0; i < 3; ++i)
        emit live.reloadRequested();
    processAll();
    EXPECT_EQ(live.reloadCount(), 1);
    EXPECT_EQ(reloadedSignals, 1);

    // A season file that cannot be opened is reported during the load; the
    // requests made meanwhile wait for it and are served once.
    live.SetFiles({game, dir.PathOf("missing.xml"), ""});
    int loadsSeenInHandler = -1;
    onFailure = [&](LiveFile) {
        onFailure = nullptr;
        emit live.reloadRequested();
        live.Reload();
        processAll();
        loadsSeenInHandler = live.reloadCount();
        std::string renamed = sampleGame();
        renamed.replace(renamed.find("Harbor City"), 11, "Mill Valley");
        dir.Write("game.xml", renamed);
    };
    live.Reload();
    EXPECT_EQ(loadsSeenInHandler, 1) << "no load ran inside the handler";
    EXPECT_EQ(live.reloadCount(), 2);
    processAll();
    EXPECT_EQ(live.reloadCount(), 3);
    EXPECT_NE(live.session().game().GetText("/fbgame/venue/@location").find("Mill Valley"),
              std::string::npos);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].first, LiveFile::HomeSeason);
    EXPECT_TRUE(failures[0].second.startsWith(QString::fromStdString(dir.PathOf("missing.xml"))));
}

TEST_F(LiveGameTest, ASeasonHandlerThatEmptiesThePathTurnsTheSideOffForThisLoad)
{
    const std::string home =
        dir.Write("home.xml", ReadFile(PYLONIX_SAMPLES_DIR "/small/season-home.xml"));
    live.SetFiles({game, home, ""});
    live.Reload();
    ASSERT_GT(live.session().season(0).playerCount(), 0);

    // A handler that leaves the path has the file asked about at every load;
    // one that empties it turns the side off from this load on.
    dir.Write("home.xml", "<fbseas>");
    live.Reload();
    live.Reload();
    EXPECT_EQ(failures.size(), 2u);
    EXPECT_EQ(live.session().season(0).playerCount(), 0);

    onFailure = [&](LiveFile) { live.SetFiles({game, "", ""}); };
    dir.Write("home.xml", ReadFile(PYLONIX_SAMPLES_DIR "/small/season-home.xml"));
    live.SetFiles({game, dir.PathOf("missing.xml"), ""});
    live.Reload();
    live.Reload();
    EXPECT_EQ(failures.size(), 3u);
    EXPECT_EQ(live.session().season(0).playerCount(), 0);
    EXPECT_EQ(live.reloadCount(), 5);
}

TEST_F(LiveGameTest, WatcherLoadsTryAHalfWrittenFileAgainBeforeTheyReportIt)
{
    live.Reload();
    const std::string whole = sampleGame();
    dir.Write("game.xml", whole.substr(0, whole.size() / 2));

    int rounds = 0;
    emit live.reloadRequested();
    processUntil([&] {
        if (++rounds == 3)
            dir.Write("game.xml", whole);
        return live.reloadCount() == 2;
    });
    EXPECT_EQ(live.reloadCount(), 2);
    EXPECT_TRUE(failures.empty());

    // Broken for good: reported once the tries are used up, and a load the
    // user asked for reports at once.
    dir.Write("game.xml", "<fbgame>");
    emit live.reloadRequested();
    processUntil([&] { return !failures.empty(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].first, LiveFile::Game);
    live.Reload();
    EXPECT_EQ(failures.size(), 2u);
    EXPECT_EQ(live.reloadCount(), 2);

    // TryAgain from the handler reads the files again within the same load.
    onFailure = [&](LiveFile) {
        onFailure = nullptr;
        dir.Write("game.xml", whole);
        live.TryAgain();
    };
    live.Reload();
    EXPECT_EQ(failures.size(), 3u);
    EXPECT_EQ(live.reloadCount(), 3);
}

TEST_F(LiveGameTest, AWatchedGameIsReadAgainOnTheIntervalWithoutAnyChange)
{
    live.Reload();
    live.StartWatching(1ms);
    // Each interval asks once more; no file changed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return live.reloadCount() >= 3; }, 10000));
    live.StopWatching();
    EXPECT_TRUE(failures.empty());
}

TEST_F(LiveGameTest, TheWatchedFileIsLoadedOnItsOwnThreadAfterARewriteAndFollowsNewFiles)
{
    live.Reload();
    const QThread *loadThread = nullptr;
    QObject::connect(&live, &LiveGame::reloaded, [&] { loadThread = QThread::currentThread(); });
    live.StartWatching();
    ASSERT_TRUE(live.IsWatching());

    std::filesystem::create_directory(dir.Path() / "week4");
    const std::string moved = dir.Write("week4/game.xml", sampleGame());
    live.SetFiles({moved, "", ""});
    dir.Write("week4/game.xml", sampleGame() + " ");
    EXPECT_TRUE(QTest::qWaitFor([&] { return live.reloadCount() == 2; }, 10000));
    EXPECT_EQ(loadThread, QThread::currentThread());
    live.StopWatching();
    EXPECT_FALSE(live.IsWatching());
}

} // namespace
