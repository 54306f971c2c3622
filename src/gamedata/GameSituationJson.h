#pragma once

#include "GameSituation.h"

#include <string>

// The situation as the member "situation": {...} of a JSON object, on one
// line, with the keys of GameSituation; unknown values are null.
std::string GameSituationJsonMember(const GameSituation &situation);
