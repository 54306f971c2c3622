#include "CPlayListGrid.h"

#include <array>

namespace
{

using namespace ChartListValues;

constexpr std::array<ChartListColumn, 8> kPlayColumns{{
    {"Team", 44, TeamName},
    {"Qtr", 33, Text<&CChartItem::startQtr>},
    {"", 6, Nothing},
    {"Down", 40, Text<&CChartItem::top>},
    {"Spot", 55, Text<&CChartItem::startSpot>},
    {"Time", 40, Text<&CChartItem::startTime>},
    {"Play", 300, Text<&CChartItem::startHow>},
    {"Yds", 33, Text<&CChartItem::yards>},
}};

} // namespace

CPlayListGrid::CPlayListGrid(QWidget *parent, int id) : CChartListGrid(kPlayColumns, parent, id) {}
