#include "GameDocumentFromSession.h"

#include "gamedata/CDriveChartData.h"
#include "platform/Fonts.h"
#include "wire/GameWire.h"
#include "wire/TableWire.h"

#include <QFileInfo>

GameDocumentFromSession::GameDocumentFromSession(ViewOptions options)
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
    GameDocument built;
    built.seq = seq;
    built.updated = updated.toString(Qt::ISODateWithMs);
    built.gameId = QString::fromStdString(session.game().GetText("/fbgame/venue/@gameid"));
    if (built.gameId.isEmpty())
        built.gameId = QFileInfo(QString::fromStdString(files.game)).completeBaseName();
    const CDriveChartData drives =
        CDriveChartData::Load(session.game(), session.teams(), options_.drives);
    const TableInput input{session, drives, options_, wrapper_};
    // "pages" is kept table by table, so that a change is found per table.
    const TableSource noTables;
    for (const auto &[name, write] : GameWire::Members(session, drives, SeasonsRead(files, loaded),
                                                       noTables, options_.colors)) {
        if (name != "pages")
            built.members.emplace(QString::fromStdString(name), JsonWriter::Compact(write));
    }
    for (const TableKey &key : AllTableKeys()) {
        built.pages.emplace(QString::fromStdString(key.Path()),
                            JsonWriter::Compact([&](JsonWriter &out) {
                                TableWire::Write(out, BuildPageTable(input, key));
                            }));
    }
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
