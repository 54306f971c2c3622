#pragma once

#include "StatTable.h"

#include <span>
#include <vector>

class CTeamStats;

// The columns of the yardage summary before any game fills it.
std::vector<TableColumn> YardageSummaryColumns();

// The yardage summary: rushing, passing and total yards and first downs of
// the home and the visitor team (captioned by their short names). Not sortable.
StatTable BuildYardageSummaryTable(std::span<const CTeamStats, 2> teams);
