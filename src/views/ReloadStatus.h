#pragma once

#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

// What the window tells of its reloads: when the game file was last read,
// or, while it cannot be read, since when and why. The game shown stays the
// last one read.
class ReloadStatus
{
public:
    // The game file was read at `at`: a failure is over. The season files
    // that failed during this load are told with it.
    void Loaded(QTime at);
    // A season file could not be read during the load that runs; `home`
    // tells which, `reason` is "<file>: <what went wrong>".
    void SeasonFailed(bool home, const QString &reason);
    // The game file could not be read at `at`, for `reason` ("<file>: <what
    // went wrong>"). The first failure since the last good read gives the time.
    void Failed(QTime at, const QString &reason);
    // Nothing was at the game file's path `file` at `at`. The first time told
    // since the last good read (or since it failed otherwise) gives the time.
    void Missing(QTime at, const QString &file);

    bool failing() const { return failingSince_.has_value(); }
    // "Game file unreadable since HH:MM:SS: <file>: <reason>" while failing,
    // "Game file missing since HH:MM:SS: <file>" while the file is gone, else "Updated HH:MM:SS"
    // followed by "; Home season file unreadable: <file>: <reason>" for each season file that
    // failed in that load, or empty before the first read.
    QString Text() const;

private:
    std::optional<QTime> updated_;
    std::optional<QTime> failingSince_;
    bool missing_ = false;       // the failure is that the file is gone
    QString reason_;             // the reason it failed, or the missing file
    QStringList seasonNotes_;    // of the latest good load
    QStringList pendingSeasons_; // of the load that runs
};
