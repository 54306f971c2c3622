#pragma once

#include "GameExport.h"
#include "Settings.h"
#include "boxscore/BoxScorePaper.h"
#include "service/MqttSettings.h"
#include "service/ServeSettings.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// The program's command line: show the viewer, or export a game headlessly.
//
// Every option is one entry of a table in CommandLine.cpp: its name, the name
// of its value, its line of help and what it sets here. The parser and the
// --help text are both made from that table, so an option is added in one
// place and cannot be missing from either.
struct CommandLine {
    enum class Action { ShowViewer, Export, Screenshot, BoxScore, Help, Version };

    Action action = Action::ShowViewer;
    ExportRequest request;

    // What the window shows: for the export and the screenshot, and for the
    // window itself.
    std::string iniFile;            // the settings file of this run; empty: the usual one
    std::optional<bool> showTop;    // --show-top when given, in place of the settings file's
    QString screenshotFile;         // --screenshot: the PNG file to write
    int page = 1;                   // --page, a page code
    QSize size{1024, 720};          // --size, the window's client size
    bool sizeGiven = false;         // --size given: the remembered size is not used
    std::optional<int> selectDrive; // --select-drive: a click on this row of the drive lists
    std::optional<int> hoverDrive;  // --hover-drive: the mouse onto this drive chart entry
    // --player TEAM,INDEX: the Individual Player window for this player
    // (team 0 home, 1 visitor; his index in the game file), of --player-size.
    std::optional<std::pair<int, int>> player;
    QSize playerSize{600, 400};
    QString playerScreenshotFile; // --screenshot-player: the PNG file to write
    // --home-color, --visitor-color: the teams' colours for this run, in
    // place of the settings file's.
    std::optional<COLORREF> homeColor;
    std::optional<COLORREF> visitorColor;

    // The printed box score.
    QString boxScoreFile;                        // --box-score: the PDF file to write
    BoxScorePaper paper = BoxScorePaper::Letter; // --paper
    bool paperGiven = false;

    // The live service and the MQTT publisher.
    bool serving = false;  // --serve given
    ServeSettings serve;   // --serve [HOST:]PORT, --serve-token-file, --serve-public, ...
    bool noWindow = false; // --no-window: serve or publish without showing the window
    // --mqtt HOST[:PORT] (host empty: no MQTT), --mqtt-topic, --mqtt-user and
    // --mqtt-cafile; the password is read from --mqtt-password-file at start.
    MqttSettings mqtt;
    QString mqttPasswordFile;

    // Reads the arguments (the program name first). Returns false with a
    // one-line `error` when they are not understood.
    bool Parse(const QStringList &arguments, QString &error);

    // The teams' colours of this run: those given here, else those of the
    // settings `file`, else the defaults.
    TeamColorChoice TeamColorsWith(const Settings &file) const;

    // The text --help prints.
    static QString HelpText();
};
