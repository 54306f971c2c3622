#include "GameWire.h"

#include "TableWire.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "views/DriveSummary.h"
#include "views/GameLeaders.h"
#include "views/PlayLine.h"

#include <QJsonObject>
#include <algorithm>
#include <vector>

void GameWire::WriteValues(JsonWriter &writer, const StatValues &values)
{
    struct Entry {
        std::string_view label;
        const std::string *text;
    };
    std::vector<Entry> entries;
    bool plain = true;
    values.forEach([&](std::string_view label, const std::string &value) {
        plain = plain && JsonWriter::IsPlainText(label);
        entries.push_back({label, &value});
    });
    if (!plain) { // names Qt may order otherwise than by their bytes: Qt orders them
        QJsonObject object;
        for (const Entry &entry : entries)
            object.insert(
                QString::fromUtf8(entry.label.data(), static_cast<qsizetype>(entry.label.size())),
                QString::fromStdString(*entry.text));
        writer.Value(object);
        return;
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.label < b.label; });
    writer.BeginObject();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i + 1 < entries.size() && entries[i + 1].label == entries[i].label)
            continue; // a name given twice keeps its last value
        writer.PlainKey(entries[i].label);
        writer.String(std::string_view(*entries[i].text));
    }
    writer.EndObject();
}

void GameWire::WriteTeam(JsonWriter &writer, const CTeamStats &team)
{
    writer.BeginObject();
    writer.Key("players");
    writer.BeginArray();
    for (int i = 0; i < team.playerCount(); ++i)
        WriteValues(writer, team.playerValues(i));
    writer.EndArray();
    writer.Key("side");
    writer.String(QString(QChar(team.side())));
    writer.Key("values");
    WriteValues(writer, team.teamValues());
    writer.EndObject();
}

void GameWire::WriteScoreboard(JsonWriter &writer, const ScoreboardState &state)
{
    const auto number = [&writer](std::string_view name, int value) {
        writer.PlainKey(name);
        writer.Int(value);
    };
    writer.BeginObject();
    number("ball_on", state.ballOn);
    number("down", state.down);
    writer.Key("final");
    writer.Bool(state.final != 0);
    writer.Key("home_has_ball");
    writer.Bool(state.homeHasBall != 0);
    for (const auto &[name, value] :
         {std::pair<std::string_view, int>{"home_score", state.homeScore},
          {"minutes", state.minutes},
          {"quarter", state.quarter},
          {"quarters", state.quarters},
          {"seconds", state.seconds},
          {"to_go", state.toGo},
          {"visitor_score", state.visitorScore}})
        number(name, value);
    writer.EndObject();
}

namespace
{

void writeNumbers(JsonWriter &writer, const std::vector<int> &numbers)
{
    writer.BeginArray();
    for (const int number : numbers)
        writer.Int(number);
    writer.EndArray();
}

void writeOptional(JsonWriter &writer, const std::optional<int> &number)
{
    if (number)
        writer.Int(*number);
    else
        writer.Null();
}

} // namespace

void GameWire::WriteSituation(JsonWriter &writer, const GameSituation &situation)
{
    const GameSituation::LineScore &line = situation.line_score;
    writer.BeginObject();
    writer.Key("ball_on");
    writer.String(std::string_view(situation.ball_on));
    writer.Key("down_distance");
    writer.String(std::string_view(situation.down_distance));
    writer.Key("last_play");
    writer.String(std::string_view(situation.last_play));
    writer.Key("line_score");
    writer.BeginObject();
    writer.Key("home");
    writeNumbers(writer, line.home);
    writer.Key("home_total");
    writer.Int(line.home_total);
    writer.Key("periods");
    writer.BeginArray();
    for (const std::string &period : line.periods)
        writer.String(std::string_view(period));
    writer.EndArray();
    writer.Key("visitor");
    writeNumbers(writer, line.visitor);
    writer.Key("visitor_total");
    writer.Int(line.visitor_total);
    writer.EndObject();
    writer.Key("period");
    writer.Int(situation.period);
    writer.Key("period_label");
    writer.String(std::string_view(situation.period_label));
    writer.Key("possession");
    if (situation.possession)
        writer.String(std::string_view(*situation.possession));
    else
        writer.Null();
    writer.Key("timeouts_left");
    writer.BeginObject();
    writer.Key("home");
    writeOptional(writer, situation.timeouts_left.home);
    writer.Key("visitor");
    writeOptional(writer, situation.timeouts_left.visitor);
    writer.EndObject();
    writer.EndObject();
}

void GameWire::WriteDriveChartItem(JsonWriter &writer, const CChartItem &item)
{
    const auto number = [&writer](std::string_view name, int value) {
        writer.PlainKey(name);
        writer.Int(value);
    };
    const auto string = [&writer](std::string_view name, const std::string &value) {
        writer.PlainKey(name);
        writer.String(std::string_view(value));
    };
    writer.BeginObject();
    number("driveIndex", item.driveIndex);
    string("endHow", item.endHow);
    string("endQtr", item.endQtr);
    string("endSpot", item.endSpot);
    string("endTime", item.endTime);
    writer.Key("fillColor");
    writer.Color(item.fillColor);
    number("highYard", item.highYard);
    // The list described is on no screen.
    writer.Key("hitRect");
    writer.BeginObject();
    for (const std::string_view edge : {"bottom", "left", "right", "top"}) {
        writer.PlainKey(edge);
        writer.Int(-1);
    }
    writer.EndObject();
    number("lostGround", item.lostGround);
    number("lowYard", item.lowYard);
    writer.Key("outlineColor");
    writer.Color(item.outlineColor);
    string("plays", item.plays);
    number("reversed", item.reversed);
    string("startHow", item.startHow);
    string("startQtr", item.startQtr);
    string("startSpot", item.startSpot);
    string("startTime", item.startTime);
    number("team", item.team);
    string("top", item.top);
    string("yards", item.yards);
    if (item.yardsDerived) {
        writer.Key("yards_derived");
        writer.Bool(true);
    }
    writer.EndObject();
}

void GameWire::WriteDriveChart(JsonWriter &writer, const CDriveChartData &drives)
{
    writer.BeginObject();
    writer.Key("count");
    writer.Int(drives.count());
    if (drives.derived()) {
        writer.Key("derived");
        writer.Bool(true);
    }
    writer.Key("items");
    writer.BeginArray();
    for (int i = 0; i < drives.count(); ++i)
        WriteDriveChartItem(writer, drives.item(i));
    writer.EndArray();
    writer.EndObject();
}

namespace
{

void writeSide(JsonWriter &writer, int team)
{
    if (team == 0 || team == 1)
        writer.String(std::string_view(team == 0 ? "home" : "visitor"));
    else
        writer.Null();
}

} // namespace

void GameWire::WritePlays(JsonWriter &writer, const std::vector<PlayLine> &plays)
{
    writer.BeginArray();
    for (const PlayLine &play : plays) {
        writer.BeginObject();
        writer.Key("clock");
        writer.String(play.clock);
        writer.Key("code");
        writer.String(play.code);
        writer.Key("down_distance");
        writer.String(play.downDistance);
        writer.Key("drive");
        writer.Int(play.drive);
        writer.Key("quarter");
        writer.String(play.quarter);
        writer.Key("spot");
        writer.String(play.spot);
        writer.Key("team");
        writeSide(writer, play.team);
        writer.Key("text");
        writer.String(play.text);
        writer.Key("yards");
        writer.String(play.yards);
        writer.EndObject();
    }
    writer.EndArray();
}

void GameWire::WriteLeaders(JsonWriter &writer, const GameLeaders &leaders)
{
    const auto writeTexts = [&writer](const QStringList &texts) {
        writer.BeginArray();
        for (const QString &text : texts)
            writer.String(text);
        writer.EndArray();
    };
    const auto writeTeam = [&](const std::vector<GameLeaders::Leader> &team) {
        writer.BeginArray();
        for (const GameLeaders::Leader &leader : team) {
            writer.BeginObject();
            writer.Key("name");
            writer.String(leader.name);
            writer.Key("values");
            writeTexts(leader.values);
            writer.EndObject();
        }
        writer.EndArray();
    };
    writer.BeginArray();
    for (const GameLeaders::Category &category : leaders.categories) {
        writer.BeginObject();
        writer.Key("category");
        writer.String(category.key);
        writer.Key("columns");
        writeTexts(category.columns);
        writer.Key("home");
        writeTeam(category.teams[0]);
        writer.Key("title");
        writer.String(category.title);
        writer.Key("visitor");
        writeTeam(category.teams[1]);
        writer.EndObject();
    }
    writer.EndArray();
}

void GameWire::WriteDrives(JsonWriter &writer, const std::vector<DriveSummary> &drives)
{
    writer.BeginArray();
    for (const DriveSummary &drive : drives) {
        writer.BeginObject();
        for (const auto &[name, value] :
             {std::pair<std::string_view, const QString &>{"clock", drive.clock},
              {"end", drive.end},
              {"plays_yards", drive.playsYards},
              {"quarter", drive.quarter},
              {"spot", drive.spot},
              {"start", drive.start}}) {
            writer.PlainKey(name);
            writer.String(value);
        }
        writer.Key("team");
        writeSide(writer, drive.team);
        writer.Key("top");
        writer.String(drive.top);
        writer.EndObject();
    }
    writer.EndArray();
}

void GameWire::WriteColors(JsonWriter &writer, const TeamColorChoice &colors)
{
    writer.BeginObject();
    writer.Key("home");
    writer.Color(colors.home);
    writer.Key("visitor");
    writer.Color(colors.visitor);
    writer.EndObject();
}

JsonWriter::Members GameWire::Members(const GameSession &session, const CDriveChartData &drives,
                                      std::array<bool, 2> seasonGiven, const TableSource &tables,
                                      const TeamColorChoice &colors)
{
    const auto teams = [&session, seasonGiven](bool seasons) {
        return [&session, seasonGiven, seasons](JsonWriter &writer) {
            writer.BeginArray();
            for (int side = 0; side < 2; ++side) {
                if (!seasons)
                    WriteTeam(writer, session.team(side));
                else if (seasonGiven[static_cast<std::size_t>(side)])
                    WriteTeam(writer, session.season(side));
                else
                    writer.Value(QJsonObject());
            }
            writer.EndArray();
        };
    };
    return {
        {"teams", teams(false)},
        {"season_teams", teams(true)},
        {"scoreboard",
         [&session](JsonWriter &writer) { WriteScoreboard(writer, session.scoreboard()); }},
        {"situation",
         [&session](JsonWriter &writer) {
             WriteSituation(writer, GameSituation::Read(session.game(), session.teams(),
                                                        session.scoreboard()));
         }},
        {"drive_chart", [&drives](JsonWriter &writer) { WriteDriveChart(writer, drives); }},
        {"colors", [colors](JsonWriter &writer) { WriteColors(writer, colors); }},
        {"pages", [&tables](JsonWriter &writer) { TableWire::WritePages(writer, tables); }},
        {"plays", [&session](JsonWriter &writer) { WritePlays(writer, PlayLine::Build(session)); }},
        {"leaders",
         [&session](JsonWriter &writer) { WriteLeaders(writer, GameLeaders::Build(session)); }},
        {"drives",
         [&session](JsonWriter &writer) {
             WriteDrives(writer, DriveSummary::Build(CDriveChartData::Load(
                                     session.game(), session.teams(), DriveFilter{})));
         }},
    };
}
