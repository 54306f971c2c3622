#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>
#include <string>

// What the headless export reads and which drive chart list it builds.
struct ExportRequest {
    std::string gameFile;
    std::string homeSeasonFile;    // empty: no home season file
    std::string visitorSeasonFile; // empty: no visitor season file
    int quarter = 0;               // 0 the whole game
    bool homeOnly = false;
    bool visitorOnly = false;
    bool scoringOnly = false;
    std::optional<int> playsOfDrive;    // list the plays of this drive instead of the drives
    bool showTop = true;                // the Show Time of Possession setting
    std::optional<int> playByPlayWidth; // width of the play-by-play "Play" column, in pixels
};

// Loads a game (and season files) as the main window does and describes
// everything it read as one JSON document: "teams", "season_teams",
// "scoreboard", "drive_chart", and "pages": every statistics table as the main
// window fills it. Needs a QApplication (widgets are made off-screen).
class GameExport
{
public:
    // Fills `result`; on a file that cannot be opened returns false with
    // `error` naming the file and the reason.
    static bool Run(const ExportRequest &request, QJsonObject &result, QString &error);
};
