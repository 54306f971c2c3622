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

    // Reads the values from the game document. A clock that is not five
    // characters long reads as 00:00; fields of the down-and-distance context
    // that the file does not give keep their previous values.
    void Read(const CGameDocument &document);
};
