#pragma once

#include "StatColumnSets.h"
#include "StatTable.h"

#include <vector>

class CSeasonStats;
class CTeamStats;

// Background of a game value that beats the player's season average.
constexpr COLORREF kSeasonMarkColor = RGB(192, 255, 192);
// Text colour of the leaders of a column.
constexpr COLORREF kLeaderColor = RGB(255, 0, 0);

// The columns of a player table before any team fills it.
std::vector<TableColumn> PlayerStatColumns(const StatTableLayout &layout);

// A player table of one team: one row per player whose gate value is not 0
// (row data: his index in the team), "None" (row data -1) when no player
// qualifies; values cut to one decimal, light green where they beat the
// player's season average, the largest of every leader column in red (ties
// all), separator columns in the button-face colour; the caption of column 0
// is the team's short name. Sortable, and sorted in the layout's default order.
StatTable BuildPlayerStatTable(const StatTableLayout &layout, const CTeamStats &team,
                               const CSeasonStats &season);
