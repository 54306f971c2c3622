#include "CSeasonStats.h"

bool CSeasonStats::LoadSeason(const CXmlDocument &document)
{
    Refill();
    if (!StoreDocumentText(document, "/fbseas/team/@name", "Name") ||
        !StoreDocumentText(document, "/fbseas/team/@id", "Short Name"))
        return false;
    if (!LoadPlayers(document, "/fbseas/player", false))
        return false;
    return LoadTotals(document, "/fbseas/totals");
}

void CSeasonStats::Clear()
{
    teamValues_.clear();
    for (StatValues &player : players_)
        player.clear();
    IndexCheckNames();
}
