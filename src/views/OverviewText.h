#pragma once

#include <span>
#include <string>
#include <vector>

class CGameDocument;
class CTeamStats;

// The text under the team statistics on the Game Overview page: each team
// with its record, where and when the game is played, how long it lasted,
// the attendance and the officials.
std::string BuildOverviewText(std::span<const CTeamStats, 2> teams, const CGameDocument &game);

// The entries of the period box: "Entire Game", "Quarter 1" up to the rules'
// number of quarters, then "Overtime", "Overtime 2", ... up to the highest
// period number the plays of the file give. Entry n selects period n.
std::vector<std::string> BuildPeriodEntries(const CGameDocument &game);
