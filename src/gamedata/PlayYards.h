#pragma once

#include "PlayRecords.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The yards of one play: the file's own "yds" when it has them, else what the
// play's text or the next spot tells for a rush or a pass.
struct PlayYards {
    std::optional<int> yards; // none when nothing tells them
    bool derived = false;     // true when the file gave no "yds" and they were worked out

    // The yards as shown: the number, or the empty text when unknown.
    std::string Text() const;
};

// True for a rush or a pass: type "R" or "P", or a play of no such type whose
// text tells of a rush, a pass, a sack or a scramble (a penalty or a try after
// a touchdown does not count).
bool IsRushOrPass(std::string_view type, std::string_view text);

// The yards a play's text gives: "for 7 yards", "for loss of 3 yards", "for no
// gain", "incomplete" and "intercepted" (0), whichever comes first; none when it says none of
// these. Numbers beyond `fieldLength` are brought back to it.
std::optional<int> YardsFromPlayText(std::string_view text, int fieldLength);

// The yards of every play of `game`, in the same order. Where a play has no
// "yds", a rush or a pass takes them from its text, else from its spot to the
// spot of the next play when that play belongs to the same drive and the same
// team has the ball. Gains never reach past either goal line.
std::vector<PlayYards> DerivePlayYards(const GamePlays &game);
