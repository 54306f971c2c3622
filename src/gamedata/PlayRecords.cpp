#include "PlayRecords.h"

#include "TextNumbers.h"
#include "XmlDocumentAccess.h"

#include <algorithm>
#include <utility>

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

// Calls visit(play, quarter number) for each "plays/qtr/play" element of
// `game`, in document order.
template <typename Visit> void forEachPlay(const pugi::xml_node &game, Visit visit)
{
    for (const pugi::xml_node plays : game.children("plays")) {
        if (plays.type() != pugi::node_element)
            continue;
        for (const pugi::xml_node quarter : plays.children("qtr")) {
            if (quarter.type() != pugi::node_element)
                continue;
            const char *quarterNumber = quarter.attribute("number").value();
            for (const pugi::xml_node play : quarter.children("play")) {
                if (play.type() == pugi::node_element)
                    visit(play, quarterNumber);
            }
        }
    }
}

// Fills `play` from the attributes of its element in one pass over them; as
// when looking each one up, the first of a name counts.
void readPlayAttributes(const pugi::xml_node &node, PlayRecord &play)
{
    bool seen[6] = {}; // playid, context, type, text, clock, first
    auto first = [&seen](int which) { return !std::exchange(seen[which], true); };
    for (const pugi::xml_attribute attribute : node.attributes()) {
        const std::string_view name = attribute.name();
        const char *value = attribute.value();
        if (name == "playid" && first(0))
            play.drive = firstNumber(value);
        else if (name == "context" && first(1))
            play.context = PlayContext::Parse(value);
        else if (name == "type" && first(2))
            play.type = value;
        else if (name == "text" && first(3))
            play.text = value;
        else if (name == "clock" && first(4))
            play.clock = value;
        else if (name == "first" && first(5))
            play.first = value;
        else if (name == "yds" && !play.yds)
            play.yds = value;
    }
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
    // Walking the children meets the elements "/fbgame/plays/qtr/play"
    // selects in the same (document) order, without building a node set.
    const pugi::xml_node root = XmlDocumentAccess::NodeOf(document.SelectSingleNode("/fbgame"));
    std::size_t count = 0;
    forEachPlay(root, [&count](const pugi::xml_node &, const char *) { ++count; });
    game.plays.reserve(count);
    forEachPlay(root, [&game](const pugi::xml_node &node, const char *quarterNumber) {
        PlayRecord &play = game.plays.emplace_back();
        play.quarter = quarterNumber;
        readPlayAttributes(node, play);
    });
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
