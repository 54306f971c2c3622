#pragma once

#include <functional>
#include <string>
#include <thread>

// Watches the game file and says when to reload it: calls `changed` (on the
// watch thread) whenever the file's modification time (to the nanosecond), size
// or inode changed, as seen at a write, close after writing, move-in or
// creation of any file in its folder or, when the path is a symbolic link, in
// the folder of the file it leads to. Calls `removed` when the file that was
// there is gone (deleted, moved away, its folder removed) and keeps watching,
// so the file made again is a change. A folder that is deleted is watched for
// again when it comes back. One thread does the watching; it is woken to
// stop, never killed.
class CFileChangeWatcher
{
public:
    // Called on the watch thread whenever the game file changed.
    using ChangeHandler = std::function<void()>;
    // Called on the watch thread when nothing is at the game file's path any more.
    using RemovalHandler = std::function<void()>;

    // A stopped watcher that will call `changed` and `removed` (when given).
    // What it calls must outlive every running watch: its owner stops the
    // watcher before it goes.
    explicit CFileChangeWatcher(ChangeHandler changed, RemovalHandler removed = {});
    // Stops the watch if one runs.
    virtual ~CFileChangeWatcher();
    CFileChangeWatcher(const CFileChangeWatcher &) = delete;
    CFileChangeWatcher &operator=(const CFileChangeWatcher &) = delete;

    // Unless a watch runs, starts watching the game file at `gamePath` (made
    // absolute against the current folder). Returns once the folders are
    // watched, so every later change is seen. A missing folder is watched
    // for through its nearest existing parent. When nothing can be watched
    // the thread only waits to be stopped; when no thread can be made, nothing runs.
    void StartWatcher(const std::string &gamePath);

    // Stops a running watch; returns once its thread has ended.
    void StopWatcher();

    // Only when a watch runs: stops it and starts watching `gamePath` instead.
    void RestartWatcher(const std::string &gamePath);

    bool IsRunning() const { return thread_.joinable(); }

    // True while a running watch sees the changes in the game file's folder.
    bool IsWatchingFolder() const { return IsRunning() && notifyFd_ >= 0; }

private:
    void closeDescriptors();

    ChangeHandler changed_;
    RemovalHandler removed_;
    std::thread thread_;
    int stopFd_ = -1;   // written to wake the thread and end it
    int notifyFd_ = -1; // change notifications of the game file's folder, -1 when none
};
