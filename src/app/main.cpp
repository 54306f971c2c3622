#include "CPylonixApp.h"
#include "CommandLine.h"
#include "platform/SignalExit.h"

#include <QApplication>

#include <QCoreApplication>
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

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    CommandLine commandLine;
    QString error;
    const bool parsed = commandLine.Parse(arguments, error);
    if (parsed && commandLine.action == CommandLine::Action::ShowViewer) {
        QApplication application(argc, argv);
        QApplication::setApplicationName("pylonix");
        QApplication::setApplicationVersion(PYLONIX_VERSION);
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

    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("pylonix");
    QCoreApplication::setApplicationVersion(PYLONIX_VERSION);
    if (!parsed) {
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
    return 0;
}
