#include "live/LiveGame.h"

#include <QMetaObject>
#include <QTimer>
#include <cerrno>
#include <new>
#include <sys/stat.h>

namespace
{

// True when nothing is at `path`: no file, or a link that leads nowhere. A
// file that exists but cannot be read is not missing.
bool isMissing(const std::string &path)
{
    struct stat info {
    };
    return !path.empty() && ::stat(path.c_str(), &info) != 0 &&
           (errno == ENOENT || errno == ENOTDIR);
}

} // namespace

LiveGame::LiveGame(QObject *parent) : QObject(parent)
{
    // Requests from the watcher's thread arrive queued; several waiting at
    // once are served by one load.
    connect(this, &LiveGame::reloadRequested, this, &LiveGame::RequestReload);
    // The interval asks the way the watcher does, and every request, the
    // watcher's too, starts it anew.
    connect(&reloadTimer_, &QTimer::timeout, this, &LiveGame::reloadRequested);
    connect(this, &LiveGame::reloadRequested, this, [this] {
        if (reloadTimer_.isActive())
            reloadTimer_.start();
    });
}

LiveGame::~LiveGame()
{
    // The watch thread emits on this object: it ends before the object goes.
    watcher_.reset();
}

void LiveGame::SetFiles(const GameFiles &files)
{
    const bool gameMoved = files.game != files_.game;
    files_ = files;
    if (gameMoved && IsWatching())
        watcher_->RestartWatcher(files_.game);
}

void LiveGame::StartWatching(std::chrono::milliseconds interval)
{
    if (IsWatching())
        return;
    watcher_ = std::make_unique<CFileChangeWatcher>(
        [this] { emit reloadRequested(); },
        [this] {
            QMetaObject::invokeMethod(this, &LiveGame::onGameFileRemoved, Qt::QueuedConnection);
        });
    watcher_->StartWatcher(files_.game);
    reloadTimer_.start(interval);
}

void LiveGame::StopWatching()
{
    reloadTimer_.stop();
    if (watcher_)
        watcher_->StopWatcher();
}

bool LiveGame::IsWatching() const
{
    return watcher_ && watcher_->IsRunning();
}

void LiveGame::Reload(Cause cause)
{
    if (loading_) {
        // Asked for by a handler of the running load: served once, after it.
        requested_ = true;
        return;
    }
    loading_ = true;
    bool retryLater = false;
    try {
        if (loadWithTries(cause, retryLater))
            emit reloaded();
    } catch (const std::bad_alloc &) {
        // A game too big for the memory left: the session keeps the game as
        // it was, and the next change of the file is read afresh.
        lastError_ = "not enough memory to load the game";
    }
    loading_ = false;

    if (retryLater) {
        // Requests arriving meanwhile merge into the retry.
        retryPending_ = true;
        QTimer::singleShot(retryDelay_, this, [this] {
            retryPending_ = false;
            requested_ = false;
            Reload(Cause::Watcher);
        });
        return;
    }
    if (requested_)
        postRun();
}

bool LiveGame::loadWithTries(Cause cause, bool &retryLater)
{
    const auto seasonFailed = [this](int side, const std::string &error) {
        emit loadFailed(side == 0 ? LiveFile::HomeSeason : LiveFile::VisitorSeason,
                        QString::fromStdString(error));
        // A handler that turned the side off emptied its path.
        return (side == 0 ? files_.homeSeason : files_.visitorSeason).empty();
    };
    for (;;) {
        // A copy: a handler may set other files while this load reads these.
        const GameFiles files = files_;
        ReloadResult result = session_.Reload(files, seasonFailed);
        if (result.gameOpened) {
            lastResult_ = std::move(result);
            break;
        }
        lastError_ = result.gameError;
        if (cause == Cause::Watcher && isMissing(files.game)) {
            // A file that is gone is not being written: no use waiting for it.
            failedWatcherAttempts_ = 0;
            emit gameFileMissing(QString::fromStdString(files.game));
            return false;
        }
        if (cause == Cause::Watcher && failedWatcherAttempts_ < kWatcherRetries) {
            ++failedWatcherAttempts_;
            retryLater = true;
            return false;
        }
        failedWatcherAttempts_ = 0;
        tryAgain_ = false;
        emit loadFailed(LiveFile::Game, QString::fromStdString(result.gameError));
        if (!tryAgain_)
            return false;
        tryAgain_ = false;
    }
    failedWatcherAttempts_ = 0;
    ++reloadCount_;
    return true;
}

void LiveGame::RequestReload()
{
    if (requested_)
        return;
    requested_ = true;
    if (!loading_ && !retryPending_)
        postRun();
}

void LiveGame::postRun()
{
    QMetaObject::invokeMethod(this, &LiveGame::runRequested, Qt::QueuedConnection);
}

void LiveGame::onGameFileRemoved()
{
    // Back already (a write that deletes and creates): the watcher tells that as a change.
    if (IsWatching() && isMissing(files_.game))
        emit gameFileMissing(QString::fromStdString(files_.game));
}

void LiveGame::runRequested()
{
    // A load that runs posts again when it ends; a pending retry serves the
    // request itself.
    if (loading_ || retryPending_ || !requested_)
        return;
    requested_ = false;
    Reload(Cause::Watcher);
}
