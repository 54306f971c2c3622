#include "CTeamStats.h"

#include "CGameDocument.h"
#include "TextNumbers.h"
#include "XPathQuery.h"

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

struct Field {
    Field(const char *attributeStep, std::string_view labelText)
        : attribute(attributeStep), label(StatValues::LabelIndex(labelText))
    {
    }
    XPathQuery attribute;
    int label; // vocabulary number
};

// A category element of a player and the labels it gives. Derived values
// (averages and sums) are added by the loader after the plain fields.
struct Category {
    Category(const char *elementName, const char *defaultValue, std::vector<Field> plainFields)
        : name(elementName), element(elementName), defaultText(defaultValue),
          fields(std::move(plainFields))
    {
    }
    std::string_view name;
    XPathQuery element;
    std::string_view defaultText;
    std::vector<Field> fields;
};

// Compiled once: the loaders ask these questions of every player of every file.
const std::vector<Category> &categories()
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

// The attributes read for derived values and for player identity.
struct OtherQueries {
    XPathQuery yds{"@yds"}, att{"@att"}, no{"@no"};
    XPathQuery tacka{"@tacka"}, tackua{"@tackua"}, tfla{"@tfla"}, tflua{"@tflua"};
    XPathQuery sacka{"@sacka"}, sackua{"@sackua"};
    XPathQuery kickmade{"@kickmade"}, kickatt{"@kickatt"};
    XPathQuery uni{"@uni"}, name{"@name"}, gp{"@gp"}, shortname{"@shortname"};
    XPathQuery checkname{"@checkname"};
};

const OtherQueries &otherQueries()
{
    static const OtherQueries queries;
    return queries;
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
    for (size_t i = 0; i < list->size(); ++i) {
        const CXmlNode player = (*list)[i];
        StatValues &values = players_[i];
        const OtherQueries &q = otherQueries();
        values.set("No", document.GetNodeText(player, q.uni, ""));
        values.set("Name", document.GetNodeText(player, q.name, ""));
        values.set("Played", document.GetNodeText(player, q.gp, ""));
        if (withShortName)
            values.set("Short Name", document.GetNodeText(player, q.shortname, ""));
        values.set("Check Name", document.GetNodeText(player, q.checkname, ""));
        LoadCategories(document, player, values);
    }
    return true;
}

void CTeamStats::LoadCategories(const CXmlDocument &document, CXmlNode player,
                                StatValues &values) const
{
    const OtherQueries &q = otherQueries();
    for (const Category &category : categories()) {
        const CXmlNode element = document.SelectSingleNode(player, category.element);
        if (!element)
            continue;
        auto read = [&](const XPathQuery &attribute, std::string_view defaultText) {
            return document.GetNodeText(element, attribute, defaultText);
        };
        if (category.name == "defense")
            values.set("Def Has", "1");
        for (const Field &field : category.fields)
            values.set(field.label, read(field.attribute, category.defaultText));
        if (category.name == "rush") {
            values.set("Rush Avg",
                       CombineValues(CombineKind::Ratio, read(q.yds, ""), read(q.att, "")));
        } else if (category.name == "rcv") {
            values.set("Rcv Avg",
                       CombineValues(CombineKind::Ratio, read(q.yds, ""), read(q.no, "")));
        } else if (category.name == "defense") {
            values.set("Def TTack",
                       CombineValues(CombineKind::Sum, read(q.tacka, ""), read(q.tackua, "")));
            values.set("Def TFL",
                       CombineValues(CombineKind::Sum, read(q.tfla, ""), read(q.tflua, "")));
            values.set("Def Sck",
                       CombineValues(CombineKind::Sum, read(q.sacka, "0"), read(q.sackua, "0")));
        } else if (category.name == "pat") {
            values.set("FG PAT", read(q.kickmade, "0") + "/" + read(q.kickatt, "0"));
        }
    }
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
