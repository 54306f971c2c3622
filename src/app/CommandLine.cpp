#include "CommandLine.h"

#include <QCommandLineParser>

namespace
{

// A whole number of at least 0 from an option's value.
bool readCount(const QString &value, const QString &option, int &out, QString &error)
{
    bool ok = false;
    out = value.toInt(&ok);
    if (!ok || out < 0) {
        error = QString("--%1 takes a whole number of 0 or more, not \"%2\"").arg(option, value);
        return false;
    }
    return true;
}

} // namespace

QString CommandLine::HelpText()
{
    return QStringLiteral(
        "Usage: pylonix [--game FILE [--home FILE] [--visitor FILE]]\n"
        "       pylonix --export json --game FILE [--home FILE] [--visitor FILE]\n"
        "               [--period N] [--home-only|--visitor-only] [--scoring-only]\n"
        "               [--plays-of DRIVE] [--show-top 0|1] [--pbp-width PIXELS]\n"
        "\n"
        "Follows an American-football game while it is played: reads the game file\n"
        "the stat crew keeps rewriting, and each team's season file.\n"
        "\n"
        "Options:\n"
        "  --game FILE        the game file (root element fbgame)\n"
        "  --home FILE        the home team's season file (root element fbseas)\n"
        "  --visitor FILE     the visitor's season file\n"
        "  --export json      print what was read as one JSON document and exit\n"
        "  --period N         drive chart: quarter N only (0, the default: whole game)\n"
        "  --home-only        drive chart: home drives only\n"
        "  --visitor-only     drive chart: visitor drives only\n"
        "  --scoring-only     drive chart: scoring drives only\n"
        "  --plays-of DRIVE   drive chart: the plays of drive DRIVE instead of the drives\n"
        "  --show-top 0|1     pages: show the time of possession (default 1)\n"
        "  --pbp-width PIXELS pages: width of the play-by-play \"Play\" column\n"
        "  --help             show this text\n"
        "  --version          show the version\n"
        "\n"
        "Exit status: 0 success, 1 bad arguments, 2 a file could not be read,\n"
        "3 the output could not be written.\n");
}

bool CommandLine::Parse(const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help("help"), version("version");
    const QCommandLineOption exportFormat("export", "", "format");
    const QCommandLineOption game("game", "", "file"), home("home", "", "file"),
        visitor("visitor", "", "file");
    const QCommandLineOption period("period", "", "n"), playsOf("plays-of", "", "drive");
    const QCommandLineOption showTop("show-top", "", "0|1"), pbpWidth("pbp-width", "", "pixels");
    const QCommandLineOption homeOnly("home-only"), visitorOnly("visitor-only"),
        scoringOnly("scoring-only");
    parser.addOptions({help, version, exportFormat, game, home, visitor, period, playsOf, homeOnly,
                       visitorOnly, scoringOnly, showTop, pbpWidth});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QString("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return false;
    }
    if (parser.isSet(help)) {
        action = Action::Help;
        return true;
    }
    if (parser.isSet(version)) {
        action = Action::Version;
        return true;
    }

    request.gameFile = parser.value(game).toStdString();
    request.homeSeasonFile = parser.value(home).toStdString();
    request.visitorSeasonFile = parser.value(visitor).toStdString();
    request.homeOnly = parser.isSet(homeOnly);
    request.visitorOnly = parser.isSet(visitorOnly);
    request.scoringOnly = parser.isSet(scoringOnly);
    if (request.homeOnly && request.visitorOnly) {
        error = "--home-only and --visitor-only exclude each other";
        return false;
    }
    if (parser.isSet(period) && !readCount(parser.value(period), "period", request.quarter, error))
        return false;
    if (parser.isSet(playsOf)) {
        int drive = 0;
        if (!readCount(parser.value(playsOf), "plays-of", drive, error))
            return false;
        request.playsOfDrive = drive;
    }

    if (parser.isSet(showTop)) {
        const QString value = parser.value(showTop);
        if (value != "0" && value != "1") {
            error = QString("--show-top takes 0 or 1, not \"%1\"").arg(value);
            return false;
        }
        request.showTop = value == "1";
    }
    if (parser.isSet(pbpWidth)) {
        int width = 0;
        if (!readCount(parser.value(pbpWidth), "pbp-width", width, error))
            return false;
        request.playByPlayWidth = width;
    }

    if (!parser.isSet(exportFormat)) {
        action = Action::ShowViewer;
        return true;
    }
    if (parser.value(exportFormat) != "json") {
        error =
            QString("unknown export format \"%1\" (known: json)").arg(parser.value(exportFormat));
        return false;
    }
    if (request.gameFile.empty()) {
        error = "--export needs --game FILE";
        return false;
    }
    action = Action::Export;
    return true;
}
