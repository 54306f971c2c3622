#pragma once

#include "TableColumn.h"

#include <array>
#include <span>
#include <string_view>

// One column of a player table: header, alignment, width in pixels, sort
// kind, leader flag, and the player value label it shows. Column 0 shows the player's "Name"; a
// column without a label is an empty separator drawn in the button-face colour.
struct StatColumn {
    std::string_view header;
    TableAlignment alignment;
    int width;
    TableSortKind sortKind;
    bool leaders;
    std::string_view label;

    bool IsSeparator() const { return label.empty(); }
};

// A player table: its columns, the label whose value decides which players
// get a row (a value of 0 leaves the player out), and the column the page
// sorts it by after every fill.
struct StatTableLayout {
    std::span<const StatColumn> columns;
    std::string_view gateLabel;
    int defaultSortColumn;
};

// The column sets of the Offense, Defense and Special Teams pages.
namespace StatColumnSets
{
extern const StatTableLayout kPassing;
extern const StatTableLayout kRushing;
extern const StatTableLayout kReceiving;
extern const StatTableLayout kDefense;
extern const StatTableLayout kFieldGoals;
extern const StatTableLayout kPunting;
extern const StatTableLayout kKickoffs;
extern const StatTableLayout kKickReturns;
extern const StatTableLayout kPuntReturns;
extern const StatTableLayout kIntReturns;
extern const StatTableLayout kFumbleReturns;
} // namespace StatColumnSets

// A player table of a page: its name in the export ("field_goals"), the
// title above it ("Field Goals") and its columns.
struct NamedStatTable {
    std::string_view name;
    std::string_view title;
    const StatTableLayout *layout;
};

namespace StatColumnSets
{
// The tables of the Offense page, of the Defense page and of the Special
// Teams page, in the order the pages show them.
extern const std::array<NamedStatTable, 3> kOffenseTables;
extern const std::array<NamedStatTable, 1> kDefenseTables;
extern const std::array<NamedStatTable, 7> kSpecialTeamsTables;
} // namespace StatColumnSets
