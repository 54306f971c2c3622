#include "GameExport.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "platform/Fonts.h"
#include "views/GameJson.h"
#include "views/JsonStreamWriter.h"
#include "views/PagesJson.h"
#include "views/TextWrapper.h"

#include <QJsonArray>

namespace
{

// The tables' texts are measured in the font the window's tables use.
TextWrapper tableTextWrapper()
{
    return TextWrapper(DialogFont());
}

} // namespace

bool GameExport::LoadedWhole(const ReloadResult &loaded, QString &error)
{
    if (!loaded.gameOpened) {
        error = QString::fromStdString(loaded.gameError);
        return false;
    }
    for (int side = 0; side < 2; ++side) {
        if (loaded.seasonFailed[side]) {
            error = QString::fromStdString(loaded.seasonError[side]);
            return false;
        }
    }
    return true;
}

namespace
{

// The sides whose season file the request names.
std::array<bool, 2> seasonsGiven(const ExportRequest &request)
{
    return {!request.homeSeasonFile.empty(), !request.visitorSeasonFile.empty()};
}

// The two teams as `described` (players left out) at `depth`, with the
// players of `team(side)` formatted one at a time.
bool writeTeams(const QJsonArray &described, int depth, const JsonStreamWriter &writer,
                const std::function<const CTeamStats &(int side)> &team)
{
    return writer.Array(2, depth, [&](int side, int teamDepth) {
        const JsonStreamWriter::ValueWriter players = [&](int playersDepth) {
            return writer.Array(
                team(side).playerCount(), playersDepth, [&](int i, int playerDepth) {
                    return writer.Value(GameJson::Values(team(side).playerValues(i)), playerDepth);
                });
        };
        return writer.Object(described[side].toObject(), teamDepth, {{"players", players}});
    });
}

} // namespace

GameFiles GameExport::FilesOf(const ExportRequest &request)
{
    return {request.gameFile, request.homeSeasonFile, request.visitorSeasonFile};
}

GameJsonOptions GameExport::JsonOptionsOf(const ExportRequest &request)
{
    GameJsonOptions options;
    options.quarter = request.quarter;
    options.homeOnly = request.homeOnly;
    options.visitorOnly = request.visitorOnly;
    options.scoringOnly = request.scoringOnly;
    options.playsOfDrive = request.playsOfDrive;
    options.showTop = request.showTop;
    options.playByPlayWidth = request.playByPlayWidth;
    options.clientWidth = request.clientWidth;
    return options;
}

bool GameExport::Run(const ExportRequest &request, QJsonObject &result, QString &error)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(FilesOf(request));
    return Run(request, session, loaded, result, error);
}

bool GameExport::Run(const ExportRequest &request, const GameSession &session,
                     const ReloadResult &loaded, QJsonObject &result, QString &error)
{
    if (!LoadedWhole(loaded, error))
        return false;
    CDriveChartData drives;
    const TextWrapper wrapper = tableTextWrapper();
    result = GameJson::Describe(session, JsonOptionsOf(request), seasonsGiven(request), wrapper,
                                drives, GameJson::Lists::All);
    return true;
}

bool GameExport::Write(const ExportRequest &request, const Sink &write, QString &error,
                       const QJsonObject &windowMembers)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(FilesOf(request));
    return Write(request, session, loaded, write, error, windowMembers);
}

bool GameExport::Write(const ExportRequest &request, GameSession &session,
                       const ReloadResult &loaded, const Sink &write, QString &error,
                       const QJsonObject &windowMembers)
{
    CDriveChartData drives;
    if (!LoadedWhole(loaded, error))
        return false;
    const GameJsonOptions options = JsonOptionsOf(request);
    const TextWrapper wrapper = tableTextWrapper();
    QJsonObject result = GameJson::Describe(session, options, seasonsGiven(request), wrapper,
                                            drives, GameJson::Lists::None);
    for (auto member = windowMembers.begin(); member != windowMembers.end(); ++member)
        result.insert(member.key(), member.value());
    const JsonStreamWriter writer(write);
    using ValueWriter = JsonStreamWriter::ValueWriter;
    const ValueWriter items = [&](int depth) {
        return writer.Array(drives.count(), depth, [&](int i, int itemDepth) {
            return writer.Value(GameJson::DriveChartItem(drives.item(i)), itemDepth);
        });
    };
    const QJsonObject chart = result["drive_chart"].toObject();
    const ValueWriter driveChart = [&](int depth) {
        return writer.Object(chart, depth, {{"items", items}});
    };
    const ValueWriter teams = [&](int depth) {
        return writeTeams(result["teams"].toArray(), depth, writer,
                          [&](int side) -> const CTeamStats & { return session.team(side); });
    };
    const ValueWriter seasons = [&](int depth) {
        return writeTeams(result["season_teams"].toArray(), depth, writer,
                          [&](int side) -> const CTeamStats & { return session.season(side); });
    };
    // One page filled at a time, each table written and dropped before the next.
    const ValueWriter pages = [&](int depth) {
        return WritePagesJson(GameJson::PageTables(session, drives, options, wrapper), depth,
                              writer);
    };
    if (writer.Object(result, 0,
                      {{"drive_chart", driveChart},
                       {"teams", teams},
                       {"season_teams", seasons},
                       {"pages", pages}}))
        write("\n");
    return true;
}
