#pragma once

#include <QString>
#include <vector>

class GameSession;

// One play of the game as values, for pages that lay the play-by-play out
// themselves: the texts are whole, never wrapped to a column.
struct PlayLine {
    QString quarter;      // the enclosing quarter's "number"
    QString clock;        // as the file gives it; empty on most plays
    int team = -1;        // the offense: 0 home, 1 visitor, -1 not told
    int drive = 0;        // the drive number of "playid"; 0 when it has none
    QString downDistance; // "3rd & 7", "1st & Goal"; empty without a down
    QString spot;         // where the play started: "OM35", "50"; empty when unknown
    QString text;
    QString yards; // as the play-by-play shows them; empty when nothing tells them
    // The play-by-play's code: "r" rush, "p" pass, a capital ("R", "P", "X")
    // for a first down by rush, by pass or otherwise; empty for other plays.
    QString code;

    // Every play of `session`'s game, in file order.
    static std::vector<PlayLine> Build(const GameSession &session);

    bool operator==(const PlayLine &) const = default;
};
