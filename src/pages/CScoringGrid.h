#pragma once

#include "CStatGridCtrl.h"
#include "views/ScoringTable.h"

// The Scoring plays page's table (ScoringTable).
class CScoringGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    static constexpr int kTopColumn = ScoringTable::kTopColumn;

    using CStatGridCtrl::CStatGridCtrl;

    void SetupColumns() override;
    // Shows `table`'s rows and its time-of-possession column, which is 0 wide
    // without a caption when not shown.
    void Show(StatTable table);
};
