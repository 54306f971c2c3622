#include "CDriveListGrid.h"

#include "views/ChartListTables.h"

namespace
{

constexpr int kDriveTopColumn = 12;

} // namespace

CDriveListGrid::CDriveListGrid(QWidget *parent, int id)
    : CChartListGrid(DriveListColumns(true), parent, id)
{
}

void CDriveListGrid::ShowDrives(StatTable table)
{
    // The setting decides this column's width, not the user.
    if (kDriveTopColumn < table.ColumnCount() && kDriveTopColumn < GetColumnCount())
        SetColumnWidth(kDriveTopColumn, table.columns[kDriveTopColumn].width);
    ShowTable(std::move(table));
}
