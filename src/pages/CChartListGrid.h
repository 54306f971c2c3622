#pragma once

#include "CStatGridCtrl.h"

#include <span>
#include <string>

class CDriveChartData;
struct CChartItem;

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
    void Fill();

protected:
    bool ShowsColumn(int column) const override;

private:
    bool showTOP_ = false;
};

// The plays list of the Drive Charts page: the plays of one drive.
class CPlayListGrid : public CChartListGrid
{
    Q_OBJECT

public:
    explicit CPlayListGrid(QWidget *parent = nullptr, int id = 0);
};
