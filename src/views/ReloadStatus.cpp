#include "ReloadStatus.h"

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
}

void ReloadStatus::Failed(QTime at, const QString &reason)
{
    if (!failingSince_)
        failingSince_ = at;
    reason_ = reason;
}

QString ReloadStatus::Text() const
{
    if (failingSince_)
        return QStringLiteral("Game file unreadable since ") + clockText(*failingSince_) + ": " +
               reason_;
    if (updated_)
        return QStringLiteral("Updated ") + clockText(*updated_);
    return {};
}
