#include "CPylonixApp.h"
#include "CommandLine.h"
#include "platform/SignalExit.h"

#include <QApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

namespace
{

int exportGame(const ExportRequest &request)
{
    // Stopped by the user or the system, the export ends at once with the
    // status shells expect; a closed output pipe is reported below as output
    // that cannot be written, not left to kill the program.
    SignalExit::ExitAtOnce();
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
        if (!GameExport::Write(request, write, error)) {
            std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
            return 2;
        }
    } catch (const std::bad_alloc &) {
        // Everything the load allocated is released by now, temporary copies
        // included.
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

// Whether the arguments ask for the export, which needs no display.
bool isExport(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        // Options may be written with one dash or two.
        const char *name = argv[i];
        if (name[0] != '-')
            continue;
        name += name[1] == '-' ? 2 : 1;
        if (std::strcmp(name, "export") == 0 || std::strncmp(name, "export=", 7) == 0)
            return true;
    }
    return false;
}

// Qt's own notes about the session it runs in (no runtime directory and the
// like) are no part of the export's output, whose error stream is its own.
void dropQtNotes(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "pylonix: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    // The export fills the statistics tables in windows it never shows.
    if (isExport(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(dropQtNotes);
    }
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName("pylonix");
    QCoreApplication::setApplicationVersion(PYLONIX_VERSION);

    CommandLine commandLine;
    QString error;
    if (!commandLine.Parse(QCoreApplication::arguments(), error)) {
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
        return exportGame(commandLine.request);
    case CommandLine::Action::ShowViewer:
        break;
    }
    WindowOptions options;
    const ExportRequest &request = commandLine.request;
    if (!request.gameFile.empty())
        options.gameFile = request.gameFile;
    if (!request.homeSeasonFile.empty())
        options.homeFile = request.homeSeasonFile;
    if (!request.visitorSeasonFile.empty())
        options.visitorFile = request.visitorSeasonFile;
    return CPylonixApp().InitInstance(options);
}
