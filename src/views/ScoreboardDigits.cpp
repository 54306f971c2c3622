#include "views/ScoreboardDigits.h"

#include <algorithm>

ScoreboardState ScoreboardForDrawing(const ScoreboardState &state)
{
    const auto fit = [](int value, int largest) { return std::clamp(value, 0, largest); };
    ScoreboardState drawn = state;
    drawn.homeScore = fit(state.homeScore, 999);
    drawn.visitorScore = fit(state.visitorScore, 999);
    drawn.minutes = fit(state.minutes, 99);
    drawn.seconds = fit(state.seconds, 99);
    drawn.down = fit(state.down, 9);
    drawn.toGo = fit(state.toGo, 99);
    drawn.ballOn = fit(state.ballOn, 99);
    drawn.quarter = fit(state.quarter, 9);
    return drawn;
}
