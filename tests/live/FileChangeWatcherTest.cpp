#include "live/CFileChangeWatcher.h"

#include "../support/ScratchDirectory.h"

#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sys/ioctl.h>
#include <sys/stat.h>

using namespace std::chrono_literals;

namespace
{

// Generous bound for anything the watcher does at once; it only limits how
// long a failing test takes.
constexpr int kWaitMs = 10000;

// The watcher's owner stand-in: counts the calls the watch thread makes.
class ReloadTarget
{
public:
    std::atomic<int> reloads{0};

    CFileChangeWatcher::ChangeHandler handler()
    {
        return [this] { ++reloads; };
    }

    // Processes events until `count` reloads arrived; false after kWaitMs.
    bool waitForReloads(int count)
    {
        return QTest::qWaitFor([&] { return reloads >= count; }, kWaitMs);
    }
};

// Replaces `path` at once by renaming a finished file over it, as a
// stats program that writes safely does; the finished file is written as
// `temporaryName` in the scratch directory.
void replaceFile(const ScratchDirectory &dir, const std::string &path, const std::string &bytes,
                 const std::string &temporaryName = "replacement.tmp")
{
    const std::string temporary = dir.Write(temporaryName, bytes);
    ASSERT_EQ(std::rename(temporary.c_str(), path.c_str()), 0);
}

// The inotify descriptors open in this process.
std::set<int> inotifyDescriptors()
{
    std::set<int> found;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code failure;
        if (std::filesystem::read_symlink(entry.path(), failure) == "anon_inode:inotify")
            found.insert(std::stoi(entry.path().filename().string()));
    }
    return found;
}

// Waits until the watcher's thread has read every notification queued on
// `fd`, so that what it reports for them comes before anything written later.
bool waitUntilRead(int fd)
{
    return QTest::qWaitFor(
        [fd] {
            int queued = 0;
            return ::ioctl(fd, FIONREAD, &queued) == 0 && queued == 0;
        },
        kWaitMs);
}

void setModified(const std::string &path, timespec when)
{
    const timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileChangeWatcherTest, AnotherFileInTheFolderCausesNoReloadTheGameFileDoes)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", "<fbgame/>");
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());
    const std::set<int> before = inotifyDescriptors();
    watcher.StartWatcher(game);
    ASSERT_TRUE(watcher.IsWatchingFolder());
    const std::set<int> after = inotifyDescriptors();
    std::vector<int> opened;
    std::ranges::set_difference(after, before, std::back_inserter(opened));
    ASSERT_EQ(opened.size(), 1u);

    // Each write is looked at on its own before the next one comes.
    dir.Write("other.xml", "<x/>");
    ASSERT_TRUE(waitUntilRead(opened[0]));
    dir.Write("other.xml", "<x>more</x>");
    ASSERT_TRUE(waitUntilRead(opened[0]));
    replaceFile(dir, game, "<fbgame>1</fbgame>");
    ASSERT_TRUE(target.waitForReloads(1));

    // Every call is counted once the thread has ended: the writes to the
    // other file made none.
    watcher.StopWatcher();
    EXPECT_EQ(target.reloads.load(), 1);
}

TEST(FileChangeWatcherTest, EveryRewriteOfTheGameFileReloads)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", "<fbgame/>");
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());
    watcher.StartWatcher(game);

    dir.Write("game.xml", "<fbgame>written in place</fbgame>");
    ASSERT_TRUE(target.waitForReloads(1));
    const int afterInPlace = target.reloads;
    replaceFile(dir, game, "<fbgame>replaced</fbgame>");
    EXPECT_TRUE(target.waitForReloads(afterInPlace + 1));
}

TEST(FileChangeWatcherTest, AReplacementWithTheSameTimeAndSizeStillCounts)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", "<fbgame>A</fbgame>");
    const timespec tick{1700000000, 123456789};
    setModified(game, tick);
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());
    watcher.StartWatcher(game);

    // Same size, same time to the nanosecond; only the inode tells it apart.
    const std::string replacement = dir.Write("replacement.tmp", "<fbgame>B</fbgame>");
    setModified(replacement, tick);
    ASSERT_EQ(std::rename(replacement.c_str(), game.c_str()), 0);
    ASSERT_TRUE(target.waitForReloads(1));
    watcher.StopWatcher();
    EXPECT_EQ(target.reloads.load(), 1);
}

TEST(FileChangeWatcherTest, AChangeOfTheTimeAloneCountsToTheNanosecond)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", "<fbgame/>");
    setModified(game, {1700000000, 500});
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());
    watcher.StartWatcher(game);

    // Setting a time is no write; the next write in the folder lets the
    // watcher look, and the game file's time is one nanosecond later.
    setModified(game, {1700000000, 501});
    dir.Write("other.xml", "<x/>");
    ASSERT_TRUE(target.waitForReloads(1));

    // Seconds four billion apart with the same low 32 bits still differ.
    setModified(game, {1700000000 + (1LL << 32), 501});
    dir.Write("other.xml", "<y/>");
    EXPECT_TRUE(target.waitForReloads(2));
}

TEST(FileChangeWatcherTest, RestartFollowsTheNewFolderAndStartWhileRunningDoesNothing)
{
    ScratchDirectory dir;
    const std::string first = dir.Write("game.xml", "<fbgame/>");
    std::filesystem::create_directory(dir.Path() / "week4");
    const std::string second = dir.Write("week4/game.xml", "<fbgame/>");
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());

    watcher.RestartWatcher(second); // not running: nothing starts
    EXPECT_FALSE(watcher.IsRunning());
    watcher.StartWatcher(first);
    watcher.StartWatcher(second); // already running: keeps the first file
    replaceFile(dir, first, "<fbgame>1</fbgame>");
    ASSERT_TRUE(target.waitForReloads(1));

    watcher.RestartWatcher(second);
    EXPECT_TRUE(watcher.IsWatchingFolder());
    replaceFile(dir, second, "<fbgame>2</fbgame>");
    ASSERT_TRUE(target.waitForReloads(2));
    replaceFile(dir, first, "<fbgame>3</fbgame>");
    replaceFile(dir, second, "<fbgame>4</fbgame>");
    ASSERT_TRUE(target.waitForReloads(3));
    watcher.StopWatcher();
    EXPECT_EQ(target.reloads.load(), 3); // the old file's change made no call
}

TEST(FileChangeWatcherTest, APathThatCannotBeWatchedRunsUntilStopped)
{
    ScratchDirectory dir;
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());
    // A path without a file name names no file to watch.
    watcher.StartWatcher(dir.Path().string() + "/");
    EXPECT_TRUE(watcher.IsRunning());
    EXPECT_FALSE(watcher.IsWatchingFolder());
    watcher.StopWatcher();
    EXPECT_FALSE(watcher.IsRunning());
}

// A link into another folder is followed there, and a folder that goes away
// is watched again when it comes back: neither waits for the interval.
TEST(FileChangeWatcherTest, FollowsALinkAndAFolderThatComesBack)
{
    ScratchDirectory dir;
    std::filesystem::create_directories(dir.Path() / "crew/week4");
    const std::string real = dir.Write("crew/week4/game.xml", "<fbgame/>");
    const std::string link = dir.PathOf("game.xml");
    std::filesystem::create_symlink(real, link);
    ReloadTarget target;
    CFileChangeWatcher watcher(target.handler());
    watcher.StartWatcher(link);
    // Nothing at all happens in the link's own folder.
    const auto replaceReal = [&](const std::string &bytes) {
        replaceFile(dir, real, bytes, "crew/week4/replacement.tmp");
    };
    replaceReal("<fbgame>written where the link leads</fbgame>");
    ASSERT_TRUE(target.waitForReloads(1));

    // The whole folder goes and is made again, deeper than one level.
    std::filesystem::remove_all(dir.Path() / "crew");
    std::filesystem::create_directories(dir.Path() / "crew/week4");
    const int before = target.reloads;
    replaceReal("<fbgame>the folder is back</fbgame>");
    ASSERT_TRUE(target.waitForReloads(before + 1));

    // Still watched after it came back.
    const int after = target.reloads;
    replaceReal("<fbgame>written again</fbgame>");
    EXPECT_TRUE(target.waitForReloads(after + 1));

    // A game file whose folder does not exist yet is seen once it appears.
    watcher.RestartWatcher(dir.PathOf("later/game.xml"));
    EXPECT_TRUE(watcher.IsWatchingFolder());
    std::filesystem::create_directory(dir.Path() / "later");
    const int waiting = target.reloads;
    replaceFile(dir, dir.PathOf("later/game.xml"), "<fbgame/>", "later/replacement.tmp");
    EXPECT_TRUE(target.waitForReloads(waiting + 1));
}

TEST(FileChangeWatcherTest, StopEndsTheThreadWhileItWaits)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", "<fbgame/>");
    ReloadTarget target;
    auto watcher = std::make_unique<CFileChangeWatcher>(target.handler());
    watcher->StartWatcher(game);
    replaceFile(dir, game, "<fbgame>1</fbgame>");
    // After this call the thread goes back to waiting, a minute before its
    // next timed reload.
    ASSERT_TRUE(target.waitForReloads(1));

    auto stopped = std::async(std::launch::async, [&] { watcher->StopWatcher(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::milliseconds(kWaitMs)), std::future_status::ready);
    EXPECT_FALSE(watcher->IsRunning());
    watcher->StopWatcher(); // stopping a stopped watcher does nothing

    // Destroying a running watcher stops it too.
    watcher->StartWatcher(game);
    auto destroyed = std::async(std::launch::async, [&] { watcher.reset(); });
    EXPECT_EQ(destroyed.wait_for(std::chrono::milliseconds(kWaitMs)), std::future_status::ready);
}

} // namespace
