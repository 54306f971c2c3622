#pragma once

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"

#include <array>
#include <initializer_list>
#include <utility>

using Values = std::initializer_list<std::pair<const char *, const char *>>;

// A team whose values are written by the test, not loaded from a file.
template <typename Base> class TeamOf : public Base
{
public:
    explicit TeamOf(Values teamValues = {})
    {
        for (const auto &[label, value] : teamValues)
            this->teamValues_.set(label, value);
    }
    TeamOf &Player(Values values)
    {
        this->players_.emplace_back();
        for (const auto &[label, value] : values)
            this->players_.back().set(label, value);
        this->IndexCheckNames();
        return *this;
    }
};
using TestTeam = TeamOf<CTeamStats>;
using TestSeason = TeamOf<CSeasonStats>;

// The home and visitor teams of a loaded game, as the session loads them.
inline std::array<CTeamStats, 2> TeamsOf(const CGameDocument &game)
{
    std::array<CTeamStats, 2> teams;
    teams[0].SetSide('H');
    teams[1].SetSide('V');
    for (CTeamStats &team : teams)
        team.LoadGame(game);
    return teams;
}
