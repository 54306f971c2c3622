#pragma once

#include "TeamColorChoice.h"
#include "gamedata/DriveFilter.h"

#include <QSize>
#include <optional>

// What a view of the game is asked to show, the same for the window, the
// export and the live service: which drives the drive chart lists (the
// filters), whether the time of possession shows, the width of the
// play-by-play "Play" column, the client size the tables are fitted to and
// the teams' colours.
struct ViewOptions {
    DriveFilter drives;
    bool showTop = true;                // the Show Time of Possession setting
    std::optional<int> playColumnWidth; // in pixels; none: the width the window starts with
    QSize client = QSize(1024, 720);    // the main window's client area
    TeamColorChoice colors;             // --home-color, --visitor-color or the settings file's

    friend bool operator==(const ViewOptions &, const ViewOptions &) = default;
};
