#pragma once

#include "gamedata/ScoreboardState.h"

// The scoreboard values as the digit cells can show them: a value below 0 is
// drawn as 0 and a value beyond its cells as the largest they hold (scores
// 999; clock minutes and seconds, yards to go and ball-on line 99; down and
// quarter 9), so drawing never reads outside the digit strips. Flags pass
// unchanged.
ScoreboardState ScoreboardForDrawing(const ScoreboardState &state);
