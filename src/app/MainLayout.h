#pragma once

#include "views/PageTable.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

// Which control a placement concerns. Controls that come in pairs or rows
// carry an index beside the role: 0 home, 1 visitor for the offense and
// defense tables; 0..5 for the offense titles (home passing, rushing,
// receiving, then visitor); 0..13 for the special-teams tables and titles.
enum class LayoutRole {
    Container,
    Configure,
    TeamStats,
    OverviewText,
    Passing,
    Rushing,
    Receiving,
    OffenseTitle,
    Defense,
    SpecialTeams,
    SpecialTitle,
    Scoring,
    PlayByPlay,
    ScoringOnly,
    HomeButton,
    VisitorButton,
    BothButton,
    Hint,
    DriveChart,
    DriveText,
    DriveLists, // the drives list and the plays list share one place
    Splitter,
    PeriodBox,
    Strip,         // the one-line strip of the header, on every page
    LineScore,     // Game Overview: the line score, right of the overview text
    SituationText, // Game Overview: the situation lines, under the line score
};

// Where one control goes: in the dialog's client coordinates, or in the page
// container's for the controls inside it.
struct Placement {
    LayoutRole role;
    int index = 0;
    QRect rect;
};

// What the layout reads: the client size, the container's scroll position,
// the current page, the natural size of every table in the container, the
// number of drive chart entries and the two drive-chart heights.
struct LayoutInput {
    QSize client;
    QPoint scroll;
    int page = PAGE_OVERVIEW;
    QSize teamStats;
    std::array<QSize, 2> passing, rushing, receiving, defense;
    std::array<QSize, 14> specialTeams;
    QSize scoring;
    int lineScoreWidth = 260; // as wide as its periods need, 260 at least
    int driveCount = 0;
    int chartHeight = 200;
    int textHeight = 50;
};

// What the layout decided: the placements of the current page's controls (and
// of the container and the Configure button, placed on every page), the
// container's content size where the page sets one, and the drive-chart
// heights, which the Drive Charts page may change.
struct LayoutResult {
    std::vector<Placement> placements;
    std::optional<QSize> content;
    int chartHeight = 200;
    int textHeight = 50;

    // The rectangle given to a control, or none when the layout left it alone.
    std::optional<QRect> Find(LayoutRole role, int index = 0) const;
};

// The page container sits right of the page buttons and under the header.
constexpr int kContainerLeft = 130;
constexpr int kContainerTop = 80;
// The strip runs along the top of the header right of the scoreboard, above
// every page picture and legend.
constexpr QRect kStripArea(312, 2, 0, 20); // width: to 4 pixels before the right edge
// The smallest client area the window keeps.
constexpr QSize kMinimumClientSize(510, 384);

// Places every control of the current page for the given client size.
LayoutResult ComputeLayout(const LayoutInput &input);
