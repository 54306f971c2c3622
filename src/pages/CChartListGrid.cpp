#include "CChartListGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>

CChartListGrid::CChartListGrid(std::vector<TableColumn> columns, QWidget *parent, int id)
    : CStatGridCtrl(parent, id), columns_(std::move(columns))
{
}

void CChartListGrid::SetupColumns()
{
    ShowColumns(columns_);
}

void CChartListGrid::announceSelection()
{
    emit chartDriveSelected(GetFirstSelectedRow());
}

void CChartListGrid::mousePressEvent(QMouseEvent *event)
{
    CStatGridCtrl::mousePressEvent(event);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        announceSelection();
}

void CChartListGrid::keyPressEvent(QKeyEvent *event)
{
    CStatGridCtrl::keyPressEvent(event);
    announceSelection();
}
