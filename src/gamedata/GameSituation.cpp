#include "GameSituation.h"

#include "CGameDocument.h"
#include "CTeamStats.h"
#include "PlayContext.h"
#include "PlayRecords.h"
#include "ScoreboardState.h"
#include "TextNumbers.h"
#include "XmlDocumentAccess.h"

#include <algorithm>
#include <cctype>

using TextNumbers::LeadingInt;

namespace
{

// A file may number its periods as it likes; a line score longer than this
// is not a game, and would only cost memory.
constexpr int mostPeriods = 40;

std::string ordinal(int number)
{
    const int lastTwo = number % 100;
    const char *suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        switch (number % 10) {
        case 1:
            suffix = "st";
            break;
        case 2:
            suffix = "nd";
            break;
        case 3:
            suffix = "rd";
            break;
        default:
            break;
        }
    }
    return std::to_string(number) + suffix;
}

// "OT" for the first period past the rules' quarters, then "2OT", "3OT"...
std::string overtimeLabel(int overtime)
{
    return overtime == 1 ? "OT" : std::to_string(overtime) + "OT";
}

// A count the file writes as a plain non-negative number; none otherwise.
std::optional<int> countIn(const pugi::xml_attribute &attribute)
{
    const std::string_view text = attribute.value();
    const auto digit = text.find_first_not_of(' ');
    if (!attribute || digit == std::string_view::npos ||
        !std::isdigit(static_cast<unsigned char>(text[digit])))
        return std::nullopt;
    return LeadingInt(text);
}

// Timeouts a team has left, as the file counts them, but never more than a
// team can have: three a half. Whatever reads the situation (a score bug
// drawing one mark per timeout) can rely on that.
std::optional<int> timeoutsIn(const pugi::xml_attribute &attribute)
{
    constexpr int mostTimeouts = 3;
    const std::optional<int> count = countIn(attribute);
    return count ? std::optional(std::min(*count, mostTimeouts)) : std::nullopt;
}

// Points per period of one team's "linescore": its "lineprd" elements where
// it has any (each at its "prd", else at its place), else its "line".
std::vector<int> periodPoints(const pugi::xml_node &lineScore)
{
    std::vector<int> points;
    auto put = [&](int period, int score) {
        if (period < 1 || period > mostPeriods)
            return;
        if (static_cast<int>(points.size()) < period)
            points.resize(period, 0);
        points[period - 1] = score;
    };
    int place = 0;
    for (const pugi::xml_node period : lineScore.children("lineprd")) {
        ++place;
        const pugi::xml_attribute number = period.attribute("prd");
        put(number ? LeadingInt(number.value()) : place,
            LeadingInt(period.attribute("score").value()));
    }
    if (place > 0)
        return points;
    std::string_view line = lineScore.attribute("line").value();
    place = 0;
    while (!line.empty() && place < mostPeriods) {
        const auto comma = line.find(',');
        put(++place, LeadingInt(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        line.remove_prefix(comma + 1);
    }
    return points;
}

pugi::xml_node teamLineScore(const pugi::xml_node &game, char side)
{
    const char vh[2] = {side, '\0'};
    return game.find_child_by_attribute("team", "vh", vh).child("linescore");
}

// The text of the last "plays/qtr/play" element of `game` that has one,
// found walking back from the end instead of building the node set.
std::string lastPlayText(const pugi::xml_node &game)
{
    const auto named = [](const pugi::xml_node &node, std::string_view name) {
        return node.type() == pugi::node_element && std::string_view(node.name()) == name;
    };
    for (pugi::xml_node plays = game.last_child(); plays; plays = plays.previous_sibling()) {
        if (!named(plays, "plays"))
            continue;
        for (pugi::xml_node quarter = plays.last_child(); quarter;
             quarter = quarter.previous_sibling()) {
            if (!named(quarter, "qtr"))
                continue;
            for (pugi::xml_node play = quarter.last_child(); play; play = play.previous_sibling()) {
                const char *text = play.attribute("text").value();
                if (named(play, "play") && *text != '\0')
                    return text;
            }
        }
    }
    return {};
}

} // namespace

std::string GameSituation::PeriodLabel(int period, int quarters, bool final)
{
    if (final)
        return period > quarters ? "Final/" + overtimeLabel(period - quarters) : "Final";
    if (period < 1)
        return {};
    return period <= quarters ? ordinal(period) : overtimeLabel(period - quarters);
}

std::string GameSituation::PeriodHeading(int period, int quarters)
{
    return period <= quarters ? std::to_string(period) : overtimeLabel(period - quarters);
}

std::string GameSituation::DownDistance(const PlayContext &context, int fieldLength)
{
    const std::optional<int> spot = OffenseSpot(context, fieldLength);
    if (context.fieldsRead < 3 || context.down <= 0)
        return {};
    const bool goal = spot && context.toGo >= fieldLength - *spot;
    return ordinal(context.down) + " & " +
           (goal ? std::string("Goal") : std::to_string(context.toGo));
}

std::string GameSituation::BallOn(const PlayContext &context, int fieldLength,
                                  std::span<const CTeamStats, 2> teams)
{
    if (!OffenseSpot(context, fieldLength))
        return {};
    const int yard = std::clamp(context.yard, 0, fieldLength);
    if (yard * 2 == fieldLength)
        return "50";
    // A yard line past midfield is on the other team's half.
    const bool ownHalf = yard * 2 < fieldLength;
    const char half = ownHalf ? context.side : (context.side == 'H' ? 'V' : 'H');
    return teams[half == 'H' ? 0 : 1].GetTeamValue("Short Name") +
           std::to_string(ownHalf ? yard : fieldLength - yard);
}

GameSituation GameSituation::Read(const CGameDocument &document,
                                  std::span<const CTeamStats, 2> teams,
                                  const ScoreboardState &scoreboard)
{
    GameSituation situation;
    const int quarters =
        scoreboard.quarters >= 1 && scoreboard.quarters <= mostPeriods ? scoreboard.quarters : 4;
    situation.period = scoreboard.quarter;
    situation.period_label = PeriodLabel(scoreboard.quarter, quarters, scoreboard.final != 0);
    situation.final = scoreboard.final != 0;

    const pugi::xml_node game = XmlDocumentAccess::NodeOf(document.SelectSingleNode("/fbgame"));
    LineScore &line = situation.line_score;
    line.home = periodPoints(teamLineScore(game, 'H'));
    line.visitor = periodPoints(teamLineScore(game, 'V'));
    const std::size_t periods =
        std::max({line.home.size(), line.visitor.size(), static_cast<std::size_t>(quarters)});
    line.home.resize(periods, 0);
    line.visitor.resize(periods, 0);
    for (std::size_t i = 0; i < periods; ++i)
        line.periods.push_back(PeriodHeading(static_cast<int>(i) + 1, quarters));
    line.home_total = scoreboard.homeScore;
    line.visitor_total = scoreboard.visitorScore;

    const pugi::xml_node downToGo = game.child("plays").child("downtogo");
    situation.timeouts_left.home = timeoutsIn(downToGo.attribute("htoh"));
    situation.timeouts_left.visitor = timeoutsIn(downToGo.attribute("vtoh"));

    const PlayContext context = PlayContext::Parse(downToGo.attribute("context").value());
    if (context.fieldsRead >= 1 && context.offense == 'H')
        situation.possession = "home";
    else if (context.fieldsRead >= 1 && context.offense == 'V')
        situation.possession = "visitor";

    const int field = FieldLengthOf(document);
    situation.down_distance = DownDistance(context, field);
    situation.ball_on = BallOn(context, field, teams);

    situation.last_play = lastPlayText(game);
    return situation;
}
