#include "Team.h"

#include <numeric>
#include <stdexcept>

namespace pylonix::feed
{

Team::Team(char side, std::string name, std::string id, std::string record,
           std::vector<Player> players)
    : side_(side), name_(std::move(name)), id_(std::move(id)), record_(std::move(record)),
      players_(std::move(players))
{
}

std::vector<int> Team::playersAt(Position position) const
{
    std::vector<int> result;
    for (std::size_t i = 0; i < players_.size(); ++i) {
        if (players_[i].position == position)
            result.push_back(static_cast<int>(i));
    }
    return result;
}

int Team::teamPlayer() const
{
    const std::vector<int> team = playersAt(Position::Team);
    if (team.empty())
        throw std::logic_error("roster without a TEAM player");
    return team.front();
}

TeamTotals Team::totals(int ticksPerSecond) const
{
    TeamTotals result = counters_;
    for (const Player &player : players_)
        result.addPlayer(player.stats);
    result.possessionSeconds =
        counters_.possessionSeconds / (ticksPerSecond > 0 ? ticksPerSecond : 1);
    return result;
}

void Team::addPoints(int quarter, int points)
{
    openQuarter(quarter);
    points_[static_cast<std::size_t>(quarter - 1)] += points;
}

int Team::score() const
{
    return std::accumulate(points_.begin(), points_.end(), 0);
}

void Team::openQuarter(int quarter)
{
    if (quarter > 0 && points_.size() < static_cast<std::size_t>(quarter))
        points_.resize(static_cast<std::size_t>(quarter), 0);
}

} // namespace pylonix::feed
