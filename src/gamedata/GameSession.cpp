#include "GameSession.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string openError(const std::string &path, const CXmlDocument &document)
{
    return path + ": " + document.LastError();
}

// Why the game file was not taken, in one line that names it.
std::string gameOpenError(const std::string &path, const CXmlDocument &document)
{
    const XmlLoadError &error = document.LastLoadError();
    if (error.status != XmlLoadError::Status::WrongRoot)
        return openError(path, document);
    const std::string &found = document.RefusedRoot();
    if (found == "fbseas")
        return path + " is a season file (root fbseas), not a game file";
    // An element name may be as long as the file; the line stays a line.
    constexpr std::size_t longestName = 64;
    const std::string root =
        found.size() > longestName ? found.substr(0, longestName) + "..." : found;
    return path + " is not a game file (root " + root + ")";
}

// Larger season files are parsed on every reload rather than held twice.
constexpr off_t maximumSeasonSize = 64 * 1024 * 1024;

// Size and modification time of a regular file; false for anything else.
bool statRegularFile(const std::string &path, struct stat &info)
{
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// True when the file holds exactly `bytes`; reading stops at the first
// difference.
bool holdsBytes(const std::string &path, const std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    char buffer[1 << 16];
    size_t compared = 0;
    bool same = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            same = got == 0 && compared == bytes.size();
            break;
        }
        const size_t size = static_cast<size_t>(got);
        if (size > bytes.size() - compared ||
            std::memcmp(buffer, bytes.data() + compared, size) != 0) {
            same = false;
            break;
        }
        compared += size;
    }
    ::close(fd);
    return same;
}

} // namespace

GameSession::GameSession()
{
    // Another XML file named as the game (a season file, a web page) is not
    // a game: it would show an empty one.
    game_.RequireRoot("fbgame");
    teams_[0].SetSide('H');
    teams_[1].SetSide('V');
    seasons_[0].SetSide('H');
    seasons_[1].SetSide('V');
}

GameSession::~GameSession() = default;

ReloadResult GameSession::Reload(const GameFiles &files, const SeasonFailedHandler &seasonFailed)
{
    ReloadResult result;
    plays_.reset();
    playYards_.reset();
    if (!game_.Open(files.game)) {
        result.gameError = gameOpenError(files.game, game_);
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
        openSeason(side, path, result);
        if (result.seasonFailed[side] && seasonFailed &&
            seasonFailed(side, result.seasonError[side]))
            seasonOn[side] = false;
    }

    for (CTeamStats &team : teams_)
        team.LoadGame(game_);
    for (int side = 0; side < 2; ++side) {
        SeasonSource &source = seasonSources_[side];
        if (!seasonOn[side]) {
            seasons_[side].Clear();
            source = SeasonSource{};
        } else if (!result.seasonKept[side]) {
            seasons_[side].LoadSeason(seasonDocuments_[side]);
            source.valid = !source.path.empty();
        }
    }
    scoreboard_.Read(game_);
    return result;
}

const GamePlays &GameSession::plays() const
{
    if (!plays_)
        plays_ = ReadGamePlays(game_);
    return *plays_;
}

const std::vector<PlayYards> &GameSession::playYards() const
{
    if (!playYards_)
        playYards_ = DerivePlayYards(plays());
    return *playYards_;
}

void GameSession::openSeason(int side, const std::string &path, ReloadResult &result)
{
    SeasonSource &source = seasonSources_[side];
    struct stat before {
    };
    const bool regular = statRegularFile(path, before);
    if (regular && source.valid && source.path == path && before.st_size == source.size &&
        before.st_mtim.tv_sec == source.modifiedSeconds &&
        before.st_mtim.tv_nsec == source.modifiedNanoseconds && holdsBytes(path, source.bytes)) {
        result.seasonKept[side] = true;
        return;
    }

    source = SeasonSource{};
    // The file is opened once: the bytes parsed are the bytes kept.
    std::string bytes;
    CXmlDocument &document = seasonDocuments_[side];
    if (!document.Open(path, bytes)) {
        result.seasonFailed[side] = true;
        result.seasonError[side] = openError(path, document);
        document.Recreate();
        return;
    }
    // The size and time seen before the copy belong to these bytes only when
    // they did not change across it; otherwise the next reload parses the
    // file again. A change that kept both is caught there: a file is kept only
    // while it holds exactly the bytes parsed.
    struct stat after {
    };
    if (regular && before.st_size <= maximumSeasonSize && statRegularFile(path, after) &&
        after.st_size == before.st_size && after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
        after.st_mtim.tv_nsec == before.st_mtim.tv_nsec &&
        bytes.size() == static_cast<size_t>(after.st_size)) {
        source.path = path;
        source.size = before.st_size;
        source.modifiedSeconds = before.st_mtim.tv_sec;
        source.modifiedNanoseconds = before.st_mtim.tv_nsec;
        source.bytes = std::move(bytes);
    }
}

std::array<bool, 2> SeasonsRead(const GameFiles &files, const ReloadResult &loaded)
{
    return {!files.homeSeason.empty() && !loaded.seasonFailed[0],
            !files.visitorSeason.empty() && !loaded.seasonFailed[1]};
}
