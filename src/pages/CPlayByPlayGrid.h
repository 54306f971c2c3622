#pragma once

#include "CStatGridCtrl.h"
#include "views/PlayByPlayTable.h"

// The Play-by-Play page's table (PlayByPlayTable): shows the rows built for
// the width of its "Play" column and its font.
class CPlayByPlayGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    static constexpr int kPlayColumn = PlayByPlayTable::kPlayColumn;

    using CStatGridCtrl::CStatGridCtrl;

    void SetupColumns() override;
    // The options the rows are built with: the period, the time-of-possession
    // flag and the own width of the "Play" column (OwnColumnWidth).
    PlayByPlayOptions Options(int period, bool showTOP) const;
};
