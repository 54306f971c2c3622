#include "GameJson.h"

#include "ChartListTables.h"
#include "ColumnFitting.h"
#include "PlayByPlayTable.h"
#include "PlayerStatTable.h"
#include "ScoringTable.h"
#include "StatColumnSets.h"
#include "TeamStatsTable.h"
#include "TextWrapper.h"
#include "YardageSummaryTable.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/GameSituationJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <span>

namespace
{

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

QString colorText(COLORREF color)
{
    return QString::asprintf("#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
}

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

} // namespace

QJsonObject GameJson::Values(const StatValues &values)
{
    QJsonObject object;
    values.forEach([&object](std::string_view label, const std::string &value) {
        object.insert(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())),
                      text(value));
    });
    return object;
}

QJsonObject GameJson::Team(const CTeamStats &team, bool withPlayers)
{
    QJsonArray players;
    for (int i = 0; withPlayers && i < team.playerCount(); ++i)
        players.append(Values(team.playerValues(i)));
    return QJsonObject{{"side", QString(QChar(team.side()))},
                       {"values", Values(team.teamValues())},
                       {"players", players}};
}

QJsonObject GameJson::DriveChartItem(const CChartItem &item)
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
        // The list described is on no screen.
        {"hitRect", QJsonObject{{"left", -1}, {"top", -1}, {"right", -1}, {"bottom", -1}}},
        {"fillColor", colorText(item.fillColor)},
        {"outlineColor", colorText(item.outlineColor)},
    };
    if (item.yardsDerived)
        object["yards_derived"] = true;
    return object;
}

QJsonObject GameJson::Scoreboard(const ScoreboardState &state)
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

QJsonObject GameJson::Situation(const GameSession &session)
{
    const GameSituation situation =
        GameSituation::Read(session.game(), session.teams(), session.scoreboard());
    const std::string wrapped = "{" + GameSituationJsonMember(situation) + "}";
    return QJsonDocument::fromJson(QByteArray::fromStdString(wrapped))["situation"].toObject();
}

DriveFilter GameJson::Filter(const GameJsonOptions &options)
{
    DriveFilter filter;
    filter.quarter = options.quarter;
    filter.homeOnly = options.homeOnly;
    filter.visitorOnly = options.visitorOnly;
    filter.scoringOnly = options.scoringOnly;
    filter.playsOfDrive = options.playsOfDrive;
    return filter;
}

PageTableSource GameJson::PageTables(const GameSession &session, const CDriveChartData &drives,
                                     const GameJsonOptions &options, const TextWrapper &wrapper)
{
    const auto build = [&session, &drives, options, &wrapper](std::string_view page, int side,
                                                              std::string_view name) -> StatTable {
        if (page == "yardage")
            return BuildYardageSummaryTable(session.teams());
        if (page == "team_stats")
            return BuildTeamStatsTable(session.teams(), options.showTop);
        if (page == "offense" || page == "defense" || page == "special_teams")
            return BuildPlayerStatTable(playerLayout(page, name), session.team(side),
                                        session.season(side));
        if (page == "scoring")
            return ScoringTable::Build(session, options.showTop);
        if (page == "drives")
            return BuildDriveListTable(drives, options.showTop);
        if (page == "plays")
            return BuildPlayListTable(drives);
        PlayByPlayOptions playByPlay;
        playByPlay.period = options.quarter;
        playByPlay.showTOP = options.showTop;
        if (options.playByPlayWidth)
            playByPlay.playColumnWidth = std::max(0, *options.playByPlayWidth);
        return PlayByPlayTable::Build(session, playByPlay, wrapper);
    };
    // Fitted to the page as the window fits them at the options' width.
    return [build, options, &wrapper](std::string_view page, int side, std::string_view name) {
        StatTable table = build(page, side, name);
        FitPageTable(table, page, wrapper, PageWidthForClient(options.clientWidth));
        return table;
    };
}

QJsonObject GameJson::Describe(const GameSession &session, const GameJsonOptions &options,
                               std::array<bool, 2> seasonGiven, const TextWrapper &wrapper,
                               CDriveChartData &drives, Lists lists)
{
    const bool whole = lists != Lists::None;
    QJsonArray teamArray, seasonArray;
    for (int side = 0; side < 2; ++side) {
        teamArray.append(Team(session.team(side), whole));
        seasonArray.append(seasonGiven[side] ? Team(session.season(side), whole) : QJsonObject());
    }

    drives = CDriveChartData::Load(session.game(), session.teams(), Filter(options));

    QJsonObject chart{{"count", drives.count()}, {"items", QJsonArray()}};
    if (drives.derived())
        chart["derived"] = true;
    if (whole) {
        QJsonArray items;
        for (int i = 0; i < drives.count(); ++i)
            items.append(DriveChartItem(drives.item(i)));
        chart["items"] = items;
    }
    return QJsonObject{
        {"teams", teamArray},
        {"season_teams", seasonArray},
        {"scoreboard", Scoreboard(session.scoreboard())},
        {"situation", Situation(session)},
        {"drive_chart", chart},
        {"pages", lists == Lists::All ? PagesToJson(PageTables(session, drives, options, wrapper))
                                      : QJsonObject()},
    };
}
