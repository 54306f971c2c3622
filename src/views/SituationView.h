#pragma once

#include "views/StatTable.h"

#include <QString>
#include <QStringList>
#include <span>
#include <vector>

struct GameSituation;
class CTeamStats;

// The game at a glance as the window shows it: the line score as rows of
// texts, the situation lines of the Game Overview page and the one line of
// the strip that every page shows.
struct SituationView {
    // The heading row ("", "1", "2", "3", "4", "OT"..., "T"), then the home
    // and the visitor row (short name, points per period, total).
    std::vector<QStringList> lineScore;
    // One line each: period, down and distance, ball on, timeouts left, last play.
    QString lines;
    // The same in one line, after the score: "HB 14  AM 7 | 3rd | 3rd & 7 | ...".
    QString strip;

    // The view of `situation`; `teams` are the game's home and visitor team.
    static SituationView Build(const GameSituation &situation,
                               std::span<const CTeamStats, 2> teams);

    // The line score's columns at their own widths: the names, then each period and the total.
    static constexpr int kLineScoreNameWidth = 48;
    static constexpr int kLineScorePeriodWidth = 24;
    // The line score `rows` as a table to fit (FitColumns): one column per
    // text of the heading row, names left and points centred, the heading row bold.
    static StatTable LineScoreTable(const std::vector<QStringList> &rows);

    bool operator==(const SituationView &) const = default;
};
