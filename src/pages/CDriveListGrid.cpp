#include "CDriveListGrid.h"

#include <array>

namespace
{

using namespace ChartListValues;

constexpr int kDriveTopColumn = 12;

constexpr std::array<ChartListColumn, 13> kDriveColumns{{
    {"Team", 44, TeamName},
    {"Qtr", 33, Text<&CChartItem::startQtr>},
    {"", 6, Nothing},
    {"Spot", 33, Text<&CChartItem::startSpot>},
    {"Time", 40, Text<&CChartItem::startTime>},
    {"Start", 50, Text<&CChartItem::startHow>},
    {"", 6, Nothing},
    {"Spot", 33, Text<&CChartItem::endSpot>},
    {"Time", 40, Text<&CChartItem::endTime>},
    {"End", 50, Text<&CChartItem::endHow>},
    {"", 6, Nothing},
    {"Plays-Yds", 55, PlaysAndYards},
    {"TOP", 40, Text<&CChartItem::top>},
}};

} // namespace

CDriveListGrid::CDriveListGrid(QWidget *parent, int id) : CChartListGrid(kDriveColumns, parent, id)
{
}

bool CDriveListGrid::ShowsColumn(int column) const
{
    return column != kDriveTopColumn || showTOP_;
}

void CDriveListGrid::Fill(const CDriveChartData &drives)
{
    SetColumnWidth(kDriveTopColumn, showTOP_ ? 40 : 0);
    SetColumnText(kDriveTopColumn, showTOP_ ? QStringLiteral("TOP") : QString(""));
    CChartListGrid::Fill(drives);
}
