#include "ReloadStatus.h"

#include <utility>

namespace
{

QString clockText(QTime time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

void ReloadStatus::Loaded(QTime at)
{
    updated_ = at;
    failingSince_.reset();
    missing_ = false;
    reason_.clear();
    seasonNotes_ = std::exchange(pendingSeasons_, {});
}

void ReloadStatus::SeasonFailed(bool home, const QString &reason)
{
    pendingSeasons_.append((home ? QStringLiteral("Home") : QStringLiteral("Visitor")) +
                           " season file unreadable: " + reason);
}

void ReloadStatus::Failed(QTime at, const QString &reason)
{
    if (!failingSince_ || missing_)
        failingSince_ = at;
    missing_ = false;
    pendingSeasons_.clear();
    reason_ = reason;
}

void ReloadStatus::Missing(QTime at, const QString &file)
{
    if (!failingSince_ || !missing_)
        failingSince_ = at;
    missing_ = true;
    pendingSeasons_.clear();
    reason_ = file;
}

QString ReloadStatus::Text() const
{
    if (failingSince_ && missing_)
        return QStringLiteral("Game file missing since ") + clockText(*failingSince_) + ": " +
               reason_;
    if (failingSince_)
        return QStringLiteral("Game file unreadable since ") + clockText(*failingSince_) + ": " +
               reason_;
    if (updated_) {
        QStringList parts{QStringLiteral("Updated ") + clockText(*updated_)};
        parts += seasonNotes_;
        return parts.join(QStringLiteral("; "));
    }
    return {};
}
