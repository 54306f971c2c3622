#pragma once

#include "JsonWriter.h"
#include "views/TablePages.h"
#include "views/TeamColorChoice.h"

#include <array>

class CDriveChartData;
class CTeamStats;
class GameSession;
class StatValues;
struct CChartItem;
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

    // The document's members that need no window: "teams", "season_teams"
    // (an empty object for a side whose season file is not given, as
    // `seasonGiven` tells), "scoreboard", "situation", "drive_chart" (of
    // `drives`), "colors" (the teams' `colors`) and "pages" (every table
    // asked of `tables` as it is written). The members refer to `session`,
    // `drives` and `tables`, which must outlive them.
    static JsonWriter::Members Members(const GameSession &session, const CDriveChartData &drives,
                                       std::array<bool, 2> seasonGiven, const TableSource &tables,
                                       const TeamColorChoice &colors);
};
