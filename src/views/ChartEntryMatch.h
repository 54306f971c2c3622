#pragma once

struct CChartItem;
class CDriveChartData;

// The entry of `list` that shows the same drive or play as `entry` of an
// earlier list (same team, quarter, clock, spot and text), or -1 when the
// list no longer has it. A drive that grew keeps its start, so it is found.
int FindSameChartEntry(const CDriveChartData &list, const CChartItem &entry);
