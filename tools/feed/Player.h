#pragma once

#include "PlayerStats.h"

#include <string>

namespace pylonix::feed
{

// Where a player lines up; decides which plays may name him.
enum class Position {
    Quarterback,
    RunningBack,
    Receiver,
    TightEnd,
    Lineman,
    DefensiveLine,
    Linebacker,
    DefensiveBack,
    Kicker,
    Punter,
    Team
};

// One player of a roster: identity as the files carry it, and his statistics.
struct Player {
    std::string uni;       // uniform number as text ("TM" for the team)
    std::string name;      // "Jalen Okafor"
    std::string shortName; // "J. Okafor"
    std::string checkName; // "OKAFOR,JALEN", the key that matches season lines
    Position position = Position::Lineman;
    PlayerStats stats;
};

} // namespace pylonix::feed
