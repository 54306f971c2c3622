#pragma once

#include "PlayerStats.h"

namespace pylonix::feed
{

// A team's totals in the shape of the files' totals element.
struct TeamTotals {
    int firstDownsRush = 0, firstDownsPass = 0, firstDownsPenalty = 0;
    int rushAtt = 0, rushYds = 0, rushGain = 0, rushLoss = 0;
    int passAtt = 0, passComp = 0, passInt = 0, passYds = 0;
    int fumbles = 0, fumblesLost = 0;
    int penalties = 0, penaltyYds = 0;
    int puntNo = 0, puntYds = 0;
    ReturnStats pr, kr, ir, fr;
    int sacks = 0, sackYds = 0;
    int thirdConv = 0, thirdAtt = 0, fourthConv = 0, fourthAtt = 0;
    int possessionSeconds = 0;

    int firstDowns() const { return firstDownsRush + firstDownsPass + firstDownsPenalty; }
    // Adds one player's statistics.
    void addPlayer(const PlayerStats &stats);
    // Adds another game's totals (season sums).
    void add(const TeamTotals &other);
};

} // namespace pylonix::feed
