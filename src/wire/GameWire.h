#pragma once

#include "JsonWriter.h"
#include "views/TablePages.h"
#include "views/TeamColorChoice.h"

#include <array>
#include <vector>

class CDriveChartData;
class CTeamStats;
class GameSession;
class StatValues;
struct CChartItem;
struct DriveSummary;
struct GameLeaders;
struct PlayLine;
struct GameSituation;
struct ScoreboardState;

// The one description of the game's values and of the whole document the
// export writes and the live service serves, each member in the order of
// its name.
class GameWire
{
public:
    // One player's (or the team's) values by label.
    static void WriteValues(JsonWriter &writer, const StatValues &values);
    // {"players", "side", "values"}: the players in file order.
    static void WriteTeam(JsonWriter &writer, const CTeamStats &team);
    static void WriteScoreboard(JsonWriter &writer, const ScoreboardState &state);
    // The game at a glance; values the file does not give are null.
    static void WriteSituation(JsonWriter &writer, const GameSituation &situation);
    // One entry of the drive chart list, on no screen.
    static void WriteDriveChartItem(JsonWriter &writer, const CChartItem &item);
    // {"count", "derived" (only when true), "items"}.
    static void WriteDriveChart(JsonWriter &writer, const CDriveChartData &drives);
    // {"home", "visitor"}: each "#rrggbb".
    static void WriteColors(JsonWriter &writer, const TeamColorChoice &colors);

    // Every play as values: {"clock", "code", "down_distance", "drive",
    // "quarter", "spot", "team" ("home", "visitor" or null), "text", "yards"}.
    static void WritePlays(JsonWriter &writer, const std::vector<PlayLine> &plays);
    // Per category {"category", "columns", "home", "title", "visitor"}, each
    // team's leaders as {"name", "values"}.
    static void WriteLeaders(JsonWriter &writer, const GameLeaders &leaders);
    // The drive summary: {"clock", "end", "plays_yards", "quarter", "spot",
    // "start", "team", "top"} per drive.
    static void WriteDrives(JsonWriter &writer, const std::vector<DriveSummary> &drives);

    // The document's members that need no window: "teams", "season_teams"
    // (an empty object for a side whose season file is not given, as
    // `seasonGiven` tells), "scoreboard", "situation", "drive_chart" (of
    // `drives`), "colors" (the teams' `colors`), "pages" (every table asked
    // of `tables` as it is written) and, for pages that lay the game out
    // themselves, "plays", "leaders" and "drives" (the whole game's,
    // whatever `drives` holds). The members refer to `session`, `drives`
    // and `tables`, which must outlive them.
    static JsonWriter::Members Members(const GameSession &session, const CDriveChartData &drives,
                                       std::array<bool, 2> seasonGiven, const TableSource &tables,
                                       const TeamColorChoice &colors);
};
