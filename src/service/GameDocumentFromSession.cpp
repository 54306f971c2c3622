#include "GameDocumentFromSession.h"

#include "gamedata/CDriveChartData.h"
#include "platform/Fonts.h"
#include "views/StatTableJson.h"

#include <QFileInfo>

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
    GameDocument built;
    built.seq = seq;
    built.updated = updated.toString(Qt::ISODateWithMs);
    built.gameId = QString::fromStdString(session.game().GetText("/fbgame/venue/@gameid"));
    if (built.gameId.isEmpty())
        built.gameId = QFileInfo(QString::fromStdString(files.game)).completeBaseName();
    CDriveChartData drives;
    built.members = GameJson::CompactMembers(session, options_, seasonGiven, drives);
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
