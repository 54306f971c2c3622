#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pylonix::feed
{

using Attributes = std::vector<std::pair<std::string, std::string>>;

// One child of a quarter in the play-by-play: play, drivestart, drivesum,
// comment, score or endqtr, with its attributes in writing order.
struct LogElement {
    std::string name;
    int quarter = 1;
    Attributes attributes;
    bool isPlay() const { return name == "play"; }
    // Value of an attribute, or the empty text.
    const std::string &attribute(std::string_view key) const
    {
        static const std::string none;
        for (const auto &[name, value] : attributes) {
            if (name == key)
                return value;
        }
        return none;
    }
};

// How and where a drive started or ended; spot counts from the driving team's goal line.
struct DriveMark {
    std::string how;
    int quarter = 1;
    std::string clock;
    int spot = 0;
};

// A finished drive.
struct DriveRecord {
    int index = 0;
    char side = 'H';
    int plays = 0;
    int yards = 0;
    std::string top;
    DriveMark start;
    DriveMark end;
};

// One scoring play; the try fields are filled once the try has been run.
struct ScoreRecord {
    std::string type; // "TD", "FG", "SAF"
    std::string how;  // for touchdowns: "RUSH", "PASS", "INT", "KO", "PUNT", "FUMB"
    char side = 'H';
    int quarter = 1;
    std::string clock;
    std::string scorer;
    std::string passer;
    int yards = 0;
    std::string patType;
    std::string patBy;
    std::string patResult;
    int driveYards = 0;
    int driveIndex = 0;
    int drivePlays = 0;
    std::string driveTop;
    int visitorScore = 0;
    int homeScore = 0;
};

// Game details shown on the overview page.
struct Venue {
    std::string location;
    std::string stadium;
    std::string start;
    std::string end;
    std::string duration;
    std::string date;
    std::string attendance;
    // Officials in the order ref, ump, line, lj, bj, fj, sj, sc.
    std::vector<std::pair<std::string, std::string>> officials;
};

// The situation the next play starts from.
struct DownToGo {
    int quarter = 1;
    std::string clock = "15:00";
    std::string context;
};

} // namespace pylonix::feed
