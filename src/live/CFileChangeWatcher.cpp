#include "live/CFileChangeWatcher.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

// What tells one version of the game file from another. Two writes within
// one clock tick can leave the same time; the size or, for a file renamed
// over the old one, the inode then still differs.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp &other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileStamp stampOf(const std::string &path)
{
    struct stat info {
    };
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

// Reads every notification that is waiting; only their arrival matters.
void drain(int fd)
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            continue;
        if (got < 0 && errno == EINTR)
            continue;
        return;
    }
}

// What a change of the game file's content, or its going away, shows as in
// the folder holding it.
constexpr uint32_t kWritten =
    IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM;
// What a watched folder going away shows as; the watch ends with it.
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF;
// Symbolic links followed at most, as the system itself does.
constexpr int kMaximumLinks = 40;

// The folders in which a change can change the file `path` names: its own
// folder, and the folder of each symbolic link on the way to the file (the
// folder part resolved too). Missing folders are included.
std::vector<fs::path> foldersOf(const fs::path &path)
{
    std::vector<fs::path> folders{path.parent_path()};
    fs::path at = path;
    for (int hop = 0; hop < kMaximumLinks; ++hop) {
        std::error_code failure;
        const fs::path folder = fs::weakly_canonical(at.parent_path(), failure);
        if (failure)
            break;
        at = folder / at.filename();
        folders.push_back(folder);
        if (!fs::is_symlink(at, failure))
            break;
        const fs::path target = fs::read_symlink(at, failure);
        if (failure || !target.has_filename())
            break;
        at = target.is_absolute() ? target : folder / target;
    }
    std::ranges::sort(folders);
    const auto [first, last] = std::ranges::unique(folders);
    folders.erase(first, last);
    return folders;
}

// Points the inotify descriptor at the folders of `path`: each one that
// exists for what is written in it and for its own end, and for each missing
// one its nearest existing ancestor, to see it come back. A missing folder
// made between the look and the watch on its ancestor would go unseen, so the
// folders are looked at again after watching until they stay the same.
// Watches no longer wanted are removed. False when nothing could be watched.
bool watchFoldersOf(int notifyFd, const fs::path &path, std::set<int> &watches)
{
    std::set<int> wanted;
    std::vector<fs::path> watched;
    for (int round = 0; round < kMaximumLinks; ++round) {
        std::vector<fs::path> folders;
        wanted.clear();
        for (fs::path folder : foldersOf(path)) {
            uint32_t events = kWritten | kFolderGone;
            std::error_code failure;
            while (!fs::is_directory(folder, failure) && folder.has_relative_path()) {
                folder = folder.parent_path();
                events = IN_CREATE | IN_MOVED_TO | kFolderGone;
            }
            const int watch =
                ::inotify_add_watch(notifyFd, folder.c_str(), events | IN_ONLYDIR | IN_MASK_ADD);
            if (watch >= 0)
                wanted.insert(watch);
            folders.push_back(std::move(folder));
        }
        if (folders == watched)
            break;
        watched = std::move(folders);
    }
    for (const int watch : watches) {
        if (!wanted.contains(watch))
            ::inotify_rm_watch(notifyFd, watch);
    }
    watches = std::move(wanted);
    return !watches.empty();
}

struct WatchState {
    CFileChangeWatcher::ChangeHandler changed;
    CFileChangeWatcher::RemovalHandler removed;
    int stopFd;
    int notifyFd; // -1: nothing to watch, only the stop request
    std::string path;
    FileStamp stamp;
    std::set<int> watches; // the folders notifyFd watches
};

// The watch thread: waits for a notification or the stop request.
void watch(WatchState state)
{
    for (;;) {
        pollfd waitFor[2] = {{state.stopFd, POLLIN, 0}, {state.notifyFd, POLLIN, 0}};
        const int ready = ::poll(waitFor, state.notifyFd >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno != EINTR)
            return;
        if (waitFor[0].revents != 0)
            return;
        if (waitFor[1].revents == 0)
            continue;
        // Any number of notifications waiting count as one look at the
        // file, after the watches follow links and folders that changed.
        drain(state.notifyFd);
        watchFoldersOf(state.notifyFd, state.path, state.watches);
        const FileStamp now = stampOf(state.path);
        if (now.exists && !(now == state.stamp)) {
            state.stamp = now;
            state.changed();
        } else if (!now.exists && state.stamp.exists) {
            // Forgotten, so that whatever comes back at the path is a change.
            state.stamp = now;
            if (state.removed)
                state.removed();
        }
    }
}

} // namespace

CFileChangeWatcher::CFileChangeWatcher(ChangeHandler changed, RemovalHandler removed)
    : changed_(std::move(changed)), removed_(std::move(removed))
{
}

CFileChangeWatcher::~CFileChangeWatcher()
{
    StopWatcher();
}

void CFileChangeWatcher::StartWatcher(const std::string &gamePath)
{
    if (IsRunning())
        return;
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0)
        return;

    std::string fullPath;
    std::set<int> watches;
    if (!gamePath.empty()) {
        std::error_code failure;
        const fs::path absolute = fs::absolute(gamePath, failure);
        if (!failure && absolute.has_filename()) {
            fullPath = absolute.string();
            notifyFd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            if (notifyFd_ >= 0 && !watchFoldersOf(notifyFd_, absolute, watches)) {
                ::close(notifyFd_);
                notifyFd_ = -1;
            }
        }
    }

    // Taken after the watch is set, so that a change after this look is notified.
    WatchState state{changed_, removed_,          stopFd_,           notifyFd_,
                     fullPath, stampOf(fullPath), std::move(watches)};
    try {
        thread_ = std::thread(watch, std::move(state));
    } catch (const std::system_error &) {
        closeDescriptors();
    }
}

void CFileChangeWatcher::StopWatcher()
{
    if (!IsRunning())
        return;
    const uint64_t wake = 1;
    while (::write(stopFd_, &wake, sizeof wake) < 0 && errno == EINTR) {
    }
    thread_.join();
    closeDescriptors();
}

void CFileChangeWatcher::RestartWatcher(const std::string &gamePath)
{
    if (!IsRunning())
        return;
    StopWatcher();
    StartWatcher(gamePath);
}

void CFileChangeWatcher::closeDescriptors()
{
    if (notifyFd_ >= 0)
        ::close(notifyFd_);
    if (stopFd_ >= 0)
        ::close(stopFd_);
    notifyFd_ = -1;
    stopFd_ = -1;
}
