#pragma once

#include <QString>
#include <QTime>
#include <optional>

// What the window tells of its reloads: when the game file was last read,
// or, while it cannot be read, since when and why. The game shown stays the
// last one read.
class ReloadStatus
{
public:
    // The game file was read at `at`: a failure is over.
    void Loaded(QTime at);
    // The game file could not be read at `at`, for `reason` ("<file>: <what
    // went wrong>"). The first failure since the last good read gives the time.
    void Failed(QTime at, const QString &reason);

    bool failing() const { return failingSince_.has_value(); }
    // "Game file unreadable since HH:MM:SS: <file>: <reason>" while failing,
    // else "Updated HH:MM:SS", or empty before the first read.
    QString Text() const;

private:
    std::optional<QTime> updated_;
    std::optional<QTime> failingSince_;
    QString reason_;
};
