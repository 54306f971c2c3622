#pragma once

#include "CTeamStats.h"

// One team's season file (root "fbseas"): the same labels as a game team,
// without "Record" and "Short Name" for players; "Played" is games played.
class CSeasonStats : public CTeamStats
{
public:
    // Fills the object from a season document. True when the totals were read.
    bool LoadSeason(const CXmlDocument &document);

    // Removes every value but keeps the players, each now empty.
    void Clear();
};
