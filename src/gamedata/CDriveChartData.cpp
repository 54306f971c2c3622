#include "CDriveChartData.h"

#include "CGameDocument.h"
#include "CTeamStats.h"
#include "PlayContext.h"
#include "TextNumbers.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <unordered_map>

using TextNumbers::LeadingInt;

namespace
{

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF grey = RGB(128, 128, 128);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF red = RGB(255, 0, 0);

// The four fields of a drive's "start" or "end": how, quarter, time, spot.
struct DriveEnd {
    std::string how, quarter, time, spot;
    bool complete = false; // all four fields were present
};

// Splits "KO,1,15:00,35" at its first three commas; the spot is the rest. A
// missing comma, or one at the very start of what remains, ends the split.
DriveEnd splitDriveEnd(std::string_view text)
{
    DriveEnd result;
    std::string *fields[] = {&result.how, &result.quarter, &result.time};
    for (std::string *field : fields) {
        const auto comma = text.find(',');
        if (comma == std::string_view::npos || comma == 0)
            return result;
        *field = text.substr(0, comma);
        text.remove_prefix(comma + 1);
    }
    result.spot = text;
    result.complete = true;
    return result;
}

// Yard arithmetic is done wide and brought back into the int range, so that
// absurd numbers in the file cannot overflow.
int clamped(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Orders two home-relative positions into the item.
void placeBetween(CChartItem &item, int start, int end)
{
    constexpr int farthest = CDriveChartData::farthestYard;
    start = std::clamp(start, -farthest, farthest);
    end = std::clamp(end, -farthest, farthest);
    item.reversed = end < start ? 1 : 0;
    item.lowYard = item.reversed ? end : start;
    item.highYard = item.reversed ? start : end;
}

// The elements `listXPath` selects, by the value of their "driveindex": the
// first in document order of each value, among those that have `required`.
std::unordered_map<std::string, CXmlNode> firstByIndex(const CGameDocument &document,
                                                       std::string_view listXPath,
                                                       std::string_view required = {})
{
    std::unordered_map<std::string, CXmlNode> byIndex;
    const auto elements = document.SelectNodes(listXPath);
    if (!elements)
        return byIndex;
    for (const CXmlNode element : *elements) {
        if (!document.HasNode(element, "@driveindex") ||
            (!required.empty() && !document.HasNode(element, required)))
            continue;
        byIndex.try_emplace(document.GetNodeText(element, "@driveindex", ""), element);
    }
    return byIndex;
}

using Text = CChartItem::Text;

// A text taken from an element other than the entry's own.
Text bounded(std::string_view text)
{
    return Text::Bounded(text, CChartItem::maxReferencedText);
}

// The entry of drive `d` from its drive element.
CChartItem driveEntry(const CGameDocument &document, CXmlNode drive, int d, int fieldLength)
{
    CChartItem item;
    item.driveIndex = d;
    item.team = document.GetNodeText(drive, "@vh", "0") == "H" ? 0 : 1;
    const std::string yards = document.GetNodeText(drive, "@yards", "0");
    item.plays = bounded(document.GetNodeText(drive, "@plays", "0"));
    item.yards = bounded(yards);
    item.top = bounded(document.GetNodeText(drive, "@top", "0"));
    item.fillColor = item.team == 0 ? white : grey;
    item.outlineColor = LeadingInt(yards) > 0 ? black : red;

    // Spots count yards from the driving team's own goal line; positions
    // count from the home goal line.
    auto positionOf = [&](DriveEnd &end) -> std::optional<int> {
        if (!end.complete)
            return std::nullopt;
        const int n = LeadingInt(end.spot);
        const int fromOtherGoal = clamped(static_cast<long long>(fieldLength) - n);
        if (n > 50)
            end.spot = (item.team == 0 ? "V" : "H") + std::to_string(fromOtherGoal);
        return item.team == 0 ? n : fromOtherGoal;
    };
    DriveEnd start = splitDriveEnd(document.GetNodeText(drive, "@start", "0"));
    DriveEnd end = splitDriveEnd(document.GetNodeText(drive, "@end", "0"));
    const std::optional<int> startYard = positionOf(start);
    const std::optional<int> endYard = positionOf(end);
    // A side the file does not give is drawn where the other one is.
    placeBetween(item, startYard.value_or(endYard.value_or(0)),
                 endYard.value_or(startYard.value_or(0)));
    item.lostGround = item.team ^ item.reversed;

    item.startHow = bounded(start.how);
    item.startQtr = bounded(start.quarter);
    item.startTime = bounded(start.time);
    item.startSpot = bounded(start.spot);
    item.endHow = bounded(end.how);
    item.endQtr = bounded(end.quarter);
    item.endTime = bounded(end.time);
    item.endSpot = bounded(end.spot);
    return item;
}

} // namespace

void CDriveChartData::LoadDrives(const CGameDocument &document,
                                 std::span<const CTeamStats, 2> teams)
{
    // Built aside and swapped in: a load that runs out of memory leaves the
    // previous list, names and field length whole.
    std::array<std::string, 2> shortNames = {teams[0].GetTeamValue("Short Name"),
                                             teams[1].GetTeamValue("Short Name")};
    const int fieldLength = LeadingInt(document.GetText("/fbgame/venue/rules/@field", "0"));
    std::optional<std::vector<CChartItem>> items =
        playsMode_ ? buildPlays(document, teams, fieldLength) : buildDrives(document, fieldLength);
    shortName_ = std::move(shortNames);
    fieldLength_ = fieldLength;
    if (items)
        items_ = std::move(*items);
}

void CDriveChartData::LoadPlays(const CGameDocument &document, std::span<const CTeamStats, 2> teams)
{
    if (std::optional<std::vector<CChartItem>> items = buildPlays(document, teams, fieldLength_))
        items_ = std::move(*items);
}

std::optional<std::vector<CChartItem>> CDriveChartData::buildDrives(const CGameDocument &document,
                                                                    int fieldLength) const
{
    const std::string quarterPredicate =
        quarter > 0 ? "[@number='" + std::to_string(quarter) + "']" : "";
    std::string teamPredicate;
    if (homeOnly && !visitorOnly)
        teamPredicate = "[@vh='H']";
    else if (visitorOnly && !homeOnly)
        teamPredicate = "[@vh='V']";
    const auto nodes = document.SelectNodes("/fbgame/plays/qtr" + quarterPredicate + "/drivestart" +
                                            teamPredicate);
    if (!nodes)
        return std::nullopt;

    // What "/fbgame/drives/drive[@driveindex='d']" and
    // "/fbgame/scores/score[@driveindex='d']/@qtr" select for each d, gathered
    // in one pass each: asking per drive searches every drive for every drive.
    const std::unordered_map<std::string, CXmlNode> driveByIndex =
        firstByIndex(document, "/fbgame/drives/drive");
    std::unordered_map<std::string, std::string> scoreQuarterByIndex;
    if (scoringOnly) {
        for (const auto &[index, score] : firstByIndex(document, "/fbgame/scores/score", "@qtr"))
            scoreQuarterByIndex.emplace(index, document.GetNodeText(score, "@qtr", "0"));
    }

    // At most one entry per start: reserving spares the copies of a growing list.
    std::vector<CChartItem> items;
    items.reserve(nodes->size());
    // An entry depends only on its drive: later starts of the same drive copy
    // the first one's entry, sharing its texts.
    std::unordered_map<int, size_t> entryOfDrive;
    for (const CXmlNode node : *nodes) {
        const int d = LeadingInt(document.GetNodeText(node, "@driveindex", "0"));
        if (const auto built = entryOfDrive.find(d); built != entryOfDrive.end()) {
            CChartItem copy = items[built->second];
            items.push_back(std::move(copy));
            continue;
        }
        const std::string index = std::to_string(d);
        if (scoringOnly) {
            const auto score = scoreQuarterByIndex.find(index);
            if (score == scoreQuarterByIndex.end() || LeadingInt(score->second) == 0)
                continue;
        }
        const auto found = driveByIndex.find(index);
        if (found == driveByIndex.end())
            continue;
        entryOfDrive.emplace(d, items.size());
        items.push_back(driveEntry(document, found->second, d, fieldLength));
    }
    return items;
}

std::optional<std::vector<CChartItem>>
CDriveChartData::buildPlays(const CGameDocument &document, std::span<const CTeamStats, 2> teams,
                            int fieldLength) const
{
    const auto nodes = document.SelectNodes("/fbgame/plays/qtr/play");
    if (!nodes)
        return std::nullopt;

    const std::array<std::string, 2> shortNames = {
        bounded(teams[0].GetTeamValue("Short Name")).str(),
        bounded(teams[1].GetTeamValue("Short Name")).str()};
    // The plays of one quarter share its number.
    CXmlNode quarterNode;
    CChartItem::Text quarterNumber;

    std::vector<CChartItem> items;
    for (const CXmlNode node : *nodes) {
        if (LeadingInt(document.GetNodeText(node, "@playid", "0")) != playsDrive_)
            continue;
        const PlayContext context = PlayContext::Parse(document.GetNodeText(node, "@context", "0"));
        const std::string type = document.GetNodeText(node, "@type", "0");
        CChartItem item;
        switch (type.empty() ? '\0' : type.front()) {
        case 'R':
            item.fillColor = colorR;
            break;
        case 'P':
            item.fillColor = colorP;
            break;
        case 'E':
            item.fillColor = colorE;
            break;
        default:
            continue;
        }
        const char offense = context.offense;
        item.top = Text(std::to_string(context.down) + "-" + std::to_string(context.toGo));
        item.team = offense == 'H' ? 0 : 1;
        const long long wideField = fieldLength;
        const int p = context.side == offense ? context.yard : clamped(wideField - context.yard);

        item.startHow = Text(document.GetNodeText(node, "@text", "0"));
        item.startTime = Text(document.GetNodeText(node, "@clock", "0"));
        const CXmlNode parent = document.SelectSingleNode(node, "..");
        if (!parent || parent != quarterNode) {
            quarterNode = parent;
            quarterNumber = bounded(document.GetNodeText(node, "../@number", "0"));
        }
        item.startQtr = quarterNumber;
        const std::string yards = document.GetNodeText(node, "@yds", "0");
        const int y = LeadingInt(yards);
        item.yards = Text(yards);
        const int end = clamped(static_cast<long long>(p) + y);
        item.outlineColor = y > 0 ? black : red;
        item.lostGround = y > 0 ? 0 : 1;

        const int half = fieldLength / 2;
        bool homeHalf = false;
        if (offense == 'H')
            homeHalf = p <= half;
        else if (offense == 'V')
            homeHalf = p > half;
        item.startSpot = Text(shortNames[homeHalf ? 0 : 1] +
                              std::to_string(p <= half ? p : clamped(wideField - p)));

        if (offense == 'V')
            placeBetween(item, clamped(wideField - p), clamped(wideField - end));
        else
            placeBetween(item, p, end);
        items.push_back(std::move(item));
    }
    return items;
}

void CDriveChartData::SetHitRect(int index, const CRect &rect)
{
    if (index >= 0 && index < count())
        items_[index].hitRect = rect;
}

void CDriveChartData::ClearHitRects()
{
    for (CChartItem &item : items_)
        item.hitRect = CRect(-1, -1, -1, -1);
}

void CDriveChartData::ShowPlaysOf(int driveIndex)
{
    if (driveIndex < 0)
        return;
    playsMode_ = 1;
    playsDrive_ = driveIndex;
}

void CDriveChartData::ShowDrives()
{
    playsMode_ = 0;
    playsDrive_ = 0;
}

void CDriveChartData::SetSelected(int index)
{
    if (index >= -1 && index < count())
        selected_ = index;
}

std::string CDriveChartData::GetShortName(int team) const
{
    return team == 0 || team == 1 ? shortName_[team] : std::string();
}
