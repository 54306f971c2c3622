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
    if (!failingSince_)
        failingSince_ = at;
    pendingSeasons_.clear();
    reason_ = reason;
}

QString ReloadStatus::Text() const
{
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
