#pragma once

#include "gamedata/ScoreboardState.h"

#include <string>

class GameSession;

// What the main window's header shows.
struct HeaderState {
    ScoreboardState scoreboard; // as the digit cells can show it
    int page = 1;               // current page code 1..64
    bool playsMode = false;
    std::string homeShortName, visitorShortName;

    // The header over `page` for the game of `session`: its scoreboard values
    // fitted to the digit cells and the teams' short names, cut as texts taken
    // from another element are.
    static HeaderState FromSession(const GameSession &session, int page, bool playsMode);

    bool operator==(const HeaderState &) const = default;
};
