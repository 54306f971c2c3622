#include "CYardageSummaryGrid.h"

#include "views/YardageSummaryTable.h"

void CYardageSummaryGrid::SetupColumns()
{
    ShowColumns(YardageSummaryColumns());
}
