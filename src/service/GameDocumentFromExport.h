#pragma once

#include "GameDocument.h"
#include "app/GameExport.h"

#include <QDateTime>

// Builds the live service's document from what the headless export reads.
// The window's own members (overview, period box, layout, drive chart view,
// player window) need a window and are not part of it. Needs a QApplication:
// the export fills its tables in widgets made off-screen.
class GameDocumentFromExport
{
public:
    // Fills `document` (reload `seq`, at `updated`) from the files of
    // `request`; false with `error` naming the file that could not be read.
    static bool Build(const ExportRequest &request, int seq, const QDateTime &updated,
                      GameDocument &document, QString &error);

    // Build for a game loaded already: `session` holds what the request's
    // files gave in the load `loaded` tells of, and nothing is read again.
    static bool Build(const ExportRequest &request, const GameSession &session,
                      const ReloadResult &loaded, int seq, const QDateTime &updated,
                      GameDocument &document, QString &error);
};
