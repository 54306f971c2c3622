#pragma once

#include <optional>

// Which entries the drive chart list holds: in drives mode the drives of both
// sides, narrowed by quarter, team and scoring; in plays mode the plays of
// one drive.
struct DriveFilter {
    int quarter = 0;          // 0 whole game, k >= 1 quarter k only
    bool homeOnly = false;    // only home drives (ignored together with visitorOnly)
    bool visitorOnly = false; // only visitor drives
    bool scoringOnly = false; // only drives that produced a score
    // Plays mode: the plays of this drive. None, or a negative index, is drives mode.
    std::optional<int> playsOfDrive;

    bool playsMode() const { return playsOfDrive && *playsOfDrive >= 0; }

    friend bool operator==(const DriveFilter &, const DriveFilter &) = default;
};
