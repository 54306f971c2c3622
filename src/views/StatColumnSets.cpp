#include "StatColumnSets.h"

#include <array>

namespace StatColumnSets
{
namespace
{

constexpr StatColumn kName{"Name", TableAlignment::Left, 100, TableSortKind::Text, false, "Name"};
constexpr StatColumn kSeparator{"", TableAlignment::Center, 6, TableSortKind::Text, false, ""};

// A right-aligned, integer column with leaders, the usual statistics column.
constexpr StatColumn Count(std::string_view header, std::string_view label, int width = 33)
{
    return {header, TableAlignment::Right, width, TableSortKind::Integer, true, label};
}

constexpr std::array kPassingColumns{
    kName,
    Count("CMP", "Pass Cmp"),
    Count("ATT", "Pass Att"),
    Count("INT", "Pass Int"),
    Count("YDS", "Pass Yds"),
    Count("TD", "Pass TD"),
    Count("LNG", "Pass Lng"),
    Count("SCK", "Pass Sck"),
};

// Rushing and receiving share one shape; the average is a real number.
constexpr std::array<StatColumn, 6> CarryColumns(std::string_view countHeader,
                                                 std::string_view countLabel,
                                                 std::string_view yards, std::string_view td,
                                                 std::string_view longest, std::string_view avg)
{
    return {kName,
            Count(countHeader, countLabel),
            Count("YDS", yards),
            Count("TD", td),
            Count("LNG", longest),
            {"AVG", TableAlignment::Right, 33, TableSortKind::Real, true, avg}};
}

constexpr auto kRushingColumns =
    CarryColumns("ATT", "Rush Att", "Rush Yds", "Rush TD", "Rush Lng", "Rush Avg");
constexpr auto kReceivingColumns =
    CarryColumns("REC", "Rcv No", "Rcv Yds", "Rcv TD", "Rcv Lng", "Rcv Avg");

constexpr std::array kDefenseColumns{
    kName,
    kSeparator,
    Count("U", "Def UTack"),
    Count("A", "Def ATack"),
    Count("TOT", "Def TTack"),
    kSeparator,
    Count("TFL", "Def TFL"),
    Count("YDS", "Def TFL Yds"),
    Count("SCK", "Def Sck"),
    Count("YDS", "Def Sck Yds"),
    kSeparator,
    Count("INT", "Def Int"),
    Count("YDS", "Def Int Yds"),
    Count("PBU", "Def PBU"),
    kSeparator,
    Count("BLK", "Def Blk"),
    kSeparator,
    Count("FF", "Def FF"),
    Count("FR", "Def FR"),
};

constexpr std::array kFieldGoalColumns{
    kName,
    Count("MADE", "FG Made", 34),
    Count("ATT", "FG Att"),
    Count("LNG", "FG Lng"),
    Count("BLKD", "FG Blkd"),
    Count("PAT", "FG PAT"),
};

constexpr std::array kPuntingColumns{
    kName,
    Count("#", "Punt No"),
    Count("YDS", "Punt Yds"),
    Count("LNG", "Punt Lng"),
    Count("BLKD", "Punt Blkd"),
    Count("TB", "Punt TB"),
    Count("+50", "Punt +50"),
    Count("IN20", "Punt In20"),
};

constexpr std::array kKickoffColumns{
    kName,
    Count("#", "KO No"),
    Count("YDS", "KO Yds"),
    Count("TB", "KO TB"),
};

// The four return tables share one column set and differ in their labels.
constexpr std::array<StatColumn, 5> ReturnColumns(std::string_view number, std::string_view yards,
                                                  std::string_view td, std::string_view longest)
{
    return {kName, Count("#", number), Count("YDS", yards), Count("TD", td), Count("LNG", longest)};
}

constexpr auto kKickReturnColumns = ReturnColumns("KR No", "KR Yds", "KR TD", "KR Lng");
constexpr auto kPuntReturnColumns = ReturnColumns("PR No", "PR Yds", "PR TD", "PR Lng");
constexpr auto kIntReturnColumns = ReturnColumns("IR No", "IR Yds", "IR TD", "IR Lng");
constexpr auto kFumbleReturnColumns = ReturnColumns("FR No", "FR Yds", "FR TD", "FR Lng");

} // namespace

// Offense tables sort by name, defense by solo tackles, special teams by attempts.
const StatTableLayout kPassing{kPassingColumns, "Pass Att", 0};
const StatTableLayout kRushing{kRushingColumns, "Rush Att", 0};
const StatTableLayout kReceiving{kReceivingColumns, "Rcv No", 0};
const StatTableLayout kDefense{kDefenseColumns, "Def Has", 2};
const StatTableLayout kFieldGoals{kFieldGoalColumns, "FG Att", 1};
const StatTableLayout kPunting{kPuntingColumns, "Punt No", 1};
const StatTableLayout kKickoffs{kKickoffColumns, "KO No", 1};
const StatTableLayout kKickReturns{kKickReturnColumns, "KR No", 1};
const StatTableLayout kPuntReturns{kPuntReturnColumns, "PR No", 1};
const StatTableLayout kIntReturns{kIntReturnColumns, "IR No", 1};
const StatTableLayout kFumbleReturns{kFumbleReturnColumns, "FR No", 1};

const std::array<NamedStatTable, 3> kOffenseTables{{
    {"passing", "Passing", &kPassing},
    {"rushing", "Rushing", &kRushing},
    {"receiving", "Receiving", &kReceiving},
}};
const std::array<NamedStatTable, 1> kDefenseTables{{{"defense", "Defense", &kDefense}}};
const std::array<NamedStatTable, 7> kSpecialTeamsTables{{
    {"field_goals", "Field Goals", &kFieldGoals},
    {"punting", "Punting", &kPunting},
    {"kickoffs", "Kickoffs", &kKickoffs},
    {"kick_returns", "Kick Returns", &kKickReturns},
    {"punt_returns", "Punt Returns", &kPuntReturns},
    {"int_returns", "Int Returns", &kIntReturns},
    {"fumble_returns", "Fumble Returns", &kFumbleReturns},
}};

} // namespace StatColumnSets
