#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace pylonix::feed::testing
{

// Every document the tool writes for a game: the state before the first play
// and after each play, in order.
std::vector<std::string> renderAllStates(std::uint64_t seed, int scale = 1);

// Parses a UTF-8 document; fails the current test when it is not well-formed.
bool parse(pugi::xml_document &document, const std::string &text);

// What a reader relies on in a written game state; each broken rule is one
// line of the result (empty when the state is consistent).
std::vector<std::string> checkGameState(const pugi::xml_document &document, bool expectFinal);

// Value patterns of every attribute a reader parses (context, spot, clock,
// playid, driveindex, drive start and end).
std::vector<std::string> checkValuePatterns(const pugi::xml_document &document);

// Points a score element is worth (touchdown with its try, field goal, safety).
int scorePoints(const pugi::xml_node &score);

} // namespace pylonix::feed::testing
