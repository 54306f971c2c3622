#pragma once

#include "StatTable.h"

#include <vector>

class CDriveChartData;

// The drives list and the plays list of the Drive Charts page: one row per
// entry of the drive chart list, in list order (so a row is the entry's
// index), home rows black on white and visitor rows white on grey. Neither
// sorts.

// The drives list's columns: team, quarter, start spot, time and how, end
// spot, time and how, "Plays-Yds" and "TOP" (untitled and 0 wide unless `showTOP`).
std::vector<TableColumn> DriveListColumns(bool showTOP);
// The drives list of `drives`; the time of possession only with `showTOP`.
StatTable BuildDriveListTable(const CDriveChartData &drives, bool showTOP);

// The plays list's columns: team, quarter, down, spot, time, play and yards.
std::vector<TableColumn> PlayListColumns();
// The plays list of `drives`.
StatTable BuildPlayListTable(const CDriveChartData &drives);
