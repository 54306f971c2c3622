#include "StatValues.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace
{

// Every label the loaders store, for players and teams.
constexpr std::string_view vocabulary[] = {
    // identity
    "No", "Name", "Played", "Short Name", "Check Name", "Record",
    // passing
    "Pass Cmp", "Pass Att", "Pass Int", "Pass Yds", "Pass TD", "Pass Lng", "Pass Sck",
    // rushing
    "Rush Att", "Rush Yds", "Rush TD", "Rush Lng", "Rush Avg",
    // receiving
    "Rcv No", "Rcv Yds", "Rcv TD", "Rcv Lng", "Rcv Avg",
    // defence
    "Def Has", "Def UTack", "Def ATack", "Def TTack", "Def TFL", "Def TFL Yds", "Def Sck",
    "Def Sck Yds", "Def Int", "Def Int Yds", "Def PBU", "Def Blk", "Def FF", "Def FR",
    // kicking
    "FG Made", "FG Att", "FG Lng", "FG Blkd", "FG PAT", "Punt No", "Punt Yds", "Punt Lng",
    "Punt Blkd", "Punt TB", "Punt +50", "Punt In20", "KO No", "KO Yds", "KO TB",
    // returns
    "KR No", "KR Yds", "KR TD", "KR Lng", "PR No", "PR Yds", "PR TD", "PR Lng", "IR No", "IR Yds",
    "IR TD", "IR Lng", "FR No", "FR Yds", "FR TD", "FR Lng",
    // team totals not named above
    "FD", "FD Rush-Pass-Penalty", "Rush Att-Yds", "Rush Gain-Loss", "Pass Att-Comp-Int",
    "Tot Off Yds", "Tot Off Plays-Yds", "Avg Gain per Play", "Fumbles-Lost", "Penalties-Yds",
    "Punts-Avg", "Punt Returns-Yds", "Kickoff Returns-Yds", "Interceptions-Yds",
    "Fumble Returns-Yds", "Sacks By-Yds", "Third-Down Conversions", "Fourth-Down Conversions",
    "Possession Time"};

const std::unordered_map<std::string_view, int> &indexByLabel()
{
    static const std::unordered_map<std::string_view, int> map = [] {
        std::unordered_map<std::string_view, int> built;
        for (size_t i = 0; i < std::size(vocabulary); ++i)
            built.emplace(vocabulary[i], static_cast<int>(i));
        return built;
    }();
    return map;
}

const std::string emptyText;

} // namespace

int StatValues::LabelIndex(std::string_view label)
{
    const auto &map = indexByLabel();
    const auto found = map.find(label);
    return found == map.end() ? -1 : found->second;
}

std::string_view StatValues::LabelText(int index)
{
    return vocabulary[index];
}

StatValues::Entry *StatValues::find(std::string_view label)
{
    int index = LabelIndex(label);
    if (index < 0) {
        const auto other = std::find(otherLabels_.begin(), otherLabels_.end(), label);
        if (other == otherLabels_.end())
            return nullptr;
        index = -1 - static_cast<int>(other - otherLabels_.begin());
    }
    const auto found = std::find_if(values_.begin(), values_.end(),
                                    [index](const Entry &entry) { return entry.index == index; });
    return found == values_.end() ? nullptr : &*found;
}

const StatValues::Entry *StatValues::find(std::string_view label) const
{
    return const_cast<StatValues *>(this)->find(label);
}

const std::string &StatValues::get(std::string_view label) const
{
    const Entry *entry = find(label);
    return entry ? entry->value : emptyText;
}

bool StatValues::contains(std::string_view label) const
{
    return find(label) != nullptr;
}

void StatValues::set(std::string_view label, std::string value)
{
    const int index = LabelIndex(label);
    if (index >= 0) {
        set(index, std::move(value));
    } else if (Entry *entry = find(label)) {
        entry->value = std::move(value);
    } else {
        otherLabels_.emplace_back(label);
        values_.push_back(Entry{std::move(value), -static_cast<int>(otherLabels_.size())});
    }
}

void StatValues::set(int index, std::string value)
{
    for (Entry &entry : values_) {
        if (entry.index == index) {
            entry.value = std::move(value);
            return;
        }
    }
    append(index, std::move(value));
}

void StatValues::append(int index, std::string value)
{
    values_.push_back(Entry{std::move(value), index});
}

void StatValues::clear()
{
    values_.clear();
    otherLabels_.clear();
}
