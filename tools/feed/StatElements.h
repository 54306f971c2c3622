#pragma once

#include "PlayerStats.h"
#include "TeamTotals.h"
#include "XmlWriter.h"

namespace pylonix::feed
{

// The statistics elements shared by game and season files.
class StatElements
{
public:
    // The category elements the player has earned, in file order.
    static void writePlayer(XmlWriter &xml, const PlayerStats &stats);
    // The totals element with every child.
    static void writeTotals(XmlWriter &xml, const TeamTotals &totals);
    // Seconds as "MM:SS" (minutes not limited to 59).
    static std::string minutesText(int seconds);
};

} // namespace pylonix::feed
