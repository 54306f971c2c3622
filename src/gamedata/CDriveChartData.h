#pragma once

#include "CChartItem.h"
#include "DriveFilter.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CGameDocument;
class CTeamStats;

// The list the Drive Charts page shows: the drives of the game, filtered by
// quarter, team and scoring (drives mode), or the plays of one drive (plays
// mode). A value built from the game file by Load; the page builds a new one
// after every reload and every change of a filter or of the mode, and indexes
// into it are valid for that value only.
class CDriveChartData
{
public:
    // Farthest an entry's position lies from the home goal line, either way:
    // absurd spots in the file are placed there, so that every pixel computed
    // from a position stays in range.
    static constexpr int farthestYard = 1000;

    // Fill colours of rush, pass and other ("E") plays.
    static constexpr COLORREF colorR = RGB(255, 0, 0);
    static constexpr COLORREF colorP = RGB(0, 0, 255);
    static constexpr COLORREF colorE = RGB(255, 255, 0);

    // An empty list in drives mode.
    CDriveChartData() = default;

    // The list `filter` asks for, from the game document; `teams` is the
    // game's home and visitor team. When the document's list cannot be
    // selected, the entries of `previous` with the new short names and field
    // length. Throws std::bad_alloc when memory runs out, leaving `previous` whole.
    static CDriveChartData Load(const CGameDocument &document, std::span<const CTeamStats, 2> teams,
                                const DriveFilter &filter, const CDriveChartData &previous);
    // The same with an empty list as the previous one.
    static CDriveChartData Load(const CGameDocument &document, std::span<const CTeamStats, 2> teams,
                                const DriveFilter &filter);

    // Short name of team 0 (home) or 1 (visitor); empty for any other team.
    std::string GetShortName(int team) const;

    int count() const { return static_cast<int>(items_.size()); }
    // Entry `index`, 0 <= index < count().
    const CChartItem &item(int index) const { return items_.at(index); }
    const std::vector<CChartItem> &items() const { return items_; }

    int fieldLength() const { return fieldLength_; }
    bool playsMode() const { return playsMode_; }
    // In plays mode, the drive whose plays are listed; 0 in drives mode.
    int playsDrive() const { return playsDrive_; }
    // True when the listed drives were worked out from the plays of a file
    // that has plays but no drive records.
    bool derived() const { return derived_; }
    // False when the game file has neither drive records nor plays.
    bool hasDrivesOrPlays() const { return hasDrivesOrPlays_; }

    bool operator==(const CDriveChartData &) const = default;

private:
    std::vector<CChartItem> items_;
    std::array<std::string, 2> shortName_;
    int fieldLength_ = 0;
    bool playsMode_ = false;
    int playsDrive_ = 0;
    bool derived_ = false;
    bool hasDrivesOrPlays_ = false;
};
