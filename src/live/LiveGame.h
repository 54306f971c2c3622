#pragma once

#include "gamedata/GameSession.h"
#include "live/CFileChangeWatcher.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>

// The files one load reads, as loadFailed names them.
enum class LiveFile { Game, HomeSeason, VisitorSeason };

// The game being followed: the loaded session, the watch on the game file,
// and when to load it again: on every change of the file, and at least once
// a reload interval (a timer of its own). Loads run on the thread the object
// lives in; the watcher's thread only asks for them (reloadRequested). What a load did
// is told by signals: whoever shows the game subscribes and asks the user,
// and nothing else loads the files.
class LiveGame : public QObject
{
    Q_OBJECT

public:
    // Why a load runs: one the watcher asked for may meet a file that is being
    // written, and tries again shortly before it reports the failure.
    enum class Cause { User, Watcher };

    // How often a watcher load tries a game file that cannot be read before
    // it reports it: with the default delay, about a second in all.
    static constexpr int kWatcherRetries = 5;
    static constexpr std::chrono::milliseconds kDefaultRetryDelay{200};
    // A watched game is read again whenever this long passed without a request.
    static constexpr std::chrono::milliseconds kReloadInterval{60000};

    explicit LiveGame(QObject *parent = nullptr);
    ~LiveGame() override;
    LiveGame(const LiveGame &) = delete;
    LiveGame &operator=(const LiveGame &) = delete;

    // The files read from the next load on. A running watch follows a new
    // game file.
    void SetFiles(const GameFiles &files);
    const GameFiles &files() const { return files_; }

    // Unless a watch runs, watches the game file: reloadRequested on every
    // change of it and whenever `interval` passes without a request (tests
    // shorten it).
    void StartWatching(std::chrono::milliseconds interval = kReloadInterval);
    // Ends a running watch and its interval; returns once its thread has ended.
    void StopWatching();
    bool IsWatching() const;

    // Loads the files now. While a load runs (a handler of its signals is
    // asking the user), a call is served once, after it. On success emits
    // reloaded. A game file that cannot be read keeps the game as it was and
    // emits loadFailed(Game), unless a watcher load tries again first. A
    // season file that cannot be opened emits loadFailed for its side during
    // the load; a handler that empties that path (SetFiles) turns the side's
    // season statistics off for this load too.
    void Reload(Cause cause = Cause::User);

    // Serves reloadRequested: one load of the newest state of the file from
    // the event loop, however many requests come before it runs, and never
    // while another load runs or is about to be tried again.
    void RequestReload();

    // From a loadFailed(Game) handler: read the files again as soon as the
    // handler returns, within the same load.
    void TryAgain() { tryAgain_ = true; }

    // Delay between the tries of a watcher load; tests shorten it.
    void SetRetryDelay(std::chrono::milliseconds delay) { retryDelay_ = delay; }

    GameSession &session() { return session_; }
    const GameSession &session() const { return session_; }
    // Loads that read the game file, since construction.
    int reloadCount() const { return reloadCount_; }
    // What the latest load that read the game file found.
    const ReloadResult &lastResult() const { return lastResult_; }
    // Why the latest load failed; kept until the next failure.
    const std::string &lastError() const { return lastError_; }
    bool IsLoading() const { return loading_; }

signals:
    // The game file should be read again. Emitted from the watcher's thread
    // (reaching this object's thread queued) or by the reload interval.
    void reloadRequested();
    // A load read the game file; the session holds it.
    void reloaded();
    // `file` could not be loaded, for `reason` ("<path>: <what went wrong>").
    void loadFailed(LiveFile file, const QString &reason);
    // Nothing is at the game file's path (`path` as set): told as soon as the
    // watcher sees the file go, and by a load of the watcher or the interval
    // that finds nothing there (at once, instead of loadFailed). The game
    // stays as it was; the file made again is read as a change.
    void gameFileMissing(const QString &path);

private:
    // One load with its tries; true when it read the game file.
    bool loadWithTries(Cause cause, bool &retryLater);
    // Runs the load reloadRequested asked for.
    void runRequested();
    // Queues runRequested behind what is already waiting.
    void postRun();
    // Serves the watcher's report that the game file went away.
    void onGameFileRemoved();

    GameSession session_;
    GameFiles files_;
    std::unique_ptr<CFileChangeWatcher> watcher_;
    // Asks for a reload when the interval passed without a request; each
    // request starts it anew.
    QTimer reloadTimer_;

    bool loading_ = false;
    bool requested_ = false;    // a load was asked for and waits for its turn
    bool retryPending_ = false; // a failed watcher load will be tried again
    bool tryAgain_ = false;
    int failedWatcherAttempts_ = 0;
    std::chrono::milliseconds retryDelay_ = kDefaultRetryDelay;
    int reloadCount_ = 0;
    ReloadResult lastResult_;
    std::string lastError_;
};
