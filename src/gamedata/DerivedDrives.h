#pragma once

#include "PlayRecords.h"
#include "PlayYards.h"

#include <array>
#include <span>
#include <string>
#include <vector>

class CGameDocument;

// How, when and where a drive started or ended: the four fields of a drive
// record's "start" or "end". The spot counts yards from the driving team's
// own goal line.
struct DriveMarkFields {
    std::string how; // KO, PUNT, TD, HALF...; empty for the end of a drive still going on
    std::string quarter;
    std::string time;
    std::string spot;
};

// One drive as a "drives/drive" record gives it.
struct DriveRecordFields {
    int driveIndex = 0;
    std::string vh; // "H" or "V"
    std::string plays;
    std::string yards;
    std::string top; // time of possession "MM:SS"; empty when a clock is missing
    DriveMarkFields start;
    DriveMarkFields end;
};

// The drives a game file has no records of, worked out from its plays.
struct GameDrives {
    std::vector<DriveRecordFields> drives;
    bool derived = false; // true when `drives` came from the plays
};

// What the plays alone do not tell about the game they belong to.
struct DriveGame {
    int quarters = 4;                   // the rules' quarters; later periods are overtime
    bool gameOver = false;              // the last drive ended with the game, not still going on
    std::array<std::string, 2> teamIds; // home and visitor "id", as play texts name the teams
};

// The drives of a game worked out from its plays, as the stat crew records
// them. The plays are grouped by the drive number of their "playid"; a group
// with no play of its own (only a kickoff, say) is no drive, and its plays
// open the next one. A drive belongs to the team snapping in it; it starts
// where that team first has the ball (a kick returned for a touchdown: the
// field length less the return) and ends where its last snap left the ball,
// at the goal line for a touchdown and at its own for a safety, or where a
// kick or an intercepted pass was snapped. Start how: KO after a kickoff,
// else the previous drive's PUNT, INT, FUMB, DOWNS or FGA, else POSS (an
// overtime possession too). End how: TD, FG, FGA, PUNT, INT, FUMB, SAF;
// DOWNS after a fourth down, HALF when the next drive starts in a later half
// or the game is over, else POSS; empty for the drive under way. Start time
// is its first play's clock, end time the next drive's start ("00:00" when
// the quarter ended first), the time of possession the time between. Plays
// are its rushes and passes, yards from start spot to end spot.
std::vector<DriveRecordFields> DeriveDrives(const GamePlays &game, std::span<const PlayYards> yards,
                                            const DriveGame &facts = {});

// When the game file has plays but no drive records, its drives worked out
// from the plays, marked derived; otherwise nothing (the file's own records
// stand).
GameDrives DrivesWithoutRecords(const CGameDocument &document);

// The facts DeriveDrives needs from an open game file besides its plays.
DriveGame DriveGameOf(const CGameDocument &document);
