#pragma once

#include "PlayRecords.h"
#include "PlayYards.h"

#include <span>
#include <string>
#include <vector>

class CGameDocument;

// How, when and where a drive started or ended: the four fields of a drive
// record's "start" or "end". The spot counts yards from the driving team's
// own goal line.
struct DriveMarkFields {
    std::string how; // left empty where it is worked out from the plays
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
    std::string top; // empty where it is worked out from the plays
    DriveMarkFields start;
    DriveMarkFields end;
};

// The drives a game file has no records of, worked out from its plays.
struct GameDrives {
    std::vector<DriveRecordFields> drives;
    bool derived = false; // true when `drives` came from the plays
};

// One drive per drive number of the plays' "playid", in the order the numbers
// first appear. The team is the one that has the ball in the drive's first
// rush or pass (else in its first play); the start is the spot of its first
// play with that team in possession, the end the spot its last such play
// reached; the quarters come from those plays, the times from the drive's
// first and latest plays that give a clock. Plays are the rushes and passes;
// yards run from the start spot to the end spot.
std::vector<DriveRecordFields> DeriveDrives(const GamePlays &game,
                                            std::span<const PlayYards> yards);

// When the game file has plays but no drive records, its drives worked out
// from the plays, marked derived; otherwise nothing (the file's own records
// stand).
GameDrives DrivesWithoutRecords(const CGameDocument &document);
