#pragma once

#include "CStatGridCtrl.h"

#include "gamedata/CChartItem.h"

#include <span>
#include <string>

class CDriveChartData;

// One column of a drive chart list: header, width, and what it shows of an entry.
struct ChartListColumn {
    const char *header;
    int width;
    std::string (*value)(const CDriveChartData &drives, const CChartItem &item);
};

// A list of the entries of the drive chart, one row per entry in list order
// (so a row is the entry's index), home rows black on white and visitor rows
// white on grey. After a click or a key press it announces the selected row
// with chartDriveSelected.
class CChartListGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    CChartListGrid(std::span<const ChartListColumn> columns, QWidget *parent, int id);

    void SetupColumns() override;
    // One row per entry of `drives`.
    void Fill(const CDriveChartData &drives);

signals:
    // A left or right click or a key press left row `row` selected (the
    // first selected row, -1 for none): the chart selects the same entry.
    void chartDriveSelected(int row);

protected:
    // Whether column `column` shows its values; all do here.
    virtual bool ShowsColumn(int column) const;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void announceSelection();

    std::span<const ChartListColumn> columns_;
};

// What the columns of the lists show of an entry.
namespace ChartListValues
{
// The short name of the entry's team.
std::string TeamName(const CDriveChartData &drives, const CChartItem &item);
// An empty spacer column.
std::string Nothing(const CDriveChartData &drives, const CChartItem &item);
// "plays - yards".
std::string PlaysAndYards(const CDriveChartData &drives, const CChartItem &item);
// One text of the entry.
template <auto Field> std::string Text(const CDriveChartData &, const CChartItem &item)
{
    return std::string(item.*Field);
}
} // namespace ChartListValues
