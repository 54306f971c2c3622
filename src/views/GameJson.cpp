#include "GameJson.h"

#include "ChartListTables.h"
#include "ColumnFitting.h"
#include "CompactJson.h"
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

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// QJsonDocument(GameJson::Values(values)).toJson(Compact), byte for byte.
void appendValues(QByteArray &out, const StatValues &values)
{
    struct Entry {
        std::string_view label;
        const std::string *text;
    };
    std::vector<Entry> entries;
    bool plain = true;
    values.forEach([&](std::string_view label, const std::string &value) {
        plain = plain && IsPlainJsonText(label);
        entries.push_back({label, &value});
    });
    if (!plain) { // names Qt may order otherwise than by their bytes
        out += compact(GameJson::Values(values));
        return;
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.label < b.label; });
    out += '{';
    bool first = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i + 1 < entries.size() && entries[i + 1].label == entries[i].label)
            continue; // a name given twice keeps its last value, as QJsonObject::insert does
        out += first ? "\"" : ",\"";
        first = false;
        out.append(entries[i].label.data(), static_cast<qsizetype>(entries[i].label.size()));
        out += "\":";
        AppendJsonString(out, *entries[i].text);
    }
    out += '}';
}

void appendDriveChartItem(QByteArray &out, const CChartItem &item)
{
    const auto number = [&out](const char *name, int value) {
        out += name;
        out += QByteArray::number(value);
    };
    const auto string = [&out](const char *name, const std::string &value) {
        out += name;
        AppendJsonString(out, value);
    };
    // Members in the order of their names, as QJsonObject keeps them.
    number("{\"driveIndex\":", item.driveIndex);
    string(",\"endHow\":", item.endHow);
    string(",\"endQtr\":", item.endQtr);
    string(",\"endSpot\":", item.endSpot);
    string(",\"endTime\":", item.endTime);
    out += ",\"fillColor\":";
    AppendJsonColor(out, item.fillColor);
    number(",\"highYard\":", item.highYard);
    out += ",\"hitRect\":{\"bottom\":-1,\"left\":-1,\"right\":-1,\"top\":-1}";
    number(",\"lostGround\":", item.lostGround);
    number(",\"lowYard\":", item.lowYard);
    out += ",\"outlineColor\":";
    AppendJsonColor(out, item.outlineColor);
    string(",\"plays\":", item.plays);
    number(",\"reversed\":", item.reversed);
    string(",\"startHow\":", item.startHow);
    string(",\"startQtr\":", item.startQtr);
    string(",\"startSpot\":", item.startSpot);
    string(",\"startTime\":", item.startTime);
    number(",\"team\":", item.team);
    string(",\"top\":", item.top);
    string(",\"yards\":", item.yards);
    out += item.yardsDerived ? ",\"yards_derived\":true}" : "}";
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

QByteArray GameJson::TeamCompactJson(const CTeamStats &team)
{
    QByteArray out = "{\"players\":[";
    for (int i = 0; i < team.playerCount(); ++i) {
        if (i > 0)
            out += ',';
        appendValues(out, team.playerValues(i));
    }
    out += "],\"side\":";
    AppendJsonString(out, QString(QChar(team.side())));
    out += ",\"values\":";
    appendValues(out, team.teamValues());
    return out + '}';
}

QByteArray GameJson::DriveChartCompactJson(const CDriveChartData &drives)
{
    QByteArray out = "{\"count\":" + QByteArray::number(drives.count());
    if (drives.derived())
        out += ",\"derived\":true";
    out += ",\"items\":[";
    for (int i = 0; i < drives.count(); ++i) {
        if (i > 0)
            out += ',';
        appendDriveChartItem(out, drives.item(i));
    }
    return out + "]}";
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

std::map<QString, QByteArray> GameJson::CompactMembers(const GameSession &session,
                                                       const GameJsonOptions &options,
                                                       std::array<bool, 2> seasonGiven,
                                                       CDriveChartData &drives)
{
    drives = CDriveChartData::Load(session.game(), session.teams(), Filter(options));
    QByteArray teams = "[", seasons = "[";
    for (int side = 0; side < 2; ++side) {
        teams += (side > 0 ? "," : "") + TeamCompactJson(session.team(side));
        seasons += (side > 0 ? "," : "") +
                   (seasonGiven[side] ? TeamCompactJson(session.season(side)) : QByteArray("{}"));
    }
    const std::string situation = GameSituationJsonMember(
        GameSituation::Read(session.game(), session.teams(), session.scoreboard()));
    const std::string_view prefix = "\"situation\":";
    return {
        {"teams", teams + ']'},
        {"season_teams", seasons + ']'},
        {"scoreboard", compact(Scoreboard(session.scoreboard()))},
        {"situation", QByteArray::fromStdString(situation.substr(prefix.size()))},
        {"drive_chart", DriveChartCompactJson(drives)},
    };
}
