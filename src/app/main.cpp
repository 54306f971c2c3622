#include "CPylonixApp.h"
#include "CommandLine.h"

#include <QApplication>

#include <QCoreApplication>
#include <QJsonDocument>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

int exportGame(const ExportRequest &request)
{
    QJsonObject result;
    QString error;
    if (!GameExport::Run(request, result, error)) {
        std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
        return 2;
    }
    const QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Indented);
    const size_t size = static_cast<size_t>(json.size());
    // A full disk or a closed pipe must not pass for a complete export.
    if (std::fwrite(json.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "pylonix: cannot write the JSON: %s\n", std::strerror(errno));
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
