#pragma once

#include "platform/CRect.h"
#include "platform/Colors.h"

#include <string>

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
    std::string top;               // drives: time of possession; plays: down and distance "%d-%d"
    CRect hitRect{-1, -1, -1, -1}; // where the view drew it; all -1 when not on screen
    COLORREF fillColor = RGB(255, 255, 255);
    COLORREF outlineColor = RGB(0, 0, 0);
};
