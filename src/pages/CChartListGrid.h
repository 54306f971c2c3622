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
// white on grey. After a click or a key press the main window (the list's
// top-level window) is sent UM_SELECTCHARTDRIVE with the selected row.
class CChartListGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    CChartListGrid(std::span<const ChartListColumn> columns, QWidget *parent, int id);

    void SetupColumns() override;
    // The entries the list shows; the main window's list, set before each fill.
    void SetDriveData(const CDriveChartData *drives) { drives_ = drives; }
    const CDriveChartData *DriveData() const { return drives_; }
    // One row per entry; nothing without drive data.
    void Fill();

protected:
    // Whether column `column` shows its values; all do here.
    virtual bool ShowsColumn(int column) const;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void TellMainWindow();

    std::span<const ChartListColumn> columns_;
    const CDriveChartData *drives_ = nullptr;
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
