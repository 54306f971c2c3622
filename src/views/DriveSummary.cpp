#include "DriveSummary.h"

#include "PlaysAndYards.h"
#include "gamedata/CDriveChartData.h"

std::vector<DriveSummary> DriveSummary::Build(const CDriveChartData &drives)
{
    const auto text = [](const std::string &value) { return QString::fromStdString(value); };
    std::vector<DriveSummary> lines;
    lines.reserve(drives.items().size());
    for (const CChartItem &item : drives.items()) {
        lines.push_back({item.team, text(item.startQtr), text(item.startTime), text(item.startSpot),
                         text(item.startHow), text(item.endHow),
                         PlaysAndYardsText(item.plays, item.yards), text(item.top)});
    }
    return lines;
}
