#pragma once

#include "CStatGridCtrl.h"

// The team statistics comparison of the Game Overview page; it shows the
// value BuildTeamStatsTable makes.
class CTeamStatsGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    using CStatGridCtrl::CStatGridCtrl;

    // The caption column and the "Home" and "Visitor" columns.
    void SetupColumns() override;
};
