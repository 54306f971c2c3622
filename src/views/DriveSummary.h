#pragma once

#include <QString>
#include <vector>

class CDriveChartData;

// One line of a drive summary: who had the ball, where and how the drive
// started, how it ended, its plays and yards and its time of possession.
struct DriveSummary {
    int team = 0;       // 0 home, 1 visitor
    QString quarter;    // the quarter it started in
    QString clock;      // the clock when it started
    QString spot;       // where it started, as the file gives it
    QString start;      // how it started: "KO", "PUNT", "INT"...
    QString end;        // how it ended: "TD", "FG", "PUNT"...; empty while it goes on
    QString playsYards; // "9 - 48", as every table shows them
    QString top;        // time of possession

    // The drives of `drives` (a drives-mode list), in their order.
    static std::vector<DriveSummary> Build(const CDriveChartData &drives);

    bool operator==(const DriveSummary &) const = default;
};
