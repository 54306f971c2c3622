#pragma once

#include "CChartListGrid.h"

// The drives list of the Drive Charts page; its last column, the time of
// possession, is 40 pixels wide with Show Time of Possession and 0 without.
class CDriveListGrid : public CChartListGrid
{
    Q_OBJECT

public:
    explicit CDriveListGrid(QWidget *parent = nullptr, int id = 0);

    // Shows a drives list value, its time-of-possession column as wide as the value says.
    void ShowDrives(StatTable table);
};
