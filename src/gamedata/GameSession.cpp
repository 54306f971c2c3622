#include "GameSession.h"

namespace
{

std::string openError(const std::string &path, const CXmlDocument &document)
{
    return path + ": " + document.LastError();
}

} // namespace

GameSession::GameSession()
{
    teams_[0].SetSide('H');
    teams_[1].SetSide('V');
    seasons_[0].SetSide('H');
    seasons_[1].SetSide('V');
}

GameSession::~GameSession() = default;

ReloadResult GameSession::Reload(const GameFiles &files, const SeasonFailedHandler &seasonFailed)
{
    ReloadResult result;
    if (!game_.Open(files.game)) {
        result.gameError = openError(files.game, game_);
        return result;
    }
    result.gameOpened = true;

    const std::array<const std::string *, 2> seasonPaths = {&files.homeSeason,
                                                            &files.visitorSeason};
    std::array<bool, 2> seasonOn{};
    for (int side = 0; side < 2; ++side) {
        const std::string &path = *seasonPaths[side];
        seasonOn[side] = !path.empty();
        if (path.empty()) {
            seasonDocuments_[side].Recreate();
            continue;
        }
        if (!seasonDocuments_[side].Open(path)) {
            result.seasonFailed[side] = true;
            result.seasonError[side] = openError(path, seasonDocuments_[side]);
            seasonDocuments_[side].Recreate();
            if (seasonFailed && seasonFailed(side, result.seasonError[side]))
                seasonOn[side] = false;
        }
    }

    for (CTeamStats &team : teams_)
        team.LoadGame(game_);
    for (int side = 0; side < 2; ++side) {
        if (seasonOn[side])
            seasons_[side].LoadSeason(seasonDocuments_[side]);
        else
            seasons_[side].Clear();
    }
    scoreboard_.Read(game_);
    return result;
}
