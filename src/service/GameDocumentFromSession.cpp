#include "GameDocumentFromSession.h"

#include "gamedata/CDriveChartData.h"
#include "platform/Fonts.h"
#include "views/ColumnFitting.h"
#include "wire/GameWire.h"
#include "wire/TableWire.h"

#include <QFileInfo>

GameDocumentFromSession::GameDocumentFromSession(ViewOptions options)
    : options_(std::move(options)), wrapper_(DialogFont()) // the font of the window's tables
{
}

bool GameDocumentFromSession::Build(const GameSession &session, const GameFiles &files,
                                    const ReloadResult &loaded, int seq, const QDateTime &updated,
                                    GameDocument &document, QString &error)
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
        if (name == "pages")
            continue;
        const QString key = QString::fromStdString(name);
        QByteArray text = JsonWriter::Compact(write);
        // A member as it was keeps the bytes the document before holds.
        if (const auto before = members_.find(key);
            before != members_.end() && before->second == text)
            text = before->second;
        built.members.emplace(key, std::move(text));
    }
    const int pageWidth = PageWidthForClient(options_.client.width());
    for (const TableKey &key : AllTableKeys()) {
        StatTable table = TablePageOf(key.page).build(input, key);
        const int room = PageTableRoom(key.page, table, pageWidth);
        const std::string path = key.Path();
        std::shared_ptr<const TableText> text =
            tables_[path].Update(std::move(table), room, wrapper_);
        const QString name = QString::fromStdString(path);
        built.pages.emplace(name, text->json);
        built.tableTexts.emplace(name, std::move(text));
    }
    members_ = built.members;
    document = std::move(built);
    return true;
}

bool GameDocumentFromSession::Load(const GameFiles &files, int seq, const QDateTime &updated,
                                   GameDocument &document, QString &error)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(files);
    return Build(session, files, loaded, seq, updated, document, error);
}
