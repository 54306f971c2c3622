#pragma once

#include "CGameDocument.h"
#include "CSeasonStats.h"
#include "CTeamStats.h"
#include "PlayRecords.h"
#include "PlayYards.h"
#include "ScoreboardState.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>

// Paths of one reload; an empty season path means no season file for that side.
struct GameFiles {
    std::string game;
    std::string homeSeason;
    std::string visitorSeason;
};

// What one Reload found.
struct ReloadResult {
    bool gameOpened = false; // false: nothing in the session changed
    // "<path>: <reason>" when !gameOpened; for a file whose root is not
    // "fbgame", "<path> is a season file (root fbseas), not a game file" or
    // "<path> is not a game file (root <name>)".
    std::string gameError;
    std::array<bool, 2> seasonFailed{}; // a season path was set and its file could not be opened
    std::array<std::string, 2> seasonError; // "<path>: <reason>" per failed side
    std::array<bool, 2> seasonKept{};       // the season file was unchanged: document and team kept
};

// The sides (home first) whose season statistics a load gives: the one rule
// of whether a season file counts as given. `files` names a season file for
// the side and the load `loaded` read it.
std::array<bool, 2> SeasonsRead(const GameFiles &files, const ReloadResult &loaded);

// The game document, the two season documents, the two game teams (index 0
// home 'H', 1 visitor 'V'), the two season teams and the scoreboard values:
// what the main window and the export load, loaded one way. Reloads refill
// the objects in place, so references to them stay valid for the life of the
// session; everything it hands out is read-only.
class GameSession
{
public:
    // Called when a season file cannot be opened; true turns that side's season
    // statistics off for this load.
    using SeasonFailedHandler = std::function<bool(int side, const std::string &error)>;

    GameSession();
    ~GameSession();
    GameSession(const GameSession &) = delete;
    GameSession &operator=(const GameSession &) = delete;

    // Opens the game file (on failure returns at once, keeping the previous
    // state), then each season file whose path is not empty. A season file that
    // cannot be opened leaves that season document empty and calls
    // seasonFailed(side, error) when given; when it returns true that side's
    // season stats are off for this load (as with an empty path). Then loads
    // both game teams, each season team (LoadSeason, or Clear when its path is
    // empty or turned off) and the scoreboard values.
    //
    // A season file whose size, modification time and bytes are those of the
    // file the side's season document and team were loaded from is not parsed
    // again: both are kept, which gives what loading it again would give.
    ReloadResult Reload(const GameFiles &files, const SeasonFailedHandler &seasonFailed = {});

    const CGameDocument &game() const { return game_; }
    const CXmlDocument &seasonDocument(int side) const { return seasonDocuments_.at(side); }
    std::span<const CTeamStats, 2> teams() const { return teams_; }
    const CTeamStats &team(int side) const { return teams_.at(side); }
    std::span<const CSeasonStats, 2> seasons() const { return seasons_; }
    const CSeasonStats &season(int side) const { return seasons_.at(side); }
    const ScoreboardState &scoreboard() const { return scoreboard_; }
    // The plays of the game file, read the first time they are asked for
    // after a reload and shared by everything that shows them until the next.
    const GamePlays &plays() const;
    // The yards of plays(), in the same order, worked out as lazily.
    const std::vector<PlayYards> &playYards() const;

private:
    // The file a season document and its team were last loaded from.
    struct SeasonSource {
        bool valid = false; // the document and the team hold what the file gave
        std::string path;
        long long size = 0;
        long long modifiedSeconds = 0;
        long long modifiedNanoseconds = 0;
        std::string bytes;
    };

    // Opens the season document of `side` unless its file is unchanged;
    // sets the side's result.
    void openSeason(int side, const std::string &path, ReloadResult &result);

    CGameDocument game_;
    std::array<CXmlDocument, 2> seasonDocuments_;
    std::array<CTeamStats, 2> teams_;
    std::array<CSeasonStats, 2> seasons_;
    ScoreboardState scoreboard_;
    std::array<SeasonSource, 2> seasonSources_;
    // Follow from game_ alone; emptied by every reload, filled on first use.
    mutable std::optional<GamePlays> plays_;
    mutable std::optional<std::vector<PlayYards>> playYards_;
};
