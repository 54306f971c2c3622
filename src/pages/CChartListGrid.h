#pragma once

#include "CStatGridCtrl.h"

#include <vector>

// A list of the entries of the drive chart (the drives list or the plays
// list): it shows the table value the view model builds, one row per entry
// in list order (so a row is the entry's index). After a click or a key
// press it announces the selected row with chartDriveSelected.
class CChartListGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    CChartListGrid(std::vector<TableColumn> columns, QWidget *parent, int id);

    // Creates the columns the list is made with.
    void SetupColumns() override;

signals:
    // A left or right click or a key press left row `row` selected (the
    // first selected row, -1 for none): the chart selects the same entry.
    void chartDriveSelected(int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void announceSelection();

    std::vector<TableColumn> columns_;
};
