#include "GameExport.h"

#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "pages/TableJson.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"

#include <QJsonArray>
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
    return QJsonObject{
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
        {"hitRect", QJsonObject{{"left", item.hitRect.left},
                                {"top", item.hitRect.top},
                                {"right", item.hitRect.right},
                                {"bottom", item.hitRect.bottom}}},
        {"fillColor", colorText(item.fillColor)},
        {"outlineColor", colorText(item.outlineColor)},
    };
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

// Fills the page named as in the "pages" member as the main window fills it
// when the page is shown; "drives" fills the plays list too.
void fillPage(StatPages &pages, std::string_view page, const ExportRequest &request,
              GameSession &session)
{
    if (page == "yardage")
        pages.FillYardage(session);
    else if (page == "team_stats")
        pages.FillTeamStats(session, request.showTop);
    else if (page == "offense")
        pages.FillOffense(session);
    else if (page == "defense")
        pages.FillDefense(session);
    else if (page == "special_teams")
        pages.FillSpecialTeams(session);
    else if (page == "scoring")
        pages.FillScoring(session, request.showTop);
    else if (page == "play_by_play")
        pages.FillPlayByPlay(session, request.quarter, request.showTop);
    else if (page == "drives")
        pages.FillDriveLists(session.drives(), request.showTop);
}

// Every page filled, described whole.
QJsonObject pagesObject(const ExportRequest &request, GameSession &session)
{
    OffscreenPages offscreen(request);
    for (const char *page : {"yardage", "team_stats", "offense", "defense", "special_teams",
                             "scoring", "play_by_play", "drives"})
        fillPage(offscreen.pages(), page, request, session);
    return PagesToJson(offscreen.pages());
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

// Describes the game `session` holds; with `whole` false the lists that grow
// with the file, the drive chart's entries, the players and the pages, are
// left empty.
void describe(const ExportRequest &request, GameSession &session, QJsonObject &result, bool whole)
{
    QJsonArray teamArray, seasonArray;
    for (int side = 0; side < 2; ++side) {
        teamArray.append(teamObject(session.team(side), whole));
        const bool seasonGiven =
            !(side == 0 ? request.homeSeasonFile : request.visitorSeasonFile).empty();
        seasonArray.append(seasonGiven ? teamObject(session.season(side), whole) : QJsonObject());
    }

    CDriveChartData &drives = session.drives();
    drives.quarter = request.quarter;
    drives.homeOnly = request.homeOnly;
    drives.visitorOnly = request.visitorOnly;
    drives.scoringOnly = request.scoringOnly;
    if (request.playsOfDrive)
        drives.ShowPlaysOf(*request.playsOfDrive);
    drives.LoadDrives(session.game(), session.teams());

    result = QJsonObject{
        {"teams", teamArray},
        {"season_teams", seasonArray},
        {"scoreboard", scoreboardObject(session.scoreboard())},
        {"drive_chart", QJsonObject{{"count", drives.count()}, {"items", QJsonArray()}}},
        {"pages", whole ? pagesObject(request, session) : QJsonObject()},
    };
    if (whole) {
        QJsonArray items;
        for (int i = 0; i < drives.count(); ++i)
            items.append(itemObject(drives.item(i)));
        QJsonObject chart = result["drive_chart"].toObject();
        chart["items"] = items;
        result["drive_chart"] = chart;
    }
}

// Writing indented JSON piece by piece, laid out exactly as
// QJsonDocument::toJson(QJsonDocument::Indented) lays out the whole.

using ValueWriter = std::function<bool(int depth)>;

QByteArray indent(int depth)
{
    return QByteArray(4 * depth, ' ');
}

// `object` at `depth`; the members named in `writers` are written by them.
bool writeObject(const QJsonObject &object, int depth, const GameExport::Sink &write,
                 const std::map<QString, ValueWriter> &writers = {})
{
    if (object.isEmpty())
        return write("{\n" + indent(depth) + "}");
    if (!write("{\n"))
        return false;
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (member != object.begin() && !write(",\n"))
            return false;
        if (!write(indent(depth + 1) + JsonText(member.key(), 0) + ": "))
            return false;
        const auto writer = writers.find(member.key());
        if (!(writer != writers.end() ? writer->second(depth + 1)
                                      : write(JsonText(member.value(), depth + 1))))
            return false;
    }
    return write("\n" + indent(depth) + "}");
}

// An array of `count` elements at `depth`; `element(i, depth + 1)` writes
// element i.
bool writeArray(int count, int depth, const GameExport::Sink &write,
                const std::function<bool(int index, int depth)> &element)
{
    if (count == 0)
        return write("[\n" + indent(depth) + "]");
    if (!write("[\n"))
        return false;
    for (int i = 0; i < count; ++i) {
        if ((i > 0 && !write(",\n")) || !write(indent(depth + 1)) || !element(i, depth + 1))
            return false;
    }
    return write("\n" + indent(depth) + "]");
}

// The two teams as `described` (players left out) at `depth`, with the
// players of `team(side)` formatted one at a time.
bool writeTeams(const QJsonArray &described, int depth, const GameExport::Sink &write,
                const std::function<const CTeamStats &(int side)> &team)
{
    return writeArray(2, depth, write, [&](int side, int teamDepth) {
        const ValueWriter players = [&](int playersDepth) {
            return writeArray(
                team(side).playerCount(), playersDepth, write, [&](int i, int playerDepth) {
                    return write(JsonText(valuesObject(team(side).playerValues(i)), playerDepth));
                });
        };
        return writeObject(described[side].toObject(), teamDepth, write, {{"players", players}});
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
    if (!loadedWhole(session.Reload(FilesOf(request)), error))
        return false;
    describe(request, session, result, true);
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
    if (!loadedWhole(loaded, error))
        return false;
    describe(request, session, result, false);
    for (auto member = windowMembers.begin(); member != windowMembers.end(); ++member)
        result.insert(member.key(), member.value());
    const CDriveChartData &drives = session.drives();
    const ValueWriter items = [&](int depth) {
        return writeArray(drives.count(), depth, write, [&](int i, int itemDepth) {
            return write(JsonText(itemObject(drives.item(i)), itemDepth));
        });
    };
    const QJsonObject chart = result["drive_chart"].toObject();
    const ValueWriter driveChart = [&](int depth) {
        return writeObject(chart, depth, write, {{"items", items}});
    };
    const ValueWriter teams = [&](int depth) {
        return writeTeams(result["teams"].toArray(), depth, write,
                          [&](int side) -> const CTeamStats & { return session.team(side); });
    };
    const ValueWriter seasons = [&](int depth) {
        return writeTeams(result["season_teams"].toArray(), depth, write,
                          [&](int side) -> const CTeamStats & { return session.season(side); });
    };
    // One page filled at a time, each table emptied once written: the
    // play-by-play of a long game alone holds many times the file.
    const ValueWriter pages = [&](int depth) {
        OffscreenPages offscreen(request);
        return WritePagesJson(
            offscreen.pages(), depth, write,
            [&](const char *page) { fillPage(offscreen.pages(), page, request, session); },
            [](CZrGridListCtrl &table) { table.DeleteAllItems(); });
    };
    if (writeObject(result, 0, write,
                    {{"drive_chart", driveChart},
                     {"teams", teams},
                     {"season_teams", seasons},
                     {"pages", pages}}))
        write("\n");
    return true;
}
