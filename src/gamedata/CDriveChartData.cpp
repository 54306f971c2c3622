#include "CDriveChartData.h"

#include "CGameDocument.h"
#include "CTeamStats.h"
#include "DerivedDrives.h"
#include "PlayContext.h"
#include "TextNumbers.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <unordered_map>

using TextNumbers::LeadingInt;

namespace
{

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

// What a drive's entry is made from: its record's fields.
struct DriveFields {
    int driveIndex = 0;
    std::string vh, plays, yards, top;
    DriveEnd start, end;
};

// The entry of one drive from its fields.
CChartItem driveEntry(DriveFields fields, int fieldLength)
{
    CChartItem item;
    item.driveIndex = fields.driveIndex;
    item.team = fields.vh == "H" ? 0 : 1;
    const std::string &yards = fields.yards;
    item.plays = bounded(fields.plays);
    item.yards = bounded(yards);
    item.top = bounded(fields.top);
    item.fillColor = TeamColorsOf(item.team == 0 ? 0 : 1).background;
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
    DriveEnd &start = fields.start;
    DriveEnd &end = fields.end;
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

// The entry of drive `d` from its drive element.
CChartItem driveEntry(const CGameDocument &document, CXmlNode drive, int d, int fieldLength)
{
    return driveEntry(DriveFields{d, document.GetNodeText(drive, "@vh", "0"),
                                  document.GetNodeText(drive, "@plays", "0"),
                                  document.GetNodeText(drive, "@yards", "0"),
                                  document.GetNodeText(drive, "@top", "0"),
                                  splitDriveEnd(document.GetNodeText(drive, "@start", "0")),
                                  splitDriveEnd(document.GetNodeText(drive, "@end", "0"))},
                      fieldLength);
}

// A start or end worked out from the plays; its place is known when it has a spot.
DriveEnd derivedEnd(const DriveMarkFields &mark)
{
    return DriveEnd{mark.how, mark.quarter, mark.time, mark.spot, !mark.spot.empty()};
}

// The quarter of the score of each drive that scored, by its "driveindex".
std::unordered_map<std::string, std::string> scoreQuarters(const CGameDocument &document)
{
    std::unordered_map<std::string, std::string> quarterByIndex;
    for (const auto &[index, score] : firstByIndex(document, "/fbgame/scores/score", "@qtr"))
        quarterByIndex.emplace(index, document.GetNodeText(score, "@qtr", "0"));
    return quarterByIndex;
}

// True when `filter`'s scoring-only switch keeps drive `d`.
bool keptByScoring(const DriveFilter &filter,
                   const std::unordered_map<std::string, std::string> &scoreQuarterByIndex, int d)
{
    if (!filter.scoringOnly)
        return true;
    const auto score = scoreQuarterByIndex.find(std::to_string(d));
    return score != scoreQuarterByIndex.end() && LeadingInt(score->second) != 0;
}

// The drives worked out from the plays that `filter` asks for: a drive is in
// every quarter from the one it started in to the one it ended in.
std::vector<CChartItem> buildDerivedDrives(const CGameDocument &document, const DriveFilter &filter,
                                           const std::vector<DriveRecordFields> &drives,
                                           int fieldLength)
{
    const auto scoreQuarterByIndex = filter.scoringOnly
                                         ? scoreQuarters(document)
                                         : std::unordered_map<std::string, std::string>();
    std::vector<CChartItem> items;
    for (const DriveRecordFields &drive : drives) {
        if (filter.homeOnly && !filter.visitorOnly && drive.vh != "H")
            continue;
        if (filter.visitorOnly && !filter.homeOnly && drive.vh != "V")
            continue;
        const int firstQuarter = LeadingInt(drive.start.quarter);
        const int lastQuarter = std::max(firstQuarter, LeadingInt(drive.end.quarter));
        if (filter.quarter > 0 && (filter.quarter < firstQuarter || filter.quarter > lastQuarter))
            continue;
        if (!keptByScoring(filter, scoreQuarterByIndex, drive.driveIndex))
            continue;
        items.push_back(
            driveEntry(DriveFields{drive.driveIndex, drive.vh, drive.plays, drive.yards, drive.top,
                                   derivedEnd(drive.start), derivedEnd(drive.end)},
                       fieldLength));
    }
    return items;
}

// The drives `filter` asks for, or nothing when they cannot be selected.
std::optional<std::vector<CChartItem>> buildDrives(const CGameDocument &document,
                                                   const DriveFilter &filter, int fieldLength)
{
    const std::string quarterPredicate =
        filter.quarter > 0 ? "[@number='" + std::to_string(filter.quarter) + "']" : "";
    std::string teamPredicate;
    if (filter.homeOnly && !filter.visitorOnly)
        teamPredicate = "[@vh='H']";
    else if (filter.visitorOnly && !filter.homeOnly)
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
    const auto scoreQuarterByIndex = filter.scoringOnly
                                         ? scoreQuarters(document)
                                         : std::unordered_map<std::string, std::string>();

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
        if (!keptByScoring(filter, scoreQuarterByIndex, d))
            continue;
        const auto found = driveByIndex.find(std::to_string(d));
        if (found == driveByIndex.end())
            continue;
        entryOfDrive.emplace(d, items.size());
        items.push_back(driveEntry(document, found->second, d, fieldLength));
    }
    return items;
}

// The plays of drive `drive`, or nothing when they cannot be selected.
std::optional<std::vector<CChartItem>> buildPlays(const CGameDocument &document,
                                                  std::span<const CTeamStats, 2> teams, int drive,
                                                  int fieldLength)
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

    // Worked out for every play, once, when a play of the drive has no yards.
    std::optional<std::vector<PlayYards>> workedYards;
    std::vector<CChartItem> items;
    for (std::size_t ordinal = 0; ordinal < nodes->size(); ++ordinal) {
        const CXmlNode node = (*nodes)[ordinal];
        if (LeadingInt(document.GetNodeText(node, "@playid", "0")) != drive)
            continue;
        const PlayContext context = PlayContext::Parse(document.GetNodeText(node, "@context", "0"));
        const std::string type = document.GetNodeText(node, "@type", "0");
        CChartItem item;
        switch (type.empty() ? '\0' : type.front()) {
        case 'R':
            item.fillColor = CDriveChartData::colorR;
            break;
        case 'P':
            item.fillColor = CDriveChartData::colorP;
            break;
        case 'E':
            item.fillColor = CDriveChartData::colorE;
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
        // Stats programs set the clock on the plays where the crew synced it
        // (a drive's first play, kicks, scores); a play without one has no time
        // to show, rather than a clock of "0".
        item.startTime = Text(document.GetNodeText(node, "@clock", ""));
        const CXmlNode parent = document.SelectSingleNode(node, "..");
        if (!parent || parent != quarterNode) {
            quarterNode = parent;
            quarterNumber = bounded(document.GetNodeText(node, "../@number", "0"));
        }
        item.startQtr = quarterNumber;
        int y = 0;
        if (document.HasNode(node, "@yds")) {
            const std::string yards = document.GetNodeText(node, "@yds", "0");
            y = LeadingInt(yards);
            item.yards = Text(yards);
        } else {
            if (!workedYards)
                workedYards = DerivePlayYards(ReadGamePlays(document));
            // A play the records do not list has no yards to show.
            if (ordinal < workedYards->size()) {
                const PlayYards &worked = (*workedYards)[ordinal];
                y = worked.yards.value_or(0);
                item.yards = Text(worked.Text());
                item.yardsDerived = worked.derived && worked.yards.has_value();
            }
        }
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

} // namespace

CDriveChartData CDriveChartData::Load(const CGameDocument &document,
                                      std::span<const CTeamStats, 2> teams,
                                      const DriveFilter &filter, const CDriveChartData &previous)
{
    CDriveChartData list;
    list.shortName_ = {teams[0].GetTeamValue("Short Name"), teams[1].GetTeamValue("Short Name")};
    list.fieldLength_ = LeadingInt(document.GetText("/fbgame/venue/rules/@field", "0"));
    list.playsMode_ = filter.playsMode();
    list.playsDrive_ = list.playsMode_ ? *filter.playsOfDrive : 0;
    list.hasDrivesOrPlays_ = document.SelectSingleNode("/fbgame/drives/drive") ||
                             document.SelectSingleNode("/fbgame/plays/qtr/play");
    std::optional<std::vector<CChartItem>> items;
    if (list.playsMode_) {
        items = buildPlays(document, teams, list.playsDrive_, list.fieldLength_);
    } else if (const GameDrives worked = DrivesWithoutRecords(document); worked.derived) {
        list.derived_ = true;
        items = buildDerivedDrives(document, filter, worked.drives, list.fieldLength_);
    } else {
        items = buildDrives(document, filter, list.fieldLength_);
    }
    list.items_ = items ? std::move(*items) : previous.items_;
    return list;
}

CDriveChartData CDriveChartData::Load(const CGameDocument &document,
                                      std::span<const CTeamStats, 2> teams,
                                      const DriveFilter &filter)
{
    return Load(document, teams, filter, CDriveChartData());
}

std::string CDriveChartData::GetShortName(int team) const
{
    return team == 0 || team == 1 ? shortName_[team] : std::string();
}
