#pragma once

#include "Player.h"
#include "Team.h"
#include "TeamTotals.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pylonix::feed
{

// One player's season line.
struct SeasonPlayer {
    Player player; // identity and season statistics
    int gamesPlayed = 0;
};

// One team's season file content.
struct SeasonTeam {
    std::string name;
    std::string id;
    std::vector<SeasonPlayer> players;
    TeamTotals totals;
};

// Plays the teams' earlier games and sums them into season lines. A few players
// missed some of those games and a few newcomers played none, so the season
// files show games played of 4, 3 and 2, and some game players have no line.
class SeasonBuilder
{
public:
    static constexpr int earlierGames = 4;

    SeasonBuilder(std::uint64_t seed, int scale) : seed_(seed), scale_(scale) {}

    SeasonTeam home() const { return build(0); }
    SeasonTeam visitor() const { return build(1); }

    // Roster indexes of the players who missed earlier game `game` (0-based).
    static std::vector<int> absentees(const Team &team, int game);

private:
    SeasonTeam build(int side) const;

    std::uint64_t seed_;
    int scale_;
};

} // namespace pylonix::feed
