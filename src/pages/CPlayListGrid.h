#pragma once

#include "CChartListGrid.h"

// The plays list of the Drive Charts page: the plays of one drive.
class CPlayListGrid : public CChartListGrid
{
    Q_OBJECT

public:
    explicit CPlayListGrid(QWidget *parent = nullptr, int id = 0);
};
