#include "GameExport.h"

#include "gamedata/CDriveChartData.h"
#include "platform/Fonts.h"
#include "views/TextWrapper.h"
#include "wire/GameWire.h"

#include <QJsonDocument>

bool GameExport::LoadedWhole(const ReloadResult &loaded, QString &error)
{
    if (!loaded.gameOpened) {
        error = QString::fromStdString(loaded.gameError);
        return false;
    }
    for (int side = 0; side < 2; ++side) {
        if (loaded.seasonFailed[side]) {
            error = QString::fromStdString(loaded.seasonError[side]);
            return false;
        }
    }
    return true;
}

GameFiles GameExport::FilesOf(const ExportRequest &request)
{
    return {request.gameFile, request.homeSeasonFile, request.visitorSeasonFile};
}

bool GameExport::Run(const ExportRequest &request, QJsonObject &result, QString &error)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(FilesOf(request));
    return Run(request, session, loaded, result, error);
}

bool GameExport::Run(const ExportRequest &request, const GameSession &session,
                     const ReloadResult &loaded, QJsonObject &result, QString &error)
{
    QByteArray json;
    const Sink collect = [&json](const QByteArray &piece) {
        json += piece;
        return true;
    };
    if (!Write(request, session, loaded, collect, error))
        return false;
    result = QJsonDocument::fromJson(json).object();
    return true;
}

bool GameExport::Write(const ExportRequest &request, const Sink &write, QString &error,
                       const JsonWriter::Members &windowMembers)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(FilesOf(request));
    return Write(request, session, loaded, write, error, windowMembers);
}

bool GameExport::Write(const ExportRequest &request, const GameSession &session,
                       const ReloadResult &loaded, const Sink &write, QString &error,
                       const JsonWriter::Members &windowMembers)
{
    if (!LoadedWhole(loaded, error))
        return false;
    // The tables' texts are measured in the font the window's tables use.
    const TextWrapper wrapper(DialogFont());
    const CDriveChartData drives =
        CDriveChartData::Load(session.game(), session.teams(), request.view.drives);
    const TableInput input{session, drives, request.view, wrapper};
    const TableSource tables = [&input](const TableKey &key) { return BuildPageTable(input, key); };
    JsonWriter::Members members = GameWire::Members(
        session, drives, SeasonsRead(FilesOf(request), loaded), tables, request.view.colors);
    for (const auto &[name, member] : windowMembers)
        members.insert_or_assign(name, member);
    JsonWriter writer(JsonWriter::Layout::Indented, write);
    writer.Object(members);
    writer.Finish();
    return true;
}
