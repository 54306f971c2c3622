#include "CTeamStats.h"

#include "CGameDocument.h"
#include "OnePassLoader.h"
#include "TextNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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
    const auto found = checkNameIndex_.find(checkName);
    return found == checkNameIndex_.end() ? -1 : found->second;
}

void CTeamStats::IndexCheckNames()
{
    checkNameIndex_.clear();
    checkNameIndex_.reserve(players_.size());
    for (int i = 0; i < playerCount(); ++i)
        checkNameIndex_.try_emplace(GetPlayerValue(i, "Check Name"), i);
}

std::string CTeamStats::CombineValues(CombineKind kind, std::string_view a, std::string_view b)
{
    const double x = TextNumbers::LeadingNumber(a);
    const double y = TextNumbers::LeadingNumber(b);
    if (kind == CombineKind::Sum) {
        // Counts are whole numbers, printed the same without the floating-point
        // formatting; -0 is left to it.
        const double total = x + y;
        if (total == std::trunc(total) && std::fabs(total) < 1e15 && !std::signbit(total))
            return std::to_string(static_cast<long long>(total));
        return fixed(total, 0);
    }
    return fixed(y == 0 ? 0.0 : x / y, 1);
}

void CTeamStats::Refill()
{
    teamValues_.clear();
    for (StatValues &player : players_)
        player.clear();
    spare_ = std::move(players_);
    players_.clear();
    checkNameIndex_.clear();
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
    // The players of the last load, emptied, give their room to these.
    players_ = std::move(spare_);
    players_.resize(list->size());
    for (size_t i = 0; i < list->size(); ++i)
        OnePassLoader::LoadPlayer((*list)[i], withShortName, players_[i]);
    IndexCheckNames();
    return true;
}

bool CTeamStats::LoadTotals(const CXmlDocument &document, std::string_view totalsXPath)
{
    const CXmlNode totals = document.SelectSingleNode(totalsXPath);
    if (!totals)
        return false;
    using F = OnePassLoader::TotalsField;
    const auto fields = OnePassLoader::ReadTotals(totals);
    auto read = [&fields](F field) { return fields[field]; };
    auto sum = [](std::string_view a, std::string_view b) {
        return CombineValues(CombineKind::Sum, a, b);
    };
    auto ratio = [](std::string_view a, std::string_view b) {
        return CombineValues(CombineKind::Ratio, a, b);
    };
    auto store = [this](const char *label, std::string_view value) {
        teamValues_.set(label, value);
    };

    const std::string_view rushYds = read(F::RushYds), rushAtt = read(F::RushAtt);
    const std::string_view passYds = read(F::PassYds), passAtt = read(F::PassAtt);
    const std::string_view punts = read(F::PuntNo);

    store("FD", read(F::FirstDownsNo));
    store("FD Rush-Pass-Penalty",
          joined({read(F::FirstDownsRush), read(F::FirstDownsPass), read(F::FirstDownsPenalty)}));
    store("Rush Yds", rushYds);
    store("Rush Att-Yds", joined({rushAtt, rushYds}));
    store("Rush Avg", ratio(rushYds, rushAtt));
    store("Rush Gain-Loss", joined({read(F::RushGain), read(F::RushLoss)}));
    store("Pass Yds", passYds);
    store("Pass Att-Comp-Int", joined({passAtt, read(F::PassComp), read(F::PassInt)}));
    const std::string totalYards = sum(passYds, rushYds);
    const std::string totalPlays = sum(passAtt, rushAtt);
    store("Tot Off Yds", totalYards);
    store("Tot Off Plays-Yds", joined({totalPlays, totalYards}));
    store("Avg Gain per Play", ratio(totalYards, totalPlays));
    store("Fumbles-Lost", joined({read(F::FumblesNo), read(F::FumblesLost)}));
    store("Penalties-Yds", joined({read(F::PenaltiesNo), read(F::PenaltiesYds)}));
    store("Punts-Avg", joined({punts, ratio(read(F::PuntYds), punts)}));
    store("Punt Returns-Yds", joined({read(F::PrNo), read(F::PrYds)}));
    store("Kickoff Returns-Yds", joined({read(F::KrNo), read(F::KrYds)}));
    store("Interceptions-Yds", joined({read(F::IrNo), read(F::IrYds)}));
    store("Fumble Returns-Yds", joined({read(F::FrNo), read(F::FrYds)}));
    store("Sacks By-Yds", joined({read(F::DefenseSacks), read(F::DefenseSackYds)}));
    store("Third-Down Conversions", joined({read(F::ThirdConv), read(F::ThirdAtt)}));
    store("Fourth-Down Conversions", joined({read(F::FourthConv), read(F::FourthAtt)}));
    store("Possession Time", read(F::MiscTop));
    return true;
}
