#include "BoxScorePaper.h"

std::optional<BoxScorePaper> BoxScorePaperFromName(const QString &name)
{
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return BoxScorePaper::Letter;
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return BoxScorePaper::A4;
    return std::nullopt;
}

QPageSize BoxScorePageSize(BoxScorePaper paper)
{
    return QPageSize(paper == BoxScorePaper::A4 ? QPageSize::A4 : QPageSize::Letter);
}
