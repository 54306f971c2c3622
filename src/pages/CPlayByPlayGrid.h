#pragma once

#include "CStatGridCtrl.h"
#include "views/PlayByPlayTable.h"

#include <QTimer>
#include <chrono>

// The Play-by-Play page's table (PlayByPlayTable): shows the rows built for
// the width of its "Play" column and its font. After a reload it marks the
// rows the new game added (FirstAddedRow) for a few seconds, and follows the
// newest play while it is in view: a reload, a new width or a smaller window
// keep it in view until the user scrolls away from it.
class CPlayByPlayGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    static constexpr int kPlayColumn = PlayByPlayTable::kPlayColumn;
    // How long the rows a reload added stay marked (a later reload ends it sooner).
    static constexpr std::chrono::milliseconds kMarkDuration{5000};

    explicit CPlayByPlayGrid(QWidget *parent = nullptr, int id = 0);

    void SetupColumns() override;
    // The options the rows are built with: the period, the time-of-possession
    // flag and the own width of the "Play" column (OwnColumnWidth).
    PlayByPlayOptions Options(int period, bool showTOP) const;

    // A reload: the next table shown is the new game's. Its added rows are
    // marked, and when the newest row is in view now, it is kept in view.
    void MarkRowsOfNextReload();
    // Brings the newest row into view and follows it from now on (the page
    // opened during a game), also before the table has its size.
    void ShowNewest();
    // The first marked row and the number of marked rows (0 when none).
    int firstMarkedRow() const { return firstMarked_; }
    int markedRowCount() const { return markedCount_; }

protected:
    void TableShown(const StatTable &previous) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool NewestRowInView() const;
    void KeepNewestInView();
    void ClearMarks();

    bool markNextTable_ = false;
    bool followNewest_ = false;
    int firstMarked_ = 0;
    int markedCount_ = 0;
    QTimer markTimer_;
};
