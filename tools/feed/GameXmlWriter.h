#pragma once

#include "GameState.h"
#include "TextEncoding.h"
#include "XmlWriter.h"

#include <string>

namespace pylonix::feed
{

// What a game file holds beyond the play-by-play.
enum class FileShape {
    Full, // yards on every play, drive records, timeouts per team
    // As stats-entry programs at games write it: no yards on the plays, no
    // drive records, the timeouts left on the down-and-distance line.
    Real,
};

// Renders a game state as a complete fbgame document.
class GameXmlWriter
{
public:
    // The document as file bytes in the given encoding and shape.
    static std::string write(const GameState &state, Encoding encoding = Encoding::Utf8,
                             FileShape shape = FileShape::Full);

private:
    static void writeVenue(XmlWriter &xml, const GameState &state);
    static void writeTeam(XmlWriter &xml, const GameState &state, const Team &team);
    static void writeScores(XmlWriter &xml, const GameState &state);
    static void writeDrives(XmlWriter &xml, const GameState &state);
    static void writePlays(XmlWriter &xml, const GameState &state, FileShape shape);
};

} // namespace pylonix::feed
