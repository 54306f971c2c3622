#pragma once

#include "PlayContext.h"

#include <optional>
#include <string>
#include <vector>

class CXmlDocument;

// What the derivations need of one "play" element of the play-by-play.
struct PlayRecord {
    std::optional<int> drive; // first number of "playid"; none when it has none
    std::string quarter;      // "number" of the enclosing quarter element
    PlayContext context;      // "context"; fieldsRead tells how much the file gave
    std::string type;
    std::string text;
    std::string clock;
    std::string first; // "first": "R", "P" or "E" for a first down by rush, pass or penalty
    std::optional<std::string> yds; // the file's own yards, when it has them
};

// The plays of a game file in file order, with the length of its field.
struct GamePlays {
    std::vector<PlayRecord> plays;
    // The file's "rules/@field"; 100 when it gives none or an unusable one.
    int fieldLength = 100;
};

// The length of the field between the goal lines: the file's
// "/fbgame/venue/rules/@field", or 100 when it gives none or an unusable one.
int FieldLengthOf(const CXmlDocument &document);

// Reads every "/fbgame/plays/qtr/play" element of an open game file.
GamePlays ReadGamePlays(const CXmlDocument &document);

// The offense's distance from its own goal line, when the context gives the
// offense, the side of the field and the yard line; none otherwise.
std::optional<int> OffenseSpot(const PlayContext &context, int fieldLength);
