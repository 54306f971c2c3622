#include "views/OverviewText.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/TextNumbers.h"

#include <algorithm>
#include <array>
#include <utility>

namespace
{

std::string teamLine(const CTeamStats &team)
{
    const std::string &record = team.GetTeamValue("Record");
    return team.GetTeamValue("Name") + " - Record " +
           (record.empty() || record == " " ? std::string("unavailable") : record);
}

std::string officialsText(const CGameDocument &game)
{
    static constexpr std::array<std::pair<const char *, const char *>, 8> kOfficials{{
        {"ref", "\nReferee: "},
        {"ump", "\nUmpire: "},
        {"line", "\nLinesman: "},
        {"lj", "\nLine judge: "},
        {"bj", "\nBack judge: "},
        {"fj", "\nField judge: "},
        {"sj", "\nSide judge: "},
        {"sc", "\nScorer: "},
    }};
    const CXmlNode officials = game.SelectSingleNode("/fbgame/venue/officials");
    if (!officials)
        return {};
    std::string text = "\n";
    for (const auto &[attribute, caption] : kOfficials) {
        const std::string xpath = std::string("@") + attribute;
        if (game.HasNode(officials, xpath))
            text += caption + game.GetNodeText(officials, xpath, "");
    }
    return text;
}

} // namespace

std::string BuildOverviewText(std::span<const CTeamStats, 2> teams, const CGameDocument &game)
{
    std::string text = teamLine(teams[0]);
    text += "\n";
    text += teamLine(teams[1]);
    text += "\n\nLocation: " + game.GetText("/fbgame/venue/@location");
    text += "\nStadium: " + game.GetText("/fbgame/venue/@stadium");
    text += "\nTime: " + game.GetText("/fbgame/venue/@start") + " to " +
            game.GetText("/fbgame/venue/@end") + " on " + game.GetText("/fbgame/venue/@date") +
            " (length " + game.GetText("/fbgame/venue/@duration") + ")";
    text += "\nAttendance: " + game.GetText("/fbgame/venue/@attend");
    text += officialsText(game);
    return text;
}

std::vector<std::string> BuildPeriodEntries(const CGameDocument &game)
{
    // A damaged rules element must not make the box list millions of entries.
    const int quarters =
        std::clamp(TextNumbers::LeadingInt(game.GetText("/fbgame/venue/rules/@qtrs")), 0, 99);
    int lastPeriod = quarters;
    if (const auto periods = game.SelectNodes("/fbgame/plays/qtr")) {
        for (const CXmlNode &period : *periods)
            lastPeriod = std::max(lastPeriod,
                                  TextNumbers::LeadingInt(game.GetNodeText(period, "@number", "")));
    }
    // Stat files number overtime periods on from the last quarter; a file
    // claiming thousands of periods is not believed beyond a sane limit.
    lastPeriod = std::min(lastPeriod, quarters + 20);

    std::vector<std::string> entries = {"Entire Game"};
    for (int n = 1; n <= quarters; ++n)
        entries.push_back("Quarter " + std::to_string(n));
    for (int n = quarters + 1; n <= lastPeriod; ++n) {
        const int overtime = n - quarters;
        entries.push_back(overtime == 1 ? std::string("Overtime")
                                        : "Overtime " + std::to_string(overtime));
    }
    return entries;
}
