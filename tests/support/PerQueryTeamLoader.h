#pragma once

// A second, independent loader for comparison: it reads a team the plain way,
// one XPath question per value, straight from the tables of the file format.
// Tests load the same files with it and with CTeamStats and expect the same
// labels, values and order.

#include "gamedata/CSeasonStats.h"
#include "gamedata/CXmlDocument.h"

#include <string>
#include <utility>
#include <vector>

namespace PerQueryTeamLoader
{

using Values = std::vector<std::pair<std::string, std::string>>;

struct Team {
    bool complete = false; // the load ran to the end
    Values team;
    std::vector<Values> players;
};

inline Values ValuesOf(const StatValues &values)
{
    Values list;
    values.forEach([&list](std::string_view label, const std::string &value) {
        list.emplace_back(std::string(label), value);
    });
    return list;
}

inline Team Describe(const CTeamStats &stats, bool complete)
{
    Team team{complete, ValuesOf(stats.teamValues()), {}};
    for (int i = 0; i < stats.playerCount(); ++i)
        team.players.push_back(ValuesOf(stats.playerValues(i)));
    return team;
}

inline bool operator==(const Team &a, const Team &b)
{
    return a.complete == b.complete && a.team == b.team && a.players == b.players;
}

namespace Detail
{

struct Category {
    const char *element;
    const char *defaultText;
    std::vector<std::pair<const char *, const char *>> fields; // "@attribute", label
};

inline const std::vector<Category> &Categories()
{
    static const std::vector<Category> table = {
        {"pass",
         "",
         {{"@comp", "Pass Cmp"},
          {"@att", "Pass Att"},
          {"@int", "Pass Int"},
          {"@yds", "Pass Yds"},
          {"@td", "Pass TD"},
          {"@long", "Pass Lng"},
          {"@sacks", "Pass Sck"}}},
        {"rush",
         "",
         {{"@att", "Rush Att"}, {"@yds", "Rush Yds"}, {"@td", "Rush TD"}, {"@long", "Rush Lng"}}},
        {"rcv",
         "",
         {{"@no", "Rcv No"}, {"@yds", "Rcv Yds"}, {"@td", "Rcv TD"}, {"@long", "Rcv Lng"}}},
        {"defense",
         "0",
         {{"@tackua", "Def UTack"},
          {"@tacka", "Def ATack"},
          {"@tflyds", "Def TFL Yds"},
          {"@sackyds", "Def Sck Yds"},
          {"@int", "Def Int"},
          {"@intyds", "Def Int Yds"},
          {"@brup", "Def PBU"},
          {"@blkd", "Def Blk"},
          {"@ff", "Def FF"},
          {"@fr", "Def FR"}}},
        {"fg",
         "0",
         {{"@made", "FG Made"}, {"@att", "FG Att"}, {"@long", "FG Lng"}, {"@blkd", "FG Blkd"}}},
        {"pat", "0", {}},
        {"punt",
         "0",
         {{"@no", "Punt No"},
          {"@yds", "Punt Yds"},
          {"@long", "Punt Lng"},
          {"@blkd", "Punt Blkd"},
          {"@tb", "Punt TB"},
          {"@plus50", "Punt +50"},
          {"@inside20", "Punt In20"}}},
        {"ko", "0", {{"@no", "KO No"}, {"@yds", "KO Yds"}, {"@tb", "KO TB"}}},
        {"kr", "0", {{"@no", "KR No"}, {"@yds", "KR Yds"}, {"@td", "KR TD"}, {"@long", "KR Lng"}}},
        {"pr", "0", {{"@no", "PR No"}, {"@yds", "PR Yds"}, {"@td", "PR TD"}, {"@long", "PR Lng"}}},
        {"ir", "0", {{"@no", "IR No"}, {"@yds", "IR Yds"}, {"@td", "IR TD"}, {"@long", "IR Lng"}}},
        {"fr", "0", {{"@no", "FR No"}, {"@yds", "FR Yds"}, {"@td", "FR TD"}, {"@long", "FR Lng"}}},
    };
    return table;
}

inline std::string Joined(std::initializer_list<std::string> parts)
{
    std::string text;
    bool first = true;
    for (const std::string &part : parts) {
        if (!first)
            text += " - ";
        text += part;
        first = false;
    }
    return text;
}

inline bool Players(const CXmlDocument &document, const std::string &listXPath, bool withShortName,
                    Team &team)
{
    const auto list = document.SelectNodes(listXPath);
    if (!list)
        return false;
    for (const CXmlNode player : *list) {
        Values values;
        auto read = [&](CXmlNode node, const char *xpath, const char *defaultText) {
            return document.GetNodeText(node, xpath, defaultText);
        };
        values.emplace_back("No", read(player, "@uni", ""));
        values.emplace_back("Name", read(player, "@name", ""));
        values.emplace_back("Played", read(player, "@gp", ""));
        if (withShortName)
            values.emplace_back("Short Name", read(player, "@shortname", ""));
        values.emplace_back("Check Name", read(player, "@checkname", ""));
        for (const Category &category : Categories()) {
            const CXmlNode element = document.SelectSingleNode(player, category.element);
            if (!element)
                continue;
            const std::string name = category.element;
            if (name == "defense")
                values.emplace_back("Def Has", "1");
            for (const auto &[attribute, label] : category.fields)
                values.emplace_back(label, read(element, attribute, category.defaultText));
            auto sum = [&](const char *a, const char *b, const char *defaultText) {
                return CTeamStats::CombineValues(CombineKind::Sum, read(element, a, defaultText),
                                                 read(element, b, defaultText));
            };
            auto ratio = [&](const char *a, const char *b) {
                return CTeamStats::CombineValues(CombineKind::Ratio, read(element, a, ""),
                                                 read(element, b, ""));
            };
            if (name == "rush") {
                values.emplace_back("Rush Avg", ratio("@yds", "@att"));
            } else if (name == "rcv") {
                values.emplace_back("Rcv Avg", ratio("@yds", "@no"));
            } else if (name == "defense") {
                values.emplace_back("Def TTack", sum("@tacka", "@tackua", ""));
                values.emplace_back("Def TFL", sum("@tfla", "@tflua", ""));
                values.emplace_back("Def Sck", sum("@sacka", "@sackua", "0"));
            } else if (name == "pat") {
                values.emplace_back("FG PAT", read(element, "@kickmade", "0") + "/" +
                                                  read(element, "@kickatt", "0"));
            }
        }
        team.players.push_back(std::move(values));
    }
    return true;
}

inline bool Totals(const CXmlDocument &document, const std::string &xpath, Team &team)
{
    const CXmlNode totals = document.SelectSingleNode(xpath);
    if (!totals)
        return false;
    auto read = [&](const char *path) { return document.GetNodeText(totals, path, ""); };
    auto sum = [](const std::string &a, const std::string &b) {
        return CTeamStats::CombineValues(CombineKind::Sum, a, b);
    };
    auto ratio = [](const std::string &a, const std::string &b) {
        return CTeamStats::CombineValues(CombineKind::Ratio, a, b);
    };
    const std::string rushYds = read("rush/@yds"), rushAtt = read("rush/@att");
    const std::string passYds = read("pass/@yds"), passAtt = read("pass/@att");
    const std::string yards = sum(passYds, rushYds), plays = sum(passAtt, rushAtt);
    team.team.insert(
        team.team.end(),
        {{"FD", read("firstdowns/@no")},
         {"FD Rush-Pass-Penalty", Joined({read("firstdowns/@rush"), read("firstdowns/@pass"),
                                          read("firstdowns/@penalty")})},
         {"Rush Yds", rushYds},
         {"Rush Att-Yds", Joined({rushAtt, rushYds})},
         {"Rush Avg", ratio(rushYds, rushAtt)},
         {"Rush Gain-Loss", Joined({read("rush/@gain"), read("rush/@loss")})},
         {"Pass Yds", passYds},
         {"Pass Att-Comp-Int", Joined({passAtt, read("pass/@comp"), read("pass/@int")})},
         {"Tot Off Yds", yards},
         {"Tot Off Plays-Yds", Joined({plays, yards})},
         {"Avg Gain per Play", ratio(yards, plays)},
         {"Fumbles-Lost", Joined({read("fumbles/@no"), read("fumbles/@lost")})},
         {"Penalties-Yds", Joined({read("penalties/@no"), read("penalties/@yds")})},
         {"Punts-Avg", Joined({read("punt/@no"), ratio(read("punt/@yds"), read("punt/@no"))})},
         {"Punt Returns-Yds", Joined({read("pr/@no"), read("pr/@yds")})},
         {"Kickoff Returns-Yds", Joined({read("kr/@no"), read("kr/@yds")})},
         {"Interceptions-Yds", Joined({read("ir/@no"), read("ir/@yds")})},
         {"Fumble Returns-Yds", Joined({read("fr/@no"), read("fr/@yds")})},
         {"Sacks By-Yds", Joined({read("defense/@sacks"), read("defense/@sackyds")})},
         {"Third-Down Conversions",
          Joined({read("conversions/@thirdconv"), read("conversions/@thirdatt")})},
         {"Fourth-Down Conversions",
          Joined({read("conversions/@fourthconv"), read("conversions/@fourthatt")})},
         {"Possession Time", read("misc/@top")}});
    return true;
}

// Stores the value of a document query under `label`; false when it selects nothing.
inline bool Identity(const CXmlDocument &document, const std::string &xpath, const char *label,
                     Team &team)
{
    const auto text = document.FindText(xpath);
    if (text)
        team.team.emplace_back(label, *text);
    return text.has_value();
}

} // namespace Detail

// One side ('H' or 'V') of a game document.
inline Team LoadGame(const CXmlDocument &document, char side)
{
    using namespace Detail;
    Team team;
    const std::string path = std::string("/fbgame/team[@vh='") + side + "']";
    team.complete = Identity(document, path + "/@name", "Name", team) &&
                    Identity(document, path + "/@id", "Short Name", team) &&
                    Identity(document, path + "/@record", "Record", team) &&
                    Players(document, path + "/player", true, team) &&
                    Totals(document, path + "/totals", team);
    return team;
}

// A season document.
inline Team LoadSeason(const CXmlDocument &document)
{
    using namespace Detail;
    Team team;
    team.complete = Identity(document, "/fbseas/team/@name", "Name", team) &&
                    Identity(document, "/fbseas/team/@id", "Short Name", team) &&
                    Players(document, "/fbseas/player", false, team) &&
                    Totals(document, "/fbseas/totals", team);
    return team;
}

} // namespace PerQueryTeamLoader
