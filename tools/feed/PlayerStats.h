#pragma once

namespace pylonix::feed
{

// Counts, yards and longest gain of one kind of return.
struct ReturnStats {
    int no = 0;
    int yds = 0;
    int td = 0;
    int longest = 0;

    // Records one return of the given yards.
    void record(int yards, bool touchdown);
    void add(const ReturnStats &other);
};

// One player's statistics, kept as the game file names them. Team totals are
// sums of these, so every credit goes to a player (the TEAM player included).
struct PlayerStats {
    // Passing; a sack counts as a rushing attempt of the passer.
    int passComp = 0, passAtt = 0, passInt = 0, passYds = 0, passTd = 0, passLong = 0;
    int passSacks = 0;
    // Rushing; gain and loss are kept for the team's gain-loss line.
    int rushAtt = 0, rushYds = 0, rushTd = 0, rushLong = 0, rushGain = 0, rushLoss = 0;
    // Receiving.
    int rcvNo = 0, rcvYds = 0, rcvTd = 0, rcvLong = 0;
    // Defense.
    int tackUa = 0, tackA = 0, tflUa = 0, tflA = 0, tflYds = 0;
    int sackUa = 0, sackA = 0, sackYds = 0;
    int defInt = 0, defIntYds = 0, brup = 0, defBlkd = 0, ff = 0, defFr = 0;
    // Field goals and tries by kick.
    int fgMade = 0, fgAtt = 0, fgLong = 0, fgBlkd = 0;
    int patKickAtt = 0, patKickMade = 0;
    // Punting and kickoffs.
    int puntNo = 0, puntYds = 0, puntLong = 0, puntBlkd = 0, puntTb = 0, puntPlus50 = 0;
    int puntInside20 = 0;
    int koNo = 0, koYds = 0, koTb = 0;
    // Returns.
    ReturnStats kr, pr, ir, fr;
    // Ball lost by this player.
    int fumbles = 0, fumblesLost = 0;

    // Adds another line (longest values take the larger one).
    void add(const PlayerStats &other);

    void recordRush(int yards, bool touchdown);
    void recordReception(int yards, bool touchdown);
    void recordCompletion(int yards, bool touchdown);

    // Whether the player has earned the category's element.
    bool hasPass() const { return passAtt > 0 || passSacks > 0; }
    bool hasRush() const { return rushAtt > 0; }
    bool hasReceiving() const { return rcvNo > 0; }
    bool hasDefense() const;
    bool hasFieldGoals() const { return fgAtt > 0; }
    bool hasPat() const { return patKickAtt > 0; }
    bool hasPunts() const { return puntNo > 0; }
    bool hasKickoffs() const { return koNo > 0; }
    bool hasFumbles() const { return fumbles > 0; }
};

} // namespace pylonix::feed
