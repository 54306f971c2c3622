#pragma once

#include "Player.h"
#include "TeamTotals.h"

#include <string>
#include <vector>

namespace pylonix::feed
{

// One side of the game: identity, dressed players, the statistics that belong
// to the team rather than a player, and its points by quarter.
class Team
{
public:
    Team(char side, std::string name, std::string id, std::string record,
         std::vector<Player> players);

    char side() const { return side_; }
    const std::string &name() const { return name_; }
    const std::string &id() const { return id_; }
    const std::string &record() const { return record_; }

    const std::vector<Player> &players() const { return players_; }
    Player &player(int index) { return players_.at(static_cast<std::size_t>(index)); }
    const Player &player(int index) const { return players_.at(static_cast<std::size_t>(index)); }
    // Indexes of the players at a position, in depth-chart order.
    std::vector<int> playersAt(Position position) const;
    // Index of the TEAM player.
    int teamPlayer() const;

    // Team-level counters: first downs, penalties, conversions, and possession
    // in clock ticks (ticksPerSecond of them make a second of the game clock).
    TeamTotals &counters() { return counters_; }
    // Counters plus the sum of every player's statistics; possession in seconds.
    TeamTotals totals(int ticksPerSecond) const;

    void addPoints(int quarter, int points);
    int score() const;
    // Points of quarters 1..n, n being at least the number of quarters played so far.
    const std::vector<int> &pointsByQuarter() const { return points_; }
    void openQuarter(int quarter);

    int timeoutsLeft() const { return timeoutsLeft_; }
    void useTimeout() { --timeoutsLeft_; }
    void setTimeouts(int count) { timeoutsLeft_ = count; }

private:
    char side_;
    std::string name_;
    std::string id_;
    std::string record_;
    std::vector<Player> players_;
    TeamTotals counters_;
    std::vector<int> points_;
    int timeoutsLeft_ = 3;
};

} // namespace pylonix::feed
