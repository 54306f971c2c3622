#pragma once

#include "gamedata/GameSession.h"
#include "views/ViewOptions.h"
#include "wire/JsonWriter.h"

#include <QJsonObject>
#include <QString>
#include <string>

// What the headless export reads and what it is asked to show of it.
struct ExportRequest {
    std::string gameFile;
    std::string homeSeasonFile;    // empty: no home season file
    std::string visitorSeasonFile; // empty: no visitor season file
    ViewOptions view;
};

// Loads a game (and season files) as the main window does and describes
// everything it read as one JSON document: "teams", "season_teams",
// "scoreboard", "situation", "drive_chart", "colors" (the teams' colours it
// is asked to mark them with) and "pages": every statistics
// table as the main window fills it (GameWire). Needs a QGuiApplication: the
// play-by-play's texts are measured in the tables' font.
class GameExport
{
public:
    // Receives the export's text piece by piece; false when it cannot be written.
    using Sink = JsonWriter::Sink;

    // Fills `result`; on a file that cannot be opened returns false with
    // `error` naming the file and the reason.
    static bool Run(const ExportRequest &request, QJsonObject &result, QString &error);

    // Run for a game loaded already: `session` holds what the request's
    // files gave in the load `loaded` tells of, and nothing is read again.
    static bool Run(const ExportRequest &request, const GameSession &session,
                    const ReloadResult &loaded, QJsonObject &result, QString &error);

    // Writes what Run fills as an indented JSON document, the same bytes
    // QJsonDocument(result).toJson() gives, one piece at a time, building
    // each table just before it is written and dropping it after: a file may
    // hold hundreds of thousands of entries, and holding all of them as JSON
    // costs many times the file. Returns false with `error` when a file
    // cannot be opened (nothing is written then); stops writing at the first
    // piece `write` refuses. `windowMembers` are written beside what the
    // export reads: the main window's own description of what it shows.
    static bool Write(const ExportRequest &request, const Sink &write, QString &error,
                      const JsonWriter::Members &windowMembers = {});

    // Write for a game loaded already: `session` holds what the request's
    // files gave in the load `loaded` tells of, and nothing is read again.
    // Its drive chart list is built with the request's filters.
    static bool Write(const ExportRequest &request, const GameSession &session,
                      const ReloadResult &loaded, const Sink &write, QString &error,
                      const JsonWriter::Members &windowMembers = {});

    // False with `error` naming the file when the load `loaded` tells of
    // read less than the request names.
    static bool LoadedWhole(const ReloadResult &loaded, QString &error);

    // The files the request names.
    static GameFiles FilesOf(const ExportRequest &request);
};
