#include "GameExport.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/GameSituationJson.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "pages/TableJson.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"
#include "views/ChartListTables.h"
#include "views/ColumnFitting.h"
#include "views/JsonStreamWriter.h"
#include "views/PagesJson.h"
#include "views/PlayByPlayTable.h"
#include "views/PlayerStatTable.h"
#include "views/ScoringTable.h"
#include "views/TeamStatsTable.h"
#include "views/YardageSummaryTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <map>
#include <memory>

namespace
{

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

QJsonObject valuesObject(const StatValues &values)
{
    QJsonObject object;
    values.forEach([&object](std::string_view label, const std::string &value) {
        object.insert(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())),
                      text(value));
    });
    return object;
}

// The team with its players; with `withPlayers` false, "players" is left empty.
QJsonObject teamObject(const CTeamStats &team, bool withPlayers = true)
{
    QJsonArray players;
    for (int i = 0; withPlayers && i < team.playerCount(); ++i)
        players.append(valuesObject(team.playerValues(i)));
    return QJsonObject{{"side", QString(QChar(team.side()))},
                       {"values", valuesObject(team.teamValues())},
                       {"players", players}};
}

QString colorText(COLORREF color)
{
    return QString::asprintf("#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
}

QJsonObject itemObject(const CChartItem &item)
{
    QJsonObject object{
        {"team", item.team},
        {"lowYard", item.lowYard},
        {"highYard", item.highYard},
        {"driveIndex", item.driveIndex},
        {"reversed", item.reversed},
        {"lostGround", item.lostGround},
        {"startSpot", text(item.startSpot)},
        {"endSpot", text(item.endSpot)},
        {"startTime", text(item.startTime)},
        {"endTime", text(item.endTime)},
        {"startHow", text(item.startHow)},
        {"endHow", text(item.endHow)},
        {"startQtr", text(item.startQtr)},
        {"endQtr", text(item.endQtr)},
        {"plays", text(item.plays)},
        {"yards", text(item.yards)},
        {"top", text(item.top)},
        // The export's list is on no screen.
        {"hitRect", QJsonObject{{"left", -1}, {"top", -1}, {"right", -1}, {"bottom", -1}}},
        {"fillColor", colorText(item.fillColor)},
        {"outlineColor", colorText(item.outlineColor)},
    };
    if (item.yardsDerived)
        object["yards_derived"] = true;
    return object;
}

// The statistics pages as the main window makes them, in windows that are
// never shown.
class OffscreenPages
{
public:
    explicit OffscreenPages(const ExportRequest &request)
    {
        // The tables take their sizes from the font they are made with.
        dialog_.setFont(DialogFont());
        container_ = std::make_unique<CPageContainerWnd>(&dialog_, IDC_PAGE_CONTAINER);
        QFont bold = DialogFont();
        bold.setWeight(QFont::Bold);
        pages_ = std::make_unique<StatPages>(&dialog_, container_.get(), bold);
        if (request.playByPlayWidth)
            pages_->playByPlay->SetColumnWidth(CPlayByPlayGrid::kPlayColumn,
                                               *request.playByPlayWidth);
    }

    StatPages &pages() { return *pages_; }

private:
    QWidget dialog_;
    std::unique_ptr<CPageContainerWnd> container_;
    std::unique_ptr<StatPages> pages_;
};

// The layout of a player table by its page and name.
const StatTableLayout &playerLayout(std::string_view page, std::string_view name)
{
    const std::span<const NamedStatTable> tables =
        page == "offense"   ? std::span<const NamedStatTable>(StatColumnSets::kOffenseTables)
        : page == "defense" ? std::span<const NamedStatTable>(StatColumnSets::kDefenseTables)
                            : std::span<const NamedStatTable>(StatColumnSets::kSpecialTeamsTables);
    for (const NamedStatTable &table : tables) {
        if (table.name == name)
            return *table.layout;
    }
    return *tables.front().layout;
}

// The tables of the pages, each built from the session when it is written;
// the off-screen play-by-play window only lends the font and "Play" column
// width its texts wrap in.
PageTableSource pageTables(const ExportRequest &request, const GameSession &session,
                           const CDriveChartData &drives, StatPages &windows)
{
    const auto build = [&request, &session, &drives, &windows](std::string_view page, int side,
                                                               std::string_view name) -> StatTable {
        if (page == "yardage")
            return BuildYardageSummaryTable(session.teams());
        if (page == "team_stats")
            return BuildTeamStatsTable(session.teams(), request.showTop);
        if (page == "offense" || page == "defense" || page == "special_teams")
            return BuildPlayerStatTable(playerLayout(page, name), session.team(side),
                                        session.season(side));
        if (page == "scoring")
            return ScoringTable::Build(session, request.showTop);
        if (page == "drives")
            return BuildDriveListTable(drives, request.showTop);
        if (page == "plays")
            return BuildPlayListTable(drives);
        // The play-by-play wraps its texts in the font and "Play" column width
        // of the table the window shows it in.
        return PlayByPlayTable::Build(session,
                                      windows.playByPlay->Options(request.quarter, request.showTop),
                                      windows.playByPlay->Wrapper());
    };
    // Fitted to the page as the window fits them at the request's width.
    return [build, &request, &windows](std::string_view page, int side, std::string_view name) {
        StatTable table = build(page, side, name);
        FitPageTable(table, page, windows.playByPlay->font(),
                     PageWidthForClient(request.clientWidth));
        return table;
    };
}

// Every page filled, described whole.
QJsonObject pagesObject(const ExportRequest &request, const GameSession &session,
                        const CDriveChartData &drives)
{
    OffscreenPages offscreen(request);
    return PagesToJson(pageTables(request, session, drives, offscreen.pages()));
}

QJsonObject scoreboardObject(const ScoreboardState &state)
{
    return QJsonObject{
        {"home_score", state.homeScore},
        {"visitor_score", state.visitorScore},
        {"minutes", state.minutes},
        {"seconds", state.seconds},
        {"home_has_ball", state.homeHasBall != 0},
        {"down", state.down},
        {"to_go", state.toGo},
        {"ball_on", state.ballOn},
        {"quarter", state.quarter},
        {"quarters", state.quarters},
        {"final", state.final != 0},
    };
}

// The game at a glance, as the one writer of the situation's JSON gives it.
QJsonObject situationObject(const GameSession &session)
{
    const GameSituation situation =
        GameSituation::Read(session.game(), session.teams(), session.scoreboard());
    const std::string wrapped = "{" + GameSituationJsonMember(situation) + "}";
    return QJsonDocument::fromJson(QByteArray::fromStdString(wrapped))["situation"].toObject();
}

// The drive chart list the request's filter asks for.
DriveFilter driveFilter(const ExportRequest &request)
{
    DriveFilter filter;
    filter.quarter = request.quarter;
    filter.homeOnly = request.homeOnly;
    filter.visitorOnly = request.visitorOnly;
    filter.scoringOnly = request.scoringOnly;
    filter.playsOfDrive = request.playsOfDrive;
    return filter;
}

// False with `error` naming the file when the load `loaded` tells of read
// less than the request names.
bool loadedWhole(const ReloadResult &loaded, QString &error)
{
    if (!loaded.gameOpened) {
        error = text(loaded.gameError);
        return false;
    }
    for (int side = 0; side < 2; ++side) {
        if (loaded.seasonFailed[side]) {
            error = text(loaded.seasonError[side]);
            return false;
        }
    }
    return true;
}

// Describes the game `session` holds and builds its drive chart list into
// `drives`; with `whole` false the lists that grow with the file, the drive
// chart's entries, the players and the pages, are left empty.
void describe(const ExportRequest &request, const GameSession &session, CDriveChartData &drives,
              QJsonObject &result, bool whole)
{
    QJsonArray teamArray, seasonArray;
    for (int side = 0; side < 2; ++side) {
        teamArray.append(teamObject(session.team(side), whole));
        const bool seasonGiven =
            !(side == 0 ? request.homeSeasonFile : request.visitorSeasonFile).empty();
        seasonArray.append(seasonGiven ? teamObject(session.season(side), whole) : QJsonObject());
    }

    drives = CDriveChartData::Load(session.game(), session.teams(), driveFilter(request));

    result = QJsonObject{
        {"teams", teamArray},
        {"season_teams", seasonArray},
        {"scoreboard", scoreboardObject(session.scoreboard())},
        {"situation", situationObject(session)},
        {"drive_chart", QJsonObject{{"count", drives.count()}, {"items", QJsonArray()}}},
        {"pages", whole ? pagesObject(request, session, drives) : QJsonObject()},
    };
    if (drives.derived()) {
        QJsonObject chart = result["drive_chart"].toObject();
        chart["derived"] = true;
        result["drive_chart"] = chart;
    }
    if (whole) {
        QJsonArray items;
        for (int i = 0; i < drives.count(); ++i)
            items.append(itemObject(drives.item(i)));
        QJsonObject chart = result["drive_chart"].toObject();
        chart["items"] = items;
        result["drive_chart"] = chart;
    }
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
                    return writer.Value(valuesObject(team(side).playerValues(i)), playerDepth);
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

bool GameExport::Run(const ExportRequest &request, QJsonObject &result, QString &error)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(FilesOf(request));
    return Run(request, session, loaded, result, error);
}

bool GameExport::Run(const ExportRequest &request, const GameSession &session,
                     const ReloadResult &loaded, QJsonObject &result, QString &error)
{
    if (!loadedWhole(loaded, error))
        return false;
    CDriveChartData drives;
    describe(request, session, drives, result, true);
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
    QJsonObject result;
    CDriveChartData drives;
    if (!loadedWhole(loaded, error))
        return false;
    describe(request, session, drives, result, false);
    for (auto member = windowMembers.begin(); member != windowMembers.end(); ++member)
        result.insert(member.key(), member.value());
    const JsonStreamWriter writer(write);
    using ValueWriter = JsonStreamWriter::ValueWriter;
    const ValueWriter items = [&](int depth) {
        return writer.Array(drives.count(), depth, [&](int i, int itemDepth) {
            return writer.Value(itemObject(drives.item(i)), itemDepth);
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
        OffscreenPages offscreen(request);
        return WritePagesJson(pageTables(request, session, drives, offscreen.pages()), depth,
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
