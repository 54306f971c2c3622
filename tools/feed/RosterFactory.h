#pragma once

#include "Team.h"

#include <set>

namespace pylonix::feed
{

// Builds the two fictional teams. Rosters do not depend on the game's seed, so
// every game (and the season files) shows the same players.
class RosterFactory
{
public:
    // scale multiplies every position group (stress games).
    explicit RosterFactory(int scale = 1) : scale_(scale < 1 ? 1 : scale) {}

    // The full rosters, TEAM player last.
    Team home() const;
    Team visitor() const;

    // The same team without the players whose indexes are listed (players who
    // did not dress for a game).
    static Team without(const Team &team, const std::set<int> &absent);

private:
    Team build(char side, std::uint64_t rosterSeed) const;

    int scale_;
};

} // namespace pylonix::feed
