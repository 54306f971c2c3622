#include "CTeamStats.h"

#include "CGameDocument.h"
#include "PlayerLoader.h"
#include "TextNumbers.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace
{

const std::string emptyText;

std::string fixed(double value, int decimals)
{
    char buffer[400];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string joined(std::initializer_list<std::string_view> parts)
{
    std::string text;
    bool first = true;
    for (const std::string_view part : parts) {
        if (!first)
            text += " - ";
        text += part;
        first = false;
    }
    return text;
}

} // namespace

void CTeamStats::SetSide(char c)
{
    side_ = c == 'V' ? 'V' : 'H';
}

const std::string &CTeamStats::GetTeamValue(std::string_view label) const
{
    return teamValues_.get(label);
}

const std::string &CTeamStats::GetPlayerValue(int index, std::string_view label) const
{
    if (players_.empty())
        return emptyText;
    return players_[std::clamp(index, 0, playerCount() - 1)].get(label);
}

int CTeamStats::FindPlayerByCheckName(std::string_view checkName) const
{
    for (int i = 0; i < playerCount(); ++i) {
        if (GetPlayerValue(i, "Check Name") == checkName)
            return i;
    }
    return -1;
}

std::string CTeamStats::CombineValues(CombineKind kind, std::string_view a, std::string_view b)
{
    const double x = TextNumbers::LeadingNumber(a);
    const double y = TextNumbers::LeadingNumber(b);
    if (kind == CombineKind::Sum)
        return fixed(x + y, 0);
    return fixed(y == 0 ? 0.0 : x / y, 1);
}

void CTeamStats::Refill()
{
    teamValues_.clear();
    players_.clear();
}

bool CTeamStats::StoreDocumentText(const CXmlDocument &document, std::string_view xpath,
                                   std::string_view label)
{
    std::optional<std::string> text = document.FindText(xpath);
    if (!text)
        return false;
    teamValues_.set(label, std::move(*text));
    return true;
}

bool CTeamStats::LoadGame(const CGameDocument &document)
{
    Refill();
    const std::string team = std::string("/fbgame/team[@vh='") + side_ + "']";
    if (!StoreDocumentText(document, team + "/@name", "Name") ||
        !StoreDocumentText(document, team + "/@id", "Short Name") ||
        !StoreDocumentText(document, team + "/@record", "Record"))
        return false;
    if (!LoadPlayers(document, team + "/player", true))
        return false;
    return LoadTotals(document, team + "/totals");
}

bool CTeamStats::LoadPlayers(const CXmlDocument &document, std::string_view listXPath,
                             bool withShortName)
{
    const std::optional<std::vector<CXmlNode>> list = document.SelectNodes(listXPath);
    if (!list)
        return false;
    players_.assign(list->size(), StatValues());
    for (size_t i = 0; i < list->size(); ++i)
        PlayerLoader::Load((*list)[i], withShortName, players_[i]);
    return true;
}

bool CTeamStats::LoadTotals(const CXmlDocument &document, std::string_view totalsXPath)
{
    const CXmlNode totals = document.SelectSingleNode(totalsXPath);
    if (!totals)
        return false;
    auto read = [&](std::string_view xpath) { return document.GetNodeText(totals, xpath, ""); };
    auto sum = [](const std::string &a, const std::string &b) {
        return CombineValues(CombineKind::Sum, a, b);
    };
    auto ratio = [](const std::string &a, const std::string &b) {
        return CombineValues(CombineKind::Ratio, a, b);
    };
    auto store = [this](const char *label, std::string value) {
        teamValues_.set(label, std::move(value));
    };

    const std::string rushYds = read("rush/@yds"), rushAtt = read("rush/@att");
    const std::string passYds = read("pass/@yds"), passAtt = read("pass/@att");
    const std::string punts = read("punt/@no");

    store("FD", read("firstdowns/@no"));
    store("FD Rush-Pass-Penalty", joined({read("firstdowns/@rush"), read("firstdowns/@pass"),
                                          read("firstdowns/@penalty")}));
    store("Rush Yds", rushYds);
    store("Rush Att-Yds", joined({rushAtt, rushYds}));
    store("Rush Avg", ratio(rushYds, rushAtt));
    store("Rush Gain-Loss", joined({read("rush/@gain"), read("rush/@loss")}));
    store("Pass Yds", passYds);
    store("Pass Att-Comp-Int", joined({passAtt, read("pass/@comp"), read("pass/@int")}));
    const std::string totalYards = sum(passYds, rushYds);
    const std::string totalPlays = sum(passAtt, rushAtt);
    store("Tot Off Yds", totalYards);
    store("Tot Off Plays-Yds", joined({totalPlays, totalYards}));
    store("Avg Gain per Play", ratio(totalYards, totalPlays));
    store("Fumbles-Lost", joined({read("fumbles/@no"), read("fumbles/@lost")}));
    store("Penalties-Yds", joined({read("penalties/@no"), read("penalties/@yds")}));
    store("Punts-Avg", joined({punts, ratio(read("punt/@yds"), punts)}));
    store("Punt Returns-Yds", joined({read("pr/@no"), read("pr/@yds")}));
    store("Kickoff Returns-Yds", joined({read("kr/@no"), read("kr/@yds")}));
    store("Interceptions-Yds", joined({read("ir/@no"), read("ir/@yds")}));
    store("Fumble Returns-Yds", joined({read("fr/@no"), read("fr/@yds")}));
    store("Sacks By-Yds", joined({read("defense/@sacks"), read("defense/@sackyds")}));
    store("Third-Down Conversions",
          joined({read("conversions/@thirdconv"), read("conversions/@thirdatt")}));
    store("Fourth-Down Conversions",
          joined({read("conversions/@fourthconv"), read("conversions/@fourthatt")}));
    store("Possession Time", read("misc/@top"));
    return true;
}
