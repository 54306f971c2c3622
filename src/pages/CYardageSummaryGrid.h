#pragma once

#include "CStatGridCtrl.h"

// The small table under the page buttons; it shows the value
// BuildYardageSummaryTable makes.
class CYardageSummaryGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    using CStatGridCtrl::CStatGridCtrl;

    // The caption column and the two team columns.
    void SetupColumns() override;
};
