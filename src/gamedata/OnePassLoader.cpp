#include "OnePassLoader.h"

#include "CTeamStats.h"
#include "StatValues.h"
#include "XmlDocumentAccess.h"

#include <algorithm>
#include <array>
#include <pugixml.hpp>
#include <stdexcept>
#include <vector>

namespace
{

constexpr size_t maxAttributes = 14; // the defense element's
constexpr size_t categoryCount = 12;
constexpr size_t patCategory = 5;

// Names are a few letters long; this beats a call to strcmp for each.
bool sameName(const char *a, const char *b)
{
    while (*a == *b) {
        if (*a == '\0')
            return true;
        ++a;
        ++b;
    }
    return false;
}

// A value made from two attributes of the same element.
struct Derived {
    enum class Kind { Sum, Ratio, Slash };
    Kind kind;
    const char *a;
    const char *b;
    const char *label;
};

// What a category element gives, as the loader is told it.
struct CategoryDefinition {
    const char *element;
    const char *defaultText;   // stored for a missing plain attribute
    const char *presenceLabel; // stored as "1" before the others, or null
    std::vector<std::pair<const char *, const char *>> plain; // attribute, label
    std::vector<Derived> derived;
};

// The same, compiled: attribute names by slot (the plain ones first, then the
// others that derived values read), label numbers and the number of values it
// stores.
struct Category {
    const char *element;
    std::string defaultText;
    int presenceLabel = -1;
    std::vector<const char *> attributes;
    std::vector<int> plainLabels;
    struct Combined {
        Derived::Kind kind;
        size_t a, b;
        int label;
    };
    std::vector<Combined> derived;
    size_t valueCount = 0;

    // Slot of an attribute name, or -1 for one this category does not read.
    int slotOf(const char *name) const
    {
        for (size_t i = 0; i < attributes.size(); ++i) {
            if (sameName(attributes[i], name))
                return static_cast<int>(i);
        }
        return -1;
    }
};

size_t slotFor(std::vector<const char *> &attributes, const char *name)
{
    for (size_t i = 0; i < attributes.size(); ++i) {
        if (sameName(attributes[i], name))
            return i;
    }
    attributes.push_back(name);
    return attributes.size() - 1;
}

Category compile(const CategoryDefinition &definition)
{
    Category category;
    category.element = definition.element;
    category.defaultText = definition.defaultText;
    if (definition.presenceLabel)
        category.presenceLabel = StatValues::LabelIndex(definition.presenceLabel);
    for (const auto &[attribute, label] : definition.plain) {
        category.attributes.push_back(attribute);
        category.plainLabels.push_back(StatValues::LabelIndex(label));
    }
    for (const Derived &derived : definition.derived) {
        const size_t a = slotFor(category.attributes, derived.a);
        const size_t b = slotFor(category.attributes, derived.b);
        category.derived.push_back({derived.kind, a, b, StatValues::LabelIndex(derived.label)});
    }
    category.valueCount =
        (definition.presenceLabel ? 1 : 0) + category.plainLabels.size() + category.derived.size();
    if (category.attributes.size() > maxAttributes)
        throw std::logic_error(std::string("too many attributes for ") + definition.element);
    return category;
}

using Kind = Derived::Kind;

// In the order the labels are stored; a sum or ratio reads its attributes
// with the empty default, which counts as 0 like the "0" of the other
// categories.
const std::vector<Category> &categories()
{
    static const std::vector<Category> table = [] {
        const std::array<CategoryDefinition, categoryCount> definitions = {{
            {"pass",
             "",
             nullptr,
             {{"comp", "Pass Cmp"},
              {"att", "Pass Att"},
              {"int", "Pass Int"},
              {"yds", "Pass Yds"},
              {"td", "Pass TD"},
              {"long", "Pass Lng"},
              {"sacks", "Pass Sck"}},
             {}},
            {"rush",
             "",
             nullptr,
             {{"att", "Rush Att"}, {"yds", "Rush Yds"}, {"td", "Rush TD"}, {"long", "Rush Lng"}},
             {{Kind::Ratio, "yds", "att", "Rush Avg"}}},
            {"rcv",
             "",
             nullptr,
             {{"no", "Rcv No"}, {"yds", "Rcv Yds"}, {"td", "Rcv TD"}, {"long", "Rcv Lng"}},
             {{Kind::Ratio, "yds", "no", "Rcv Avg"}}},
            {"defense",
             "0",
             "Def Has",
             {{"tackua", "Def UTack"},
              {"tacka", "Def ATack"},
              {"tflyds", "Def TFL Yds"},
              {"sackyds", "Def Sck Yds"},
              {"int", "Def Int"},
              {"intyds", "Def Int Yds"},
              {"brup", "Def PBU"},
              {"blkd", "Def Blk"},
              {"ff", "Def FF"},
              {"fr", "Def FR"}},
             {{Kind::Sum, "tacka", "tackua", "Def TTack"},
              {Kind::Sum, "tfla", "tflua", "Def TFL"},
              {Kind::Sum, "sacka", "sackua", "Def Sck"}}},
            {"fg",
             "0",
             nullptr,
             {{"made", "FG Made"}, {"att", "FG Att"}, {"long", "FG Lng"}, {"blkd", "FG Blkd"}},
             {}},
            {"pat", "0", nullptr, {}, {{Kind::Slash, "kickmade", "kickatt", "FG PAT"}}},
            {"punt",
             "0",
             nullptr,
             {{"no", "Punt No"},
              {"yds", "Punt Yds"},
              {"long", "Punt Lng"},
              {"blkd", "Punt Blkd"},
              {"tb", "Punt TB"},
              {"plus50", "Punt +50"},
              {"inside20", "Punt In20"}},
             {}},
            {"ko", "0", nullptr, {{"no", "KO No"}, {"yds", "KO Yds"}, {"tb", "KO TB"}}, {}},
            {"kr",
             "0",
             nullptr,
             {{"no", "KR No"}, {"yds", "KR Yds"}, {"td", "KR TD"}, {"long", "KR Lng"}},
             {}},
            {"pr",
             "0",
             nullptr,
             {{"no", "PR No"}, {"yds", "PR Yds"}, {"td", "PR TD"}, {"long", "PR Lng"}},
             {}},
            {"ir",
             "0",
             nullptr,
             {{"no", "IR No"}, {"yds", "IR Yds"}, {"td", "IR TD"}, {"long", "IR Lng"}},
             {}},
            {"fr",
             "0",
             nullptr,
             {{"no", "FR No"}, {"yds", "FR Yds"}, {"td", "FR TD"}, {"long", "FR Lng"}},
             {}},
        }};
        if (!sameName(definitions[patCategory].element, "pat"))
            throw std::logic_error("the pat category moved");
        std::vector<Category> compiled;
        for (const CategoryDefinition &definition : definitions)
            compiled.push_back(compile(definition));
        return compiled;
    }();
    return table;
}

int categoryOf(const char *name)
{
    const std::vector<Category> &table = categories();
    for (size_t i = 0; i < table.size(); ++i) {
        if (sameName(table[i].element, name))
            return static_cast<int>(i);
    }
    return -1;
}

// The identity attributes, in the order their labels are stored.
enum Identity { Uni, Name, Gp, ShortName, CheckName, IdentityCount };
constexpr std::array<const char *, IdentityCount> identityAttributes = {"uni", "name", "gp",
                                                                        "shortname", "checkname"};
constexpr std::array<const char *, IdentityCount> identityLabels = {"No", "Name", "Played",
                                                                    "Short Name", "Check Name"};

int identityOf(const char *name)
{
    for (size_t i = 0; i < identityAttributes.size(); ++i) {
        if (sameName(identityAttributes[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

const std::array<int, IdentityCount> &identityLabelIndexes()
{
    static const std::array<int, IdentityCount> indexes = [] {
        std::array<int, IdentityCount> built{};
        for (size_t i = 0; i < built.size(); ++i)
            built[i] = StatValues::LabelIndex(identityLabels[i]);
        return built;
    }();
    return indexes;
}

// The category's values from one walk over the element's attributes. As in
// XPath, only the first attribute of a name counts.
void storeCategory(const Category &category, const pugi::xml_node &element, StatValues &values)
{
    std::array<const char *, maxAttributes> slots{};
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const int slot = category.slotOf(attribute.name());
        if (slot >= 0 && !slots[slot])
            slots[slot] = attribute.value();
    }
    auto valueOf = [&](size_t slot, std::string_view defaultText) {
        return slots[slot] ? std::string_view(slots[slot]) : defaultText;
    };

    if (category.presenceLabel >= 0)
        values.append(category.presenceLabel, "1");
    for (size_t i = 0; i < category.plainLabels.size(); ++i)
        values.append(category.plainLabels[i], valueOf(i, category.defaultText));
    for (const Category::Combined &derived : category.derived) {
        switch (derived.kind) {
        case Kind::Sum:
            values.append(derived.label,
                          CTeamStats::CombineValues(CombineKind::Sum, valueOf(derived.a, ""),
                                                    valueOf(derived.b, "")));
            break;
        case Kind::Ratio:
            values.append(derived.label,
                          CTeamStats::CombineValues(CombineKind::Ratio, valueOf(derived.a, ""),
                                                    valueOf(derived.b, "")));
            break;
        case Kind::Slash: {
            std::string text(valueOf(derived.a, category.defaultText));
            text += '/';
            text += valueOf(derived.b, category.defaultText);
            values.append(derived.label, text);
            break;
        }
        }
    }
}

// The children of a totals element and the fields their attributes give.
struct TotalsElement {
    const char *name;
    std::vector<std::pair<const char *, OnePassLoader::TotalsField>> attributes;
};

const std::vector<TotalsElement> &totalsElements()
{
    using F = OnePassLoader::TotalsField;
    static const std::vector<TotalsElement> table = {
        {"firstdowns",
         {{"no", F::FirstDownsNo},
          {"rush", F::FirstDownsRush},
          {"pass", F::FirstDownsPass},
          {"penalty", F::FirstDownsPenalty}}},
        {"rush",
         {{"att", F::RushAtt}, {"yds", F::RushYds}, {"gain", F::RushGain}, {"loss", F::RushLoss}}},
        {"pass",
         {{"att", F::PassAtt}, {"comp", F::PassComp}, {"int", F::PassInt}, {"yds", F::PassYds}}},
        {"fumbles", {{"no", F::FumblesNo}, {"lost", F::FumblesLost}}},
        {"penalties", {{"no", F::PenaltiesNo}, {"yds", F::PenaltiesYds}}},
        {"punt", {{"no", F::PuntNo}, {"yds", F::PuntYds}}},
        {"pr", {{"no", F::PrNo}, {"yds", F::PrYds}}},
        {"kr", {{"no", F::KrNo}, {"yds", F::KrYds}}},
        {"ir", {{"no", F::IrNo}, {"yds", F::IrYds}}},
        {"fr", {{"no", F::FrNo}, {"yds", F::FrYds}}},
        {"defense", {{"sacks", F::DefenseSacks}, {"sackyds", F::DefenseSackYds}}},
        {"conversions",
         {{"thirdconv", F::ThirdConv},
          {"thirdatt", F::ThirdAtt},
          {"fourthconv", F::FourthConv},
          {"fourthatt", F::FourthAtt}}},
        {"misc", {{"top", F::MiscTop}}},
    };
    return table;
}

} // namespace

void OnePassLoader::LoadPlayer(CXmlNode player, bool withShortName, StatValues &values)
{
    const pugi::xml_node node = XmlDocumentAccess::NodeOf(player);
    std::array<const char *, IdentityCount> identity{};
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const int slot = identityOf(attribute.name());
        if (slot >= 0 && !identity[slot])
            identity[slot] = attribute.value();
    }
    std::array<pugi::xml_node_struct *, categoryCount> elements{};
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const int category = categoryOf(child.name());
        if (category >= 0 && !elements[category])
            elements[category] = child.internal_object();
    }

    const std::vector<Category> &table = categories();
    size_t count = withShortName ? IdentityCount : IdentityCount - 1;
    for (size_t i = 0; i < categoryCount; ++i)
        count += elements[i] ? table[i].valueCount : 0;
    // The names, and "FG PAT" ("3/4"), are the texts a player does not share.
    values.reserve(count, (withShortName ? 3 : 2) + (elements[patCategory] ? 1 : 0));

    const std::array<int, IdentityCount> &labels = identityLabelIndexes();
    for (size_t i = 0; i < IdentityCount; ++i) {
        if (i == ShortName && !withShortName)
            continue;
        values.append(labels[i], identity[i] ? identity[i] : "");
    }
    for (size_t i = 0; i < categoryCount; ++i) {
        if (elements[i])
            storeCategory(table[i], pugi::xml_node(elements[i]), values);
    }
}

std::array<std::string_view, OnePassLoader::TotalsFieldCount>
OnePassLoader::ReadTotals(CXmlNode totals)
{
    std::array<const char *, TotalsFieldCount> found{};
    const std::vector<TotalsElement> &table = totalsElements();
    for (pugi::xml_node child = XmlDocumentAccess::NodeOf(totals).first_child(); child;
         child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char *name = child.name();
        const auto element = std::find_if(table.begin(), table.end(), [name](const auto &entry) {
            return sameName(entry.name, name);
        });
        if (element == table.end())
            continue;
        for (pugi::xml_attribute attribute = child.first_attribute(); attribute;
             attribute = attribute.next_attribute()) {
            for (const auto &[attributeName, field] : element->attributes) {
                if (!found[field] && sameName(attributeName, attribute.name()))
                    found[field] = attribute.value();
            }
        }
    }
    std::array<std::string_view, TotalsFieldCount> values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = found[i] ? found[i] : "";
    return values;
}
