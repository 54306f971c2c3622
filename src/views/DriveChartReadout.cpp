#include "views/DriveChartReadout.h"

#include "gamedata/CDriveChartData.h"

namespace
{

QString fromItemText(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

QString DriveChartReadout::Describe(const CDriveChartData &list, int index, bool showTOP)
{
    if (index < 0 || index >= list.count())
        return QString();
    const CChartItem &e = list.item(index);
    if (list.playsMode()) {
        return QStringLiteral("Qtr: %1, Down: %2, Spot: %3, Time: %4\r\n%5")
            .arg(fromItemText(e.startQtr), fromItemText(e.top), fromItemText(e.startSpot),
                 fromItemText(e.startTime), fromItemText(e.startHow));
    }
    const QString possession =
        showTOP ? QStringLiteral(", TOP %1").arg(fromItemText(e.top)) : QString();
    return QStringLiteral("%1 drive: %2 plays, %3 yards%4\r\n"
                          "Started by %5 on %6 at %7 in quarter %8\r\n"
                          "Ended by %9 on %10 at %11 in quarter %12")
        .arg(fromItemText(list.GetShortName(e.team)), fromItemText(e.plays), fromItemText(e.yards),
             possession, fromItemText(e.startHow), fromItemText(e.startSpot),
             fromItemText(e.startTime), fromItemText(e.startQtr), fromItemText(e.endHow))
        .arg(fromItemText(e.endSpot), fromItemText(e.endTime), fromItemText(e.endQtr));
}

QString DriveChartReadout::Text(const CDriveChartData &list, int hover, int selected, bool showTOP)
{
    if (hover > -1)
        return QStringLiteral("Pointing at:\r\n") + Describe(list, hover, showTOP);
    if (selected > -1)
        return QStringLiteral("Selected:\r\n") + Describe(list, selected, showTOP);
    return QString();
}
