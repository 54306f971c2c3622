#include "PlayerLoader.h"

#include "CTeamStats.h"
#include "StatValues.h"

#include <array>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

namespace
{

constexpr size_t maxAttributes = 14; // the defense element's
constexpr size_t categoryCount = 12;

// A value made from two attributes of the same element.
struct Derived {
    enum class Kind { Sum, Ratio, Slash };
    Kind kind;
    const char *a;
    const char *b;
    const char *label;
};

// What a category element gives, as the loader is told it.
struct CategorySpec {
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
            if (attributes[i][0] == name[0] && std::strcmp(attributes[i], name) == 0)
                return static_cast<int>(i);
        }
        return -1;
    }
};

size_t slotFor(std::vector<const char *> &attributes, const char *name)
{
    for (size_t i = 0; i < attributes.size(); ++i) {
        if (std::strcmp(attributes[i], name) == 0)
            return i;
    }
    attributes.push_back(name);
    return attributes.size() - 1;
}

Category compile(const CategorySpec &spec)
{
    Category category;
    category.element = spec.element;
    category.defaultText = spec.defaultText;
    if (spec.presenceLabel)
        category.presenceLabel = StatValues::LabelIndex(spec.presenceLabel);
    for (const auto &[attribute, label] : spec.plain) {
        category.attributes.push_back(attribute);
        category.plainLabels.push_back(StatValues::LabelIndex(label));
    }
    for (const Derived &derived : spec.derived) {
        const size_t a = slotFor(category.attributes, derived.a);
        const size_t b = slotFor(category.attributes, derived.b);
        category.derived.push_back({derived.kind, a, b, StatValues::LabelIndex(derived.label)});
    }
    category.valueCount =
        (spec.presenceLabel ? 1 : 0) + category.plainLabels.size() + category.derived.size();
    return category;
}

using Kind = Derived::Kind;

// In the order the labels are stored; a sum or ratio reads its attributes
// with the empty default, which counts as 0 like the "0" of the other
// categories.
const std::vector<Category> &categories()
{
    static const std::vector<Category> table = [] {
        const std::array<CategorySpec, categoryCount> specs = {{
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
        std::vector<Category> compiled;
        for (const CategorySpec &spec : specs)
            compiled.push_back(compile(spec));
        return compiled;
    }();
    return table;
}

int categoryOf(const char *name)
{
    const std::vector<Category> &table = categories();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].element[0] == name[0] && std::strcmp(table[i].element, name) == 0)
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
        if (identityAttributes[i][0] == name[0] && std::strcmp(identityAttributes[i], name) == 0)
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
        values.append(category.plainLabels[i], std::string(valueOf(i, category.defaultText)));
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
            values.append(derived.label, std::move(text));
            break;
        }
        }
    }
}

} // namespace

void PlayerLoader::Load(CXmlNode player, bool withShortName, StatValues &values)
{
    const pugi::xml_node node(player.node_);
    std::array<const char *, IdentityCount> identity{};
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const int slot = identityOf(attribute.name());
        if (slot >= 0 && !identity[slot])
            identity[slot] = attribute.value();
    }
    std::array<pugi::xml_node, categoryCount> elements{};
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const int category = categoryOf(child.name());
        if (category >= 0 && !elements[category])
            elements[category] = child;
    }

    const std::vector<Category> &table = categories();
    size_t count = withShortName ? IdentityCount : IdentityCount - 1;
    for (size_t i = 0; i < categoryCount; ++i)
        count += elements[i] ? table[i].valueCount : 0;
    values.reserve(count);

    const std::array<int, IdentityCount> &labels = identityLabelIndexes();
    for (size_t i = 0; i < IdentityCount; ++i) {
        if (i == ShortName && !withShortName)
            continue;
        values.append(labels[i], identity[i] ? identity[i] : "");
    }
    for (size_t i = 0; i < categoryCount; ++i) {
        if (elements[i])
            storeCategory(table[i], elements[i], values);
    }
}
