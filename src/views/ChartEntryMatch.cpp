#include "ChartEntryMatch.h"

#include "gamedata/CDriveChartData.h"

int FindSameChartEntry(const CDriveChartData &list, const CChartItem &entry)
{
    for (int index = 0; index < list.count(); ++index) {
        const CChartItem &item = list.item(index);
        if (item.team == entry.team && item.startQtr.str() == entry.startQtr.str() &&
            item.startTime.str() == entry.startTime.str() &&
            item.startSpot.str() == entry.startSpot.str() &&
            item.startHow.str() == entry.startHow.str())
            return index;
    }
    return -1;
}
