#pragma once

#include "CChartItem.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CGameDocument;
class CTeamStats;

// The list the Drive Charts page shows: the drives of the game, filtered by
// quarter, team and scoring (drives mode), or the plays of one drive (plays
// mode). Rebuilt from the game file after every reload and every change of a
// filter or of the mode; indexes into it are valid until the next rebuild.
class CDriveChartData
{
public:
    CDriveChartData() = default;
    virtual ~CDriveChartData() = default;

    // Farthest an entry's position lies from the home goal line, either way:
    // absurd spots in the file are placed there, so that every pixel computed
    // from a position stays in range.
    static constexpr int farthestYard = 1000;

    // Filters, written by the owner before each LoadDrives.
    int quarter = 0;     // 0 whole game, k >= 1 quarter k only
    int homeOnly = 0;    // only home drives
    int visitorOnly = 0; // only visitor drives
    int scoringOnly = 0; // only drives that produced a score

    // Fill colours of rush, pass and other ("E") plays.
    COLORREF colorR = RGB(255, 0, 0);
    COLORREF colorP = RGB(0, 0, 255);
    COLORREF colorE = RGB(255, 255, 0);

    // Rebuilds the list from the game document; in plays mode, the plays of
    // drive playsDrive(). `teams` is the game's home and visitor team. When it
    // throws (std::bad_alloc) the list, names and field length stay as they were.
    void LoadDrives(const CGameDocument &document, std::span<const CTeamStats, 2> teams);
    // Rebuilds the list with the plays of drive playsDrive(); the same guarantee.
    void LoadPlays(const CGameDocument &document, std::span<const CTeamStats, 2> teams);

    // Switches to plays mode for drive `driveIndex` (ignored when negative).
    // Does not reload.
    void ShowPlaysOf(int driveIndex);
    // Switches back to drives mode. Does not reload.
    void ShowDrives();

    // Selects entry `index` when -1 <= index < count(); otherwise no change.
    void SetSelected(int index);
    int selected() const { return selected_; }

    // Short name of team 0 (home) or 1 (visitor).
    std::string GetShortName(int team) const;

    int count() const { return static_cast<int>(items_.size()); }
    // Entry `index`, 0 <= index < count().
    const CChartItem &item(int index) const { return items_.at(index); }

    // Records where the view drew entry `index` (all -1: not on screen).
    // Ignored when the index is out of range.
    void SetHitRect(int index, const CRect &rect);
    // Marks every entry as not on screen.
    void ClearHitRects();

    int fieldLength() const { return fieldLength_; }
    bool playsMode() const { return playsMode_ != 0; }
    int playsDrive() const { return playsDrive_; }

private:
    // The new list, or nothing when the selection cannot be made.
    std::optional<std::vector<CChartItem>> buildDrives(const CGameDocument &document,
                                                       int fieldLength) const;
    std::optional<std::vector<CChartItem>> buildPlays(const CGameDocument &document,
                                                      std::span<const CTeamStats, 2> teams,
                                                      int fieldLength) const;

    std::vector<CChartItem> items_;
    int selected_ = -1;
    std::array<std::string, 2> shortName_;
    int fieldLength_ = 0;
    int playsMode_ = 0;
    int playsDrive_ = 0;
};
