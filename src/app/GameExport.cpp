#include "GameExport.h"

#include "ScoreboardState.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"

#include <QJsonArray>
#include <array>

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

bool open(CXmlDocument &document, const std::string &path, QString &error)
{
    if (document.Open(path))
        return true;
    error = text(path) + ": " + text(document.LastError());
    return false;
}

} // namespace

bool GameExport::Run(const ExportRequest &request, QJsonObject &result, QString &error)
{
    CGameDocument game;
    std::array<CXmlDocument, 2> seasonDocuments;
    std::array<CTeamStats, 2> teams;
    std::array<CSeasonStats, 2> seasons;
    const std::array<const std::string *, 2> seasonFiles = {&request.homeSeasonFile,
                                                            &request.visitorSeasonFile};
    if (!open(game, request.gameFile, error))
        return false;
    for (int side = 0; side < 2; ++side) {
        if (!seasonFiles[side]->empty() && !open(seasonDocuments[side], *seasonFiles[side], error))
            return false;
    }

    QJsonArray teamArray, seasonArray;
    for (int side = 0; side < 2; ++side) {
        teams[side].SetSide(side == 0 ? 'H' : 'V');
        seasons[side].SetSide(side == 0 ? 'H' : 'V');
        teams[side].LoadGame(game);
        teamArray.append(teamObject(teams[side]));
        if (seasonFiles[side]->empty()) {
            seasons[side].Clear();
            seasonArray.append(QJsonObject());
        } else {
            seasons[side].LoadSeason(seasonDocuments[side]);
            seasonArray.append(teamObject(seasons[side]));
        }
    }

    ScoreboardState scoreboard;
    scoreboard.Read(game);

    CDriveChartData drives;
    drives.quarter = request.quarter;
    drives.homeOnly = request.homeOnly;
    drives.visitorOnly = request.visitorOnly;
    drives.scoringOnly = request.scoringOnly;
    if (request.playsOfDrive)
        drives.ShowPlaysOf(*request.playsOfDrive);
    drives.LoadDrives(game, teams);
    QJsonArray items;
    for (int i = 0; i < drives.count(); ++i)
        items.append(itemObject(drives.item(i)));

    result = QJsonObject{
        {"teams", teamArray},
        {"season_teams", seasonArray},
        {"scoreboard", scoreboardObject(scoreboard)},
        {"drive_chart", QJsonObject{{"count", drives.count()}, {"items", items}}},
    };
    return true;
}
