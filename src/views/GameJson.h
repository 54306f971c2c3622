#pragma once

#include "PagesJson.h"

#include <QByteArray>
#include <QJsonObject>
#include <array>
#include <map>
#include <optional>

class CDriveChartData;
class CTeamStats;
class GameSession;
class StatValues;
class TextWrapper;
struct CChartItem;
struct DriveFilter;
struct ScoreboardState;

// What a description of the game is asked to show: the drive chart list's
// filters, the Show Time of Possession setting, the play-by-play's period
// and "Play" column width.
struct GameJsonOptions {
    int quarter = 0; // 0 the whole game
    bool homeOnly = false;
    bool visitorOnly = false;
    bool scoringOnly = false;
    std::optional<int> playsOfDrive; // list the plays of this drive instead of the drives
    bool showTop = true;
    std::optional<int> playByPlayWidth; // empty: the width the window starts with
    int clientWidth = 1024;             // the window's client width the tables are fitted to
};

// The game a session holds as JSON values: "teams", "season_teams",
// "scoreboard", "situation", "drive_chart" and "pages", every statistics
// table as the main window fills it. Only values: the texts are measured
// with the wrapper the caller gives, in the font the window's tables use.
class GameJson
{
public:
    // How much of the lists that grow with the file a description holds.
    enum class Lists {
        None,        // no players, no drive chart entries, no tables: written piece by piece
        AllButPages, // everything but the tables of "pages", which is empty
        All,
    };

    // {"side", "values", "players"}; with `withPlayers` false "players" is empty.
    static QJsonObject Team(const CTeamStats &team, bool withPlayers = true);
    // One player's (or the team's) values by label.
    static QJsonObject Values(const StatValues &values);
    // One entry of the drive chart list, on no screen.
    static QJsonObject DriveChartItem(const CChartItem &item);
    // QJsonDocument(Team(team)).toJson(Compact) and the same of Describe's
    // "drive_chart" for `drives`, byte for byte, written straight from the
    // values: the live service writes them on every reload, and the object
    // tree in between costs most of that.
    static QByteArray TeamCompactJson(const CTeamStats &team);
    static QByteArray DriveChartCompactJson(const CDriveChartData &drives);
    static QJsonObject Scoreboard(const ScoreboardState &state);
    // The game at a glance, as the one writer of the situation's JSON gives it.
    static QJsonObject Situation(const GameSession &session);
    // The drive chart list the options ask for.
    static DriveFilter Filter(const GameJsonOptions &options);

    // Every table of the pages, each built from `session` when asked for;
    // the play-by-play's texts are wrapped by `wrapper`.
    static PageTableSource PageTables(const GameSession &session, const CDriveChartData &drives,
                                      const GameJsonOptions &options, const TextWrapper &wrapper);

    // Describes `session` and builds its drive chart list into `drives`.
    // `seasonGiven` tells the sides whose season file was read ("season_teams"
    // holds an empty object for the others). `lists` tells whether the lists
    // that grow with the file (the players, the drive chart's entries, the
    // pages) are filled or left empty for the caller.
    static QJsonObject Describe(const GameSession &session, const GameJsonOptions &options,
                                std::array<bool, 2> seasonGiven, const TextWrapper &wrapper,
                                CDriveChartData &drives, Lists lists);
    // Describe's members with their lists but "pages", by name, each as
    // compact JSON text; "situation" as its own writer orders it.
    static std::map<QString, QByteArray> CompactMembers(const GameSession &session,
                                                        const GameJsonOptions &options,
                                                        std::array<bool, 2> seasonGiven,
                                                        CDriveChartData &drives);
};
