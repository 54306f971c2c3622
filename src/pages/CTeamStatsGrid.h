#pragma once

#include "CStatGridCtrl.h"

#include <span>

// The team statistics comparison of the Game Overview page: one row per team
// statistic, the home value beside the visitor value, with two black bars
// dividing offense, kicking and returns, and the rest.
class CTeamStatsGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    using CStatGridCtrl::CStatGridCtrl;

    void SetupColumns() override;
    // Whether the "Possession Time" row is shown; set before each fill.
    void SetShowTOP(bool show) { showTOP_ = show; }
    bool ShowTOP() const { return showTOP_; }
    // The rows from the home and visitor game teams, values as stored.
    void Fill(std::span<const CTeamStats, 2> teams);

private:
    bool showTOP_ = false;
};
