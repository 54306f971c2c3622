#pragma once

#include "GameRecords.h"
#include "Team.h"

#include <vector>

namespace pylonix::feed
{

// Everything a game file shows at one moment: the writer reads it, the
// simulator changes it play by play.
struct GameState {
    GameState(Venue venueIn, Team homeIn, Team visitorIn, int ticksPerSecondIn)
        : venue(std::move(venueIn)), home(std::move(homeIn)), visitor(std::move(visitorIn)),
          ticksPerSecond(ticksPerSecondIn)
    {
    }

    // 0 is the home team, 1 the visitor.
    Team &team(int index) { return index == 0 ? home : visitor; }
    const Team &team(int index) const { return index == 0 ? home : visitor; }

    Venue venue;
    Team home;
    Team visitor;
    // Clock ticks per displayed second (the stress scale).
    int ticksPerSecond = 1;
    int quartersPlayed = 0;
    std::vector<ScoreRecord> scores;
    std::vector<DriveRecord> drives;
    std::vector<LogElement> log;
    DownToGo downToGo;
    bool final = false;
};

} // namespace pylonix::feed
