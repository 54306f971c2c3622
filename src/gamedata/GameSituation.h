#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

class CGameDocument;
class CTeamStats;
struct PlayContext;
struct ScoreboardState;

// The game at a glance: period, line score, timeouts, possession, down and
// distance, ball position and the last play, as plain values.
struct GameSituation {
    // Points per period, home first as everywhere.
    struct LineScore {
        std::vector<std::string> periods; // "1", "2", "3", "4", "OT", "2OT"...
        std::vector<int> home;            // one entry per period
        std::vector<int> visitor;
        int home_total = 0; // the team's "linescore/@score"
        int visitor_total = 0;
    };
    // Timeouts each team has left; none where the file does not say.
    struct TimeoutsLeft {
        std::optional<int> home;
        std::optional<int> visitor;
    };

    int period = 0;           // the current quarter, 0 when the file gives none
    std::string period_label; // "1st"... "4th", "OT", "2OT"; "Final", "Final/OT" once final
    LineScore line_score;
    TimeoutsLeft timeouts_left;
    std::optional<std::string> possession; // "home" or "visitor"; none when unknown
    std::string down_distance;             // "3rd & 7", "1st & Goal"; empty without a down
    std::string ball_on;                   // "OM35", "50" at midfield; empty when unknown
    std::string last_play;                 // text of the file's last play that has one
    // The game is over: its down, distance and ball position are the last
    // play's, not a current situation. Told in the scoreboard, not written
    // with the situation.
    bool final = false;

    // The situation of an open game file. `teams` are the loaded home and
    // visitor teams (for their short names); `scoreboard` was read from the
    // same document (period, rules' quarters, totals and the final mark).
    static GameSituation Read(const CGameDocument &document, std::span<const CTeamStats, 2> teams,
                              const ScoreboardState &scoreboard);

    // "1st", "2nd", "3rd", "4th"... within the rules' quarters, then "OT",
    // "2OT"...; "Final" or "Final/OT", "Final/2OT" once the game is final;
    // empty for a period below 1 in a game not yet final.
    static std::string PeriodLabel(int period, int quarters, bool final);

    // A play's or the current down and distance: "3rd & 7", "1st & Goal";
    // empty without a down.
    static std::string DownDistance(const PlayContext &context, int fieldLength);
    // Where the ball is: "OM35", "50" at midfield, by the short name of the
    // half's team (`teams` home first); empty when the context does not say.
    static std::string BallOn(const PlayContext &context, int fieldLength,
                              std::span<const CTeamStats, 2> teams);

    // The line score's heading of period `period` (from 1): "1"... within the
    // rules' quarters, then "OT", "2OT"...
    static std::string PeriodHeading(int period, int quarters);
};
