#include "CTeamStatsGrid.h"

#include "views/TeamStatsTable.h"

void CTeamStatsGrid::SetupColumns()
{
    ShowColumns(TeamStatsColumns());
}
