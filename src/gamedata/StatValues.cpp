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

constexpr int lowestShared = -99;
constexpr int highestShared = 1999;
constexpr std::uint32_t firstRatio = 1 + highestShared - lowestShared + 1;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Number of the shared text equal to `text`, or -1: "" is 0, then the whole
// numbers and the ratios, each written the one way the loaders write them.
long sharedIndexOf(std::string_view text)
{
    if (text.empty())
        return 0;
    const bool negative = text[0] == '-';
    size_t i = negative ? 1 : 0;
    const size_t start = i;
    int number = 0;
    while (i < text.size() && isDigit(text[i]) && i - start < 4)
        number = number * 10 + (text[i++] - '0');
    const size_t digits = i - start;
    if (digits == 0 || (digits > 1 && text[start] == '0'))
        return -1;
    if (i == text.size()) {
        const int value = negative ? -number : number;
        if ((negative && number == 0) || value < lowestShared || value > highestShared)
            return -1;
        return 1 + value - lowestShared;
    }
    if (negative || number > 99 || text.size() != i + 2 || text[i] != '.' || !isDigit(text[i + 1]))
        return -1;
    return firstRatio + number * 10 + (text[i + 1] - '0');
}

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

const std::string &StatValues::sharedText(std::uint32_t index)
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> built{""};
        for (int value = lowestShared; value <= highestShared; ++value)
            built.push_back(std::to_string(value));
        for (int tenths = 0; tenths < 1000; ++tenths)
            built.push_back(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
        return built;
    }();
    return texts[index];
}

StatValues::Entry *StatValues::find(std::string_view label)
{
    int index = LabelIndex(label);
    if (index < 0) {
        const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry &entry) {
            return entry.label < 0 && texts_[-1 - entry.label] == label;
        });
        return found == entries_.end() ? nullptr : &*found;
    }
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [index](const Entry &entry) { return entry.label == index; });
    return found == entries_.end() ? nullptr : &*found;
}

const StatValues::Entry *StatValues::find(std::string_view label) const
{
    return const_cast<StatValues *>(this)->find(label);
}

const std::string &StatValues::get(std::string_view label) const
{
    const Entry *entry = find(label);
    return entry ? textOf(*entry) : emptyText;
}

bool StatValues::contains(std::string_view label) const
{
    return find(label) != nullptr;
}

std::uint32_t StatValues::store(std::string_view value)
{
    const long shared = sharedIndexOf(value);
    if (shared >= 0)
        return static_cast<std::uint32_t>(shared);
    texts_.emplace_back(value);
    return sharedCount + static_cast<std::uint32_t>(texts_.size() - 1);
}

void StatValues::set(std::string_view label, std::string_view value)
{
    const int index = LabelIndex(label);
    if (index >= 0) {
        set(index, value);
        return;
    }
    if (Entry *entry = find(label)) {
        replace(*entry, value);
        return;
    }
    texts_.emplace_back(label);
    const auto labelText = -static_cast<std::int32_t>(texts_.size());
    entries_.push_back(Entry{store(value), labelText});
}

void StatValues::set(int index, std::string_view value)
{
    for (Entry &entry : entries_) {
        if (entry.label == index) {
            replace(entry, value);
            return;
        }
    }
    append(index, value);
}

void StatValues::replace(Entry &entry, std::string_view value)
{
    // A text held here is overwritten in place rather than left unused.
    if (entry.text >= sharedCount)
        texts_[entry.text - sharedCount] = value;
    else
        entry.text = store(value);
}

void StatValues::append(int index, std::string_view value)
{
    entries_.push_back(Entry{store(value), index});
}

void StatValues::clear()
{
    entries_.clear();
    texts_.clear();
}
