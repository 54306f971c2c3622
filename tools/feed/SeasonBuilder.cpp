#include "SeasonBuilder.h"

#include "GameSimulator.h"
#include "RosterFactory.h"

#include <set>

namespace pylonix::feed
{

namespace
{

// Player at depth `depth` of a position, or -1.
int at(const Team &team, Position position, std::size_t depth)
{
    const std::vector<int> group = team.playersAt(position);
    return depth < group.size() ? group[depth] : -1;
}

} // namespace

std::vector<int> SeasonBuilder::absentees(const Team &team, int game)
{
    // Newcomers: no earlier game at all.
    std::vector<int> absent = {at(team, Position::RunningBack, 1), at(team, Position::Receiver, 2),
                               at(team, Position::DefensiveBack, 1)};
    // Two games missed: games played 2.
    if (game == 1 || game == 2) {
        for (const int index :
             {at(team, Position::Receiver, 1), at(team, Position::Linebacker, 2),
              at(team, Position::DefensiveLine, 1), at(team, Position::TightEnd, 0)})
            absent.push_back(index);
    }
    // One game missed: games played 3.
    if (game == 3) {
        for (const int index :
             {at(team, Position::RunningBack, 2), at(team, Position::Linebacker, 0),
              at(team, Position::DefensiveBack, 3)})
            absent.push_back(index);
    }
    return absent;
}

SeasonTeam SeasonBuilder::build(int side) const
{
    const RosterFactory factory(scale_);
    const Team full = side == 0 ? factory.home() : factory.visitor();
    std::vector<SeasonPlayer> lines(full.players().size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].player = full.players()[i];
        lines[i].player.stats = PlayerStats{};
    }
    SeasonTeam season{full.name(), full.id(), {}, {}};
    const Team homeRoster = factory.home();
    const Team visitorRoster = factory.visitor();
    for (int game = 0; game < earlierGames; ++game) {
        std::set<int> absentHome;
        std::set<int> absentVisitor;
        for (const int index : absentees(homeRoster, game))
            absentHome.insert(index);
        for (const int index : absentees(visitorRoster, game))
            absentVisitor.insert(index);
        GameSimulator game_(seed_ * 7919 + 101 + static_cast<std::uint64_t>(game),
                            RosterFactory::without(homeRoster, absentHome),
                            RosterFactory::without(visitorRoster, absentVisitor), scale_);
        game_.run({});
        const Team &played = game_.state().team(side);
        const std::set<int> &absent = side == 0 ? absentHome : absentVisitor;
        std::size_t next = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (absent.count(static_cast<int>(i)) != 0)
                continue;
            lines[i].player.stats.add(played.players()[next++].stats);
            ++lines[i].gamesPlayed;
        }
        season.totals.add(played.totals(scale_));
    }
    for (SeasonPlayer &line : lines) {
        if (line.gamesPlayed > 0)
            season.players.push_back(std::move(line));
    }
    return season;
}

} // namespace pylonix::feed
