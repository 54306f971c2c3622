#include "GameDocumentFromExport.h"

#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "gamedata/GameSituationJson.h"

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

// A table is an object with "columns"; other objects group tables by name.
void splitTables(const QJsonObject &group, const QString &prefix,
                 std::map<QString, QByteArray> &tables)
{
    for (auto entry = group.begin(); entry != group.end(); ++entry) {
        const QString key = prefix.isEmpty() ? entry.key() : prefix + '/' + entry.key();
        const QJsonObject object = entry.value().toObject();
        if (entry.value().isObject() && !object.contains("columns"))
            splitTables(object, key, tables);
        else
            tables.emplace(key, compact(entry.value()));
    }
}

} // namespace

bool GameDocumentFromExport::Build(const ExportRequest &request, int seq, const QDateTime &updated,
                                   GameDocument &document, QString &error)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(GameExport::FilesOf(request));
    return Build(request, session, loaded, seq, updated, document, error);
}

bool GameDocumentFromExport::Build(const ExportRequest &request, const GameSession &session,
                                   const ReloadResult &loaded, int seq, const QDateTime &updated,
                                   GameDocument &document, QString &error)
{
    QJsonObject exported;
    if (!GameExport::Run(request, session, loaded, exported, error))
        return false;

    const GameSituation situation =
        GameSituation::Read(session.game(), session.teams(), session.scoreboard());
    const std::string member = GameSituationJsonMember(situation);
    const std::string prefix = "\"situation\":";

    GameDocument built;
    built.seq = seq;
    built.updated = updated.toString(Qt::ISODateWithMs);
    built.gameId = QString::fromStdString(session.game().GetText("/fbgame/venue/@gameid"));
    if (built.gameId.isEmpty())
        built.gameId = QFileInfo(QString::fromStdString(request.gameFile)).completeBaseName();
    for (auto entry = exported.begin(); entry != exported.end(); ++entry) {
        if (entry.key() == "pages")
            splitTables(entry.value().toObject(), {}, built.pages);
        else
            built.members.emplace(entry.key(), compact(entry.value()));
    }
    if (member.starts_with(prefix))
        built.members.insert_or_assign("situation",
                                       QByteArray::fromStdString(member.substr(prefix.size())));
    document = std::move(built);
    return true;
}
