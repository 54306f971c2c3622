#include "PlayRecords.h"

#include "TextNumbers.h"
#include "XmlDocumentAccess.h"

#include <algorithm>

using TextNumbers::LeadingInt;

namespace
{

// Fields longer than this are not a football field; they would only make
// every yard count absurd.
constexpr int longestField = 1000;

// The number at the very start of a text, as "%d" would read it; none when
// the text does not start with one.
std::optional<int> firstNumber(std::string_view text)
{
    std::string_view rest = text;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-'))
        rest.remove_prefix(1);
    if (rest.empty() || rest.front() < '0' || rest.front() > '9')
        return std::nullopt;
    return LeadingInt(text);
}

} // namespace

int FieldLengthOf(const CXmlDocument &document)
{
    if (const std::optional<std::string> field = document.FindText("/fbgame/venue/rules/@field")) {
        const int length = LeadingInt(*field);
        if (length > 0 && length <= longestField)
            return length;
    }
    return 100;
}

GamePlays ReadGamePlays(const CXmlDocument &document)
{
    GamePlays game;
    game.fieldLength = FieldLengthOf(document);
    const auto nodes = document.SelectNodes("/fbgame/plays/qtr/play");
    if (!nodes)
        return game;
    game.plays.reserve(nodes->size());
    pugi::xml_node quarterNode;
    std::string quarterNumber;
    for (const CXmlNode handle : *nodes) {
        const pugi::xml_node node = XmlDocumentAccess::NodeOf(handle);
        if (node.parent() != quarterNode) {
            quarterNode = node.parent();
            quarterNumber = quarterNode.attribute("number").value();
        }
        PlayRecord play;
        if (const pugi::xml_attribute playId = node.attribute("playid"))
            play.drive = firstNumber(playId.value());
        play.quarter = quarterNumber;
        play.context = PlayContext::Parse(node.attribute("context").value());
        play.type = node.attribute("type").value();
        play.text = node.attribute("text").value();
        play.clock = node.attribute("clock").value();
        if (const pugi::xml_attribute yds = node.attribute("yds"))
            play.yds = yds.value();
        game.plays.push_back(std::move(play));
    }
    return game;
}

std::optional<int> OffenseSpot(const PlayContext &context, int fieldLength)
{
    if (context.fieldsRead < 5 || (context.offense != 'H' && context.offense != 'V') ||
        (context.side != 'H' && context.side != 'V'))
        return std::nullopt;
    const int yard = std::clamp(context.yard, 0, fieldLength);
    return context.side == context.offense ? yard : fieldLength - yard;
}
