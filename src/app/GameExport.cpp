#include "GameExport.h"

#include "gamedata/GameSession.h"

#include <QJsonArray>

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

QJsonObject teamObject(const CTeamStats &team)
{
    QJsonArray players;
    for (int i = 0; i < team.playerCount(); ++i)
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

} // namespace

bool GameExport::Run(const ExportRequest &request, QJsonObject &result, QString &error)
{
    GameSession session;
    const ReloadResult reload =
        session.Reload({request.gameFile, request.homeSeasonFile, request.visitorSeasonFile});
    if (!reload.gameOpened) {
        error = text(reload.gameError);
        return false;
    }
    for (int side = 0; side < 2; ++side) {
        if (reload.seasonFailed[side]) {
            error = text(reload.seasonError[side]);
            return false;
        }
    }

    QJsonArray teamArray, seasonArray;
    for (int side = 0; side < 2; ++side) {
        teamArray.append(teamObject(session.team(side)));
        const bool seasonGiven =
            !(side == 0 ? request.homeSeasonFile : request.visitorSeasonFile).empty();
        seasonArray.append(seasonGiven ? teamObject(session.season(side)) : QJsonObject());
    }

    CDriveChartData &drives = session.drives();
    drives.quarter = request.quarter;
    drives.homeOnly = request.homeOnly;
    drives.visitorOnly = request.visitorOnly;
    drives.scoringOnly = request.scoringOnly;
    if (request.playsOfDrive)
        drives.ShowPlaysOf(*request.playsOfDrive);
    drives.LoadDrives(session.game(), session.teams());
    QJsonArray items;
    for (int i = 0; i < drives.count(); ++i)
        items.append(itemObject(drives.item(i)));

    result = QJsonObject{
        {"teams", teamArray},
        {"season_teams", seasonArray},
        {"scoreboard", scoreboardObject(session.scoreboard())},
        {"drive_chart", QJsonObject{{"count", drives.count()}, {"items", items}}},
    };
    return true;
}
