#include "BoxScoreFile.h"
#include "CPylonixApp.h"
#include "CommandLine.h"
#include "WindowExport.h"
#include "gamedata/GameSession.h"
#include "live/LiveGame.h"
#include "pages/CStatGridCtrl.h"
#include "platform/PosixFile.h"
#include "platform/SignalExit.h"
#include "player/CPlayerDlg.h"
#include "player/PlayerJson.h"
#include "player/PlayerLayout.h"
#include "service/LiveService.h"
#include "views/PlayerContent.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace
{

WindowOptions windowOptions(const CommandLine &line)
{
    WindowOptions options;
    const ExportRequest &request = line.request;
    if (!request.gameFile.empty())
        options.gameFile = request.gameFile;
    if (!request.homeSeasonFile.empty())
        options.homeFile = request.homeSeasonFile;
    if (!request.visitorSeasonFile.empty())
        options.visitorFile = request.visitorSeasonFile;
    if (!line.iniFile.empty())
        options.iniFile = line.iniFile;
    options.showTop = line.showTop;
    options.playByPlayWidth = line.request.view.playColumnWidth;
    options.rememberedPlacement = !line.sizeGiven;
    return options;
}

WindowView windowView(const CommandLine &line)
{
    WindowView view;
    view.page = line.page;
    view.options = line.request.view;
    view.selectDrive = line.selectDrive;
    view.hoverDrive = line.hoverDrive;
    return view;
}

// The file among those the window reads that writing `picture` would replace,
// or empty: whatever names the arguments and the settings file give, the
// program never writes over a game or season file.
std::string readFileAt(const QString &picture, const Settings &settings)
{
    for (const std::string *read :
         {&settings.gameFile, &settings.homeFile, &settings.visitorFile}) {
        if (!picture.isEmpty() && !read->empty() &&
            IsSameFile(picture.toLocal8Bit().constData(), read->c_str()))
            return *read;
    }
    return {};
}

// Starts the window off-screen on `game` as the command line asks (the
// window loads it), writes the screenshot when one is asked for and describes
// what the window shows. The export then describes the same load.
int describeWindow(const CommandLine &line, LiveGame &game, JsonWriter::Members &members)
{
    WindowOptions options = windowOptions(line);
    options.interactive = false;
    options.game = &game;
    if (line.action == CommandLine::Action::Export) {
        // The export reads exactly the files and options of its request.
        const ExportRequest &request = line.request;
        options.homeFile = request.homeSeasonFile;
        options.visitorFile = request.visitorSeasonFile;
        options.showTop = request.view.showTop;
    }
    try {
        CPylonixDlg window(options);
        QString error;
        if (!StartWindowForView(window, windowView(line), error)) {
            std::fprintf(stderr, "pylonix: %s\n",
                         qPrintable(error.isEmpty() ? QString("no game file given") : error));
            return 2;
        }
        for (const auto &[option, picture] : {std::pair{"screenshot", &line.screenshotFile},
                                              {"screenshot-player", &line.playerScreenshotFile}}) {
            if (const std::string read = readFileAt(*picture, window.settings()); !read.empty()) {
                std::fprintf(stderr, "pylonix: --%s %s would write over %s\n", option,
                             qPrintable(*picture), read.c_str());
                return 1;
            }
        }
        if (!line.screenshotFile.isEmpty() && !SaveWindowScreenshot(window, line.screenshotFile)) {
            std::fprintf(stderr, "pylonix: cannot write the screenshot %s\n",
                         qPrintable(line.screenshotFile));
            return 3;
        }
        members = JsonWriter::MembersOf(WindowToJson(window));
        if (line.player) {
            const auto [team, index] = *line.player;
            if (index >= window.session().team(team).playerCount()) {
                std::fprintf(stderr, "pylonix: team %d has no player %d\n", team, index);
                return 1;
            }
            CPlayerDlg player;
            player.SetSession(window.session());
            player.resize(line.playerSize);
            player.SetPlayer(team, index);
            player.ShowPlayer();
            members["player"] = [content = player.Content(), layout = player.LastLayout(),
                                 plays = player.PlaysGrid()->ShownTable()](JsonWriter &writer) {
                WritePlayer(writer, content, layout, plays);
            };
            if (!line.playerScreenshotFile.isEmpty() &&
                !player.grab().save(line.playerScreenshotFile, "PNG")) {
                std::fprintf(stderr, "pylonix: cannot write the screenshot %s\n",
                             qPrintable(line.playerScreenshotFile));
                return 3;
            }
        }
    } catch (const std::bad_alloc &) {
        std::fprintf(stderr, "pylonix: %s: not enough memory to load the game\n",
                     line.request.gameFile.c_str());
        return 2;
    }
    return 0;
}

int exportGame(const ExportRequest &request, LiveGame &game,
               const JsonWriter::Members &windowMembers)
{
    // A closed output pipe is reported below as output that cannot be
    // written, not left to kill the program.
    std::signal(SIGPIPE, SIG_IGN);

    // A full disk or a closed pipe must not pass for a complete export.
    int writeError = 0;
    const GameExport::Sink write = [&writeError](const QByteArray &bytes) {
        const size_t size = static_cast<size_t>(bytes.size());
        if (std::fwrite(bytes.constData(), 1, size, stdout) == size)
            return true;
        writeError = errno != 0 ? errno : EIO;
        return false;
    };
    try {
        QString error;
        if (!GameExport::Write(request, game.session(), game.lastResult(), write, error,
                               windowMembers)) {
            std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
            return 2;
        }
    } catch (const std::bad_alloc &) {
        // Describing a game takes memory of its own, beyond the load's.
        std::fprintf(stderr, "pylonix: %s: not enough memory to load the game\n",
                     request.gameFile.c_str());
        return 2;
    }
    if (writeError == 0 && std::fflush(stdout) != 0)
        writeError = errno;
    if (writeError != 0) {
        std::fprintf(stderr, "pylonix: cannot write the JSON: %s\n", std::strerror(writeError));
        return 3;
    }
    return 0;
}

// What a window that cannot open tells, in place of Qt's abort.
const char *const kNeedsDisplay =
    "pylonix: the window needs a display (DISPLAY or WAYLAND_DISPLAY); "
    "--export and --screenshot do not\n";

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the window system starts: its notes are dropped, and a platform that
// cannot start ends the program with the one line above instead of an abort.
void windowSystemStarting(QtMsgType type, const QMessageLogContext &, const QString &)
{
    if (type != QtFatalMsg)
        return;
    std::fputs(kNeedsDisplay, stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

// Qt's own notes about the session it runs in (no runtime directory and the
// like) are no part of the export's output, whose error stream is its own.
void dropQtNotes(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "pylonix: %s\n", qPrintable(message));
}

// The broker's password from its file, and the CA file checked, before
// anything starts: a file that cannot be read ends the program in one line.
bool readMqttFiles(CommandLine &line, QString &error)
{
    if (!line.mqttPasswordFile.isEmpty() &&
        !MqttSettings::ReadPasswordFile(line.mqttPasswordFile, line.mqtt.password, error))
        return false;
    if (!line.mqtt.caFile.isEmpty()) {
        QFile file(line.mqtt.caFile);
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
            error = QString("cannot read the MQTT CA file %1: %2")
                        .arg(line.mqtt.caFile,
                             QFileInfo(file).exists() ? "not a readable file" : "no such file");
            return false;
        }
    }
    return true;
}

// The teams' colours the outputs are built with: the command line's, else
// those of the settings file the window of this run reads (one that is not
// interactive reads only a file given with --ini).
void useTeamColors(CommandLine &line)
{
    std::string iniPath = line.iniFile;
    if (iniPath.empty() && line.action == CommandLine::Action::ShowViewer)
        iniPath = DefaultSettingsPath();
    const Settings file = iniPath.empty() ? Settings() : Settings::Read(iniPath);
    line.request.view.colors = line.TeamColorsWith(file);
}

LiveServiceOptions liveServiceOptions(const CommandLine &line)
{
    LiveServiceOptions options;
    if (line.serving)
        options.serve = line.serve;
    options.mqtt = line.mqtt;
    options.document = line.request.view;
    options.paper = line.paper;
    return options;
}

// The window, and beside it the live service following the window's game.
int showViewer(const CommandLine &line)
{
    if (!line.serving && line.mqtt.host.isEmpty())
        return CPylonixApp().InitInstance(windowOptions(line), windowView(line));
    std::unique_ptr<LiveService> live;
    return CPylonixApp().InitInstance(
        windowOptions(line), windowView(line), [&](CPylonixDlg &window) {
            live = std::make_unique<LiveService>(window.liveGame(), liveServiceOptions(line));
            QString error;
            if (live->Start(error))
                return true;
            std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
            return false;
        });
}

// The live service alone: its own live game follows the file until a stop
// signal; a load that fails is told on stderr and the last good state stays
// served.
int serveWithoutWindow(const CommandLine &line)
{
    if (line.request.gameFile.empty()) {
        std::fprintf(stderr, "pylonix: --no-window needs --game FILE\n");
        return 1;
    }
    LiveGame game;
    game.SetFiles(GameExport::FilesOf(line.request));
    QObject::connect(&game, &LiveGame::loadFailed, [](LiveFile, const QString &reason) {
        std::fprintf(stderr, "pylonix: %s\n", qPrintable(reason));
    });
    QObject::connect(&game, &LiveGame::gameFileMissing, [](const QString &path) {
        std::fprintf(stderr, "pylonix: %s: the game file is missing\n", qPrintable(path));
    });
    LiveService live(game, liveServiceOptions(line));
    QString error;
    if (!live.Start(error)) {
        std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
        return 1;
    }
    int stoppedBy = 0;
    SignalExit stopSignals;
    QObject::connect(&stopSignals, &SignalExit::received, [&stoppedBy](int signalNumber) {
        stoppedBy = signalNumber;
        QCoreApplication::quit();
    });
    game.Reload();
    game.StartWatching();
    QCoreApplication::exec();
    game.StopWatching();
    return stoppedBy != 0 ? SignalExit::ExitStatusFor(stoppedBy) : 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Before anything else: a stop signal at any moment ends the program with
    // the status shells expect, never by the signal itself.
    SignalExit::ExitAtOnce();

    // The arguments are read before anything of Qt starts: --help, --version
    // and a mistyped option need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    CommandLine commandLine;
    QString error;
    if (!commandLine.Parse(arguments, error)) {
        std::fprintf(stderr, "pylonix: %s\nTry 'pylonix --help'.\n", qPrintable(error));
        return 1;
    }
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(CommandLine::HelpText()), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("pylonix %s\n", PYLONIX_VERSION);
        return 0;
    case CommandLine::Action::Export:
    case CommandLine::Action::Screenshot:
    case CommandLine::Action::BoxScore:
        // The export fills the statistics tables in windows it never shows.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(dropQtNotes);
        break;
    case CommandLine::Action::ShowViewer:
        if (!readMqttFiles(commandLine, error)) {
            std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
            return 1;
        }
        // Without a window the program needs no display: the document's
        // tables are still filled in widgets made off-screen.
        if (commandLine.noWindow) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler(dropQtNotes);
        } else if (!hasDisplay()) {
            std::fputs(kNeedsDisplay, stderr);
            return 1;
        } else {
            qInstallMessageHandler(windowSystemStarting);
        }
        break;
    }

    useTeamColors(commandLine);

    QApplication application(argc, argv);
    if (commandLine.action == CommandLine::Action::ShowViewer && !commandLine.noWindow)
        qInstallMessageHandler(nullptr);
    QCoreApplication::setApplicationName("pylonix");
    QCoreApplication::setApplicationVersion(PYLONIX_VERSION);
    if (commandLine.action == CommandLine::Action::BoxScore)
        return WriteBoxScoreFile(commandLine);
    if (commandLine.action == CommandLine::Action::ShowViewer)
        return commandLine.noWindow ? serveWithoutWindow(commandLine) : showViewer(commandLine);

    // One load of the files for the window and the export.
    LiveGame game;
    JsonWriter::Members windowMembers;
    if (const int status = describeWindow(commandLine, game, windowMembers); status != 0)
        return status;
    return commandLine.action == CommandLine::Action::Export
               ? exportGame(commandLine.request, game, windowMembers)
               : 0;
}
