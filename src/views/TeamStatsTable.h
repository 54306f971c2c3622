#pragma once

#include "StatTable.h"

#include <span>
#include <vector>

class CTeamStats;

// The columns of the team statistics comparison before any game fills it.
std::vector<TableColumn> TeamStatsColumns();

// The team statistics comparison: a caption column, then the home and the
// visitor team (captioned by their short names); black bars between the
// groups; the possession time only with `showTop`. Not sortable.
StatTable BuildTeamStatsTable(std::span<const CTeamStats, 2> teams, bool showTop);
