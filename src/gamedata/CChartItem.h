#pragma once

#include <cstdint>
#include <string>

// A colour as 0x00bbggrr, the layout of the classic RGB() value.
using ChartColor = std::uint32_t;
constexpr ChartColor ChartRgb(int r, int g, int b)
{
    return static_cast<ChartColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Where the drive chart drew an entry, right and bottom exclusive;
// all -1 when the entry is not on screen.
struct ChartRect {
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;
    bool operator==(const ChartRect &) const = default;
};

// One entry of the drive chart list: a drive, or one play of a drive.
// Positions are yards from the home team's goal line.
struct CChartItem {
    int team = 0;       // 0 home, 1 visitor
    int lowYard = 0;    // lower of the start and end positions
    int highYard = 0;   // higher of the two
    int driveIndex = 0; // drives only
    int reversed = 0;   // 1 when the end position was below the start position
    int lostGround = 0; // drives: team XOR reversed; plays: 1 when no yards were gained
    std::string startSpot;
    std::string endSpot;
    std::string startTime;
    std::string endTime;
    std::string startHow; // plays: the play's text
    std::string endHow;
    std::string startQtr;
    std::string endQtr;
    std::string plays;
    std::string yards;
    std::string top; // drives: time of possession; plays: down and distance "%d-%d"
    ChartRect hitRect;
    ChartColor fillColor = ChartRgb(255, 255, 255);
    ChartColor outlineColor = ChartRgb(0, 0, 0);
};
