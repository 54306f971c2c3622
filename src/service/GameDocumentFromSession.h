#pragma once

#include "GameDocument.h"
#include "gamedata/GameSession.h"
#include "views/TextWrapper.h"
#include "views/ViewOptions.h"

#include <QDateTime>

// Builds the live service's document from a loaded session through the wire
// layer: the export's members that need no window ("teams", "season_teams",
// "scoreboard", "situation", "drive_chart", "colors", "pages"), each as
// compact JSON.
// The play-by-play's texts are wrapped in the font the window's tables use;
// the wrapper is kept from one document to the next, so a reload wraps only
// the plays that are new.
class GameDocumentFromSession
{
public:
    explicit GameDocumentFromSession(ViewOptions options = {});

    // The document of reload `seq` (at `updated`) of `session`, which holds
    // what `files` gave in the load `loaded` tells of; a season file that
    // could not be read is left out as the window leaves out its statistics.
    // False with `error` when the game itself was not read.
    bool Build(const GameSession &session, const GameFiles &files, const ReloadResult &loaded,
               int seq, const QDateTime &updated, GameDocument &document, QString &error) const;

    // Loads `files` and builds reload `seq` of them.
    bool Load(const GameFiles &files, int seq, const QDateTime &updated, GameDocument &document,
              QString &error) const;

private:
    ViewOptions options_;
    TextWrapper wrapper_;
};
