#pragma once

#include "CStatGridCtrl.h"

#include <span>

// The small table under the page buttons: rushing, passing and total yards
// and first downs of both teams.
class CYardageSummaryGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    using CStatGridCtrl::CStatGridCtrl;

    void SetupColumns() override;
    // The four rows from the home and visitor game teams; the team columns
    // are headed by their short names.
    void Fill(std::span<const CTeamStats, 2> teams);
};
