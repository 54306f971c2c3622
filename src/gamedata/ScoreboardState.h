#pragma once

class CGameDocument;

// What the scoreboard shows: score, clock, possession, down and distance,
// ball position, quarter and whether the game is final. Zero before the first
// load, except that the home team has the ball.
struct ScoreboardState {
    int homeScore = 0;
    int visitorScore = 0;
    int minutes = 0;
    int seconds = 0;
    int homeHasBall = 1;
    int down = 0;
    int toGo = 0;
    int ballOn = 0;
    int quarter = 0;
    int quarters = 0;
    int final = 0;

    // True when the game is over: the file marks it final (a score line's
    // final="Y"), or the venue gives both the game's end time and its length.
    // Files that leave the mark out record the end and the length once the
    // game is over; a game in progress writes them empty.
    static bool IsFinal(const CGameDocument &document);

    // Reads the values from the game document. A clock that is not five
    // characters long reads as 00:00; fields of the down-and-distance context
    // that the file does not give keep their previous values.
    void Read(const CGameDocument &document);

    bool operator==(const ScoreboardState &) const = default;
};
