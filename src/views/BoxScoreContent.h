#pragma once

#include "StatTable.h"

#include <QString>
#include <array>
#include <utility>
#include <vector>

class GameSession;
class TextWrapper;
struct GameSituation;
struct ScoreboardState;

// One titled table of the box score; its columns and rows are those the
// window and the export show, less the columns that draw nothing (zero-wide,
// or the player tables' uncaptioned separators).
struct BoxScoreTable {
    QString title;
    StatTable table;

    bool operator==(const BoxScoreTable &) const = default;
};

// One team's individual statistics: its name and the player tables that
// list anyone, in box-score order (rushing, passing, receiving, punting,
// returns, field goals and kickoffs, defense).
struct BoxScoreTeam {
    QString name;
    std::vector<BoxScoreTable> tables;

    bool operator==(const BoxScoreTeam &) const = default;
};

// The printed box score of a game as values: the heading, the line score,
// the scoring summary, the team statistics side by side, each team's
// individual tables and the drive summary. Home first, as everywhere.
struct BoxScoreContent {
    QString title;  // "VISITOR at HOME", the teams' names
    QString status; // "Final", "Final/OT", "Halftime", "End of 3rd", "In progress"
    // Where and when as the file gives them ("Date", "10/17/2026"); only
    // the facts the file gives.
    std::vector<std::pair<QString, QString>> facts;
    BoxScoreTable lineScore; // team names, points per period, total
    BoxScoreTable scoring;
    BoxScoreTable teamStats;
    std::array<BoxScoreTeam, 2> teams;
    BoxScoreTable drives;

    // The box score of the game `session` holds; the tables are built as the
    // window builds them (the time of possession shown with `showTop`),
    // their texts measured by `wrapper` in the window's font.
    static BoxScoreContent Build(const GameSession &session, bool showTop,
                                 const TextWrapper &wrapper);

    // The heading's word for where the game stands: the situation's label
    // once final; "Halftime" or "End of 1st"... when a period has ended and
    // the next has not begun (the clock at 0:00, or the file's plays still in
    // an earlier period, `lastPlayedPeriod`); otherwise "In progress".
    static QString Status(const GameSituation &situation, const ScoreboardState &scoreboard,
                          int lastPlayedPeriod);

    bool operator==(const BoxScoreContent &) const = default;
};
