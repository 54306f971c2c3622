#include "GameDocumentFromSession.h"

#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSituation.h"
#include "gamedata/GameSituationJson.h"
#include "platform/Fonts.h"
#include "views/StatTableJson.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace
{

QByteArray compact(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

} // namespace

GameDocumentFromSession::GameDocumentFromSession(GameJsonOptions options)
    : options_(std::move(options)), wrapper_(DialogFont()) // the font of the window's tables
{
}

bool GameDocumentFromSession::Build(const GameSession &session, const GameFiles &files,
                                    const ReloadResult &loaded, int seq, const QDateTime &updated,
                                    GameDocument &document, QString &error) const
{
    if (!loaded.gameOpened) {
        error = QString::fromStdString(loaded.gameError);
        return false;
    }
    const std::array<bool, 2> seasonGiven{!files.homeSeason.empty() && !loaded.seasonFailed[0],
                                          !files.visitorSeason.empty() && !loaded.seasonFailed[1]};
    CDriveChartData drives;
    const QJsonObject described = GameJson::Describe(session, options_, seasonGiven, wrapper_,
                                                     drives, GameJson::Lists::AllButPages);

    GameDocument built;
    built.seq = seq;
    built.updated = updated.toString(Qt::ISODateWithMs);
    built.gameId = QString::fromStdString(session.game().GetText("/fbgame/venue/@gameid"));
    if (built.gameId.isEmpty())
        built.gameId = QFileInfo(QString::fromStdString(files.game)).completeBaseName();
    for (auto entry = described.begin(); entry != described.end(); ++entry) {
        if (entry.key() != "pages" && entry.key() != "situation")
            built.members.emplace(entry.key(), compact(entry.value()));
    }
    // The situation as its own writer gives it, members in its order.
    const std::string situation = GameSituationJsonMember(
        GameSituation::Read(session.game(), session.teams(), session.scoreboard()));
    const std::string prefix = "\"situation\":";
    built.members.emplace("situation", QByteArray::fromStdString(
                                           situation.starts_with(prefix)
                                               ? situation.substr(prefix.size())
                                               : compact(described["situation"]).toStdString()));
    ForEachPageTable(GameJson::PageTables(session, drives, options_, wrapper_),
                     [&built](const QString &key, const StatTable &table) {
                         built.pages.emplace(key, StatTableToCompactJson(table));
                     });
    document = std::move(built);
    return true;
}

bool GameDocumentFromSession::Load(const GameFiles &files, int seq, const QDateTime &updated,
                                   GameDocument &document, QString &error) const
{
    GameSession session;
    const ReloadResult loaded = session.Reload(files);
    return Build(session, files, loaded, seq, updated, document, error);
}
