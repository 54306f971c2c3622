#pragma once

#include "GameState.h"
#include "TextEncoding.h"
#include "XmlWriter.h"

#include <string>

namespace pylonix::feed
{

// Renders a game state as a complete fbgame document.
class GameXmlWriter
{
public:
    // The document as file bytes in the given encoding.
    static std::string write(const GameState &state, Encoding encoding = Encoding::Utf8);

private:
    static void writeVenue(XmlWriter &xml, const GameState &state);
    static void writeTeam(XmlWriter &xml, const GameState &state, const Team &team);
    static void writeScores(XmlWriter &xml, const GameState &state);
    static void writeDrives(XmlWriter &xml, const GameState &state);
    static void writePlays(XmlWriter &xml, const GameState &state);
};

} // namespace pylonix::feed
