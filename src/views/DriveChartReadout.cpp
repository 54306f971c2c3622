#include "views/DriveChartReadout.h"

#include "gamedata/CDriveChartData.h"

namespace
{

QString fromItemText(const std::string &text)
{
    return QString::fromStdString(text);
}

// One line of a drive's start or end: "Started by <how> on <spot> at <time>
// in quarter <quarter>"; without a "how" (the end of a drive still going on)
// the line leaves out "by".
QString driveMark(const QString &verb, const CChartItem::Text &how, const CChartItem::Text &spot,
                  const CChartItem::Text &time, const CChartItem::Text &quarter)
{
    const QString by = how.empty() ? QString() : QStringLiteral(" by %1").arg(fromItemText(how));
    return QStringLiteral("%1%2 on %3 at %4 in quarter %5")
        .arg(verb, by, fromItemText(spot), fromItemText(time), fromItemText(quarter));
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
    // A drive whose clocks are not known has no time of possession to show.
    const QString possession =
        showTOP && !e.top.empty() ? QStringLiteral(", TOP %1").arg(fromItemText(e.top)) : QString();
    return QStringLiteral("%1 drive: %2 plays, %3 yards%4\r\n%5\r\n%6")
        .arg(fromItemText(list.GetShortName(e.team)), fromItemText(e.plays), fromItemText(e.yards),
             possession,
             driveMark(QStringLiteral("Started"), e.startHow, e.startSpot, e.startTime, e.startQtr),
             driveMark(QStringLiteral("Ended"), e.endHow, e.endSpot, e.endTime, e.endQtr));
}

QString DriveChartReadout::Text(const CDriveChartData &list, int hover, int selected, bool showTOP)
{
    if (hover > -1)
        return QStringLiteral("Pointing at:\r\n") + Describe(list, hover, showTOP);
    if (selected > -1)
        return QStringLiteral("Selected:\r\n") + Describe(list, selected, showTOP);
    return QString();
}
