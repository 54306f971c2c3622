#pragma once

#include "CChartListGrid.h"

// The drives list of the Drive Charts page; the last column, the time of
// possession, is shown only with ShowTOP.
class CDriveListGrid : public CChartListGrid
{
    Q_OBJECT

public:
    explicit CDriveListGrid(QWidget *parent = nullptr, int id = 0);

    void SetShowTOP(bool show) { showTOP_ = show; }
    bool ShowTOP() const { return showTOP_; }
    // The rows, and column 12 titled "TOP" 40 wide, or untitled at width 0.
    void Fill(const CDriveChartData &drives);

protected:
    bool ShowsColumn(int column) const override;

private:
    bool showTOP_ = false;
};
