#include "CommandLine.h"

#include "WindowExport.h"

#include <QCommandLineParser>
#include <QFile>
#include <algorithm>
#include <functional>
#include <vector>

namespace
{

// One option of the command line.
struct Option {
    QString name;      // without the leading "--"
    QString valueName; // empty for a switch
    QString help;      // one line for --help
    // Stores the option's value (a switch: empty) in the command line; false
    // with `error` when the value is not usable.
    std::function<bool(CommandLine &line, const QString &value, QString &error)> apply;
    bool endsReading = false; // --help, --version: nothing else is read
    // The part of --help that lists it: viewing the game, or exporting and
    // checking what the window shows.
    bool forChecking = false;
};

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

// The most pixels a window or a column is given in either direction.
constexpr int kLargestPixels = 10000;

// A width in pixels of at least 0 from an option's value; a larger width than
// any window takes is cut to kLargestPixels, so that no sum of widths can overflow.
bool readWidth(const QString &value, const QString &option, int &out, QString &error)
{
    bool ok = false;
    const qulonglong width = value.toULongLong(&ok);
    if (!ok) {
        error = QString("--%1 takes a whole number of 0 or more, not \"%2\"").arg(option, value);
        return false;
    }
    out = static_cast<int>(std::min<qulonglong>(width, kLargestPixels));
    return true;
}

// A size WIDTHxHEIGHT in pixels, each from 1 to kLargestPixels, from an option's value.
bool readSize(const QString &value, const QString &option, QSize &out, QString &error)
{
    const QStringList parts = value.split('x');
    bool wide = false, high = false;
    const int width = parts.size() == 2 ? parts[0].toInt(&wide) : 0;
    const int height = parts.size() == 2 ? parts[1].toInt(&high) : 0;
    if (!wide || !high || width <= 0 || height <= 0 || width > kLargestPixels ||
        height > kLargestPixels) {
        error = QString("--%1 takes WIDTHxHEIGHT in pixels, not \"%2\"").arg(option, value);
        return false;
    }
    out = QSize(width, height);
    return true;
}

// Stores a file path.
auto path(std::string ExportRequest::*member)
{
    return [member](CommandLine &line, const QString &value, QString &) {
        line.request.*member = value.toStdString();
        return true;
    };
}

// Sets a switch of the request.
auto flag(bool DriveFilter::*member)
{
    return [member](CommandLine &line, const QString &, QString &) {
        line.request.view.drives.*member = true;
        return true;
    };
}

// "#rrggbb", as the document writes a colour.
QString colorText(COLORREF color)
{
    return QString::asprintf("#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
}

// Stores a team's colour, "#RRGGBB".
auto teamColor(std::optional<COLORREF> CommandLine::*member, const char *option)
{
    return [member, option](CommandLine &line, const QString &value, QString &error) {
        const std::optional<COLORREF> color = TeamColorChoice::Parse(value.toStdString());
        if (!color) {
            error = QString("--%1 takes a colour #RRGGBB, not \"%2\"").arg(option, value);
            return false;
        }
        line.*member = color;
        return true;
    };
}

// The token kept in `path`, without the line end an editor adds. No error
// tells anything of the file's content.
bool readTokenFile(const QString &path, QString &token, QString &error)
{
    constexpr qint64 kLongestToken = 4096;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QString("cannot read the token file \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray content = file.read(kLongestToken + 1).trimmed();
    if (content.isEmpty() || content.size() > kLongestToken || content.contains('\n')) {
        error = QString("the token file \"%1\" must hold one token of 1 to %2 bytes")
                    .arg(path)
                    .arg(kLongestToken);
        return false;
    }
    token = QString::fromUtf8(content);
    return true;
}

// Every option, in the order --help lists them. Add new options here.
const std::vector<Option> &options()
{
    static const std::vector<Option> table = {
        {"game", "FILE", "the game file (root element fbgame)", path(&ExportRequest::gameFile)},
        {"home", "FILE", "the home team's season file (root element fbseas)",
         path(&ExportRequest::homeSeasonFile)},
        {"visitor", "FILE", "the visitor's season file", path(&ExportRequest::visitorSeasonFile)},
        {"export", "json", "print what was read as one JSON document and exit",
         [](CommandLine &line, const QString &value, QString &error) {
             if (value != "json") {
                 error = QString("unknown export format \"%1\" (known: json)").arg(value);
                 return false;
             }
             line.action = CommandLine::Action::Export;
             return true;
         },
         false, true},
        {"box-score", "FILE", "write the box score of the game as a PDF file and exit",
         [](CommandLine &line, const QString &value, QString &error) {
             if (value.isEmpty()) {
                 error = "--box-score takes a file name";
                 return false;
             }
             line.boxScoreFile = value;
             if (line.action == CommandLine::Action::ShowViewer)
                 line.action = CommandLine::Action::BoxScore;
             return true;
         },
         false, true},
        {"paper", "letter|a4", "the box score's paper (default letter)",
         [](CommandLine &line, const QString &value, QString &error) {
             const std::optional<BoxScorePaper> paper = BoxScorePaperFromName(value);
             if (!paper) {
                 error = QString("--paper takes letter or a4, not \"%1\"").arg(value);
                 return false;
             }
             line.paper = *paper;
             line.paperGiven = true;
             return true;
         },
         false, true},
        {"period", "N", "drive chart: quarter N only (0, the default: whole game)",
         [](CommandLine &line, const QString &value, QString &error) {
             return readCount(value, "period", line.request.view.drives.quarter, error);
         },
         false, true},
        {"home-only", "", "drive chart: home drives only", flag(&DriveFilter::homeOnly), false,
         true},
        {"visitor-only", "", "drive chart: visitor drives only", flag(&DriveFilter::visitorOnly),
         false, true},
        {"scoring-only", "", "drive chart: scoring drives only", flag(&DriveFilter::scoringOnly),
         false, true},
        {"plays-of", "DRIVE", "drive chart: the plays of drive DRIVE instead of the drives",
         [](CommandLine &line, const QString &value, QString &error) {
             int drive = 0;
             if (!readCount(value, "plays-of", drive, error))
                 return false;
             line.request.view.drives.playsOfDrive = drive;
             return true;
         },
         false, true},
        {"select-drive", "N",
         "drive chart: select row N of the drives (or plays) list, as a click does",
         [](CommandLine &line, const QString &value, QString &error) {
             int row = 0;
             if (!readCount(value, "select-drive", row, error))
                 return false;
             line.selectDrive = row;
             return true;
         },
         false, true},
        {"hover-drive", "N", "drive chart: point the mouse at entry N of the chart",
         [](CommandLine &line, const QString &value, QString &error) {
             int entry = 0;
             if (!readCount(value, "hover-drive", entry, error))
                 return false;
             line.hoverDrive = entry;
             return true;
         },
         false, true},
        {"player", "TEAM,INDEX",
         "the Individual Player window for player INDEX of team TEAM (0 home, 1 visitor)",
         [](CommandLine &line, const QString &value, QString &error) {
             const QStringList parts = value.split(',');
             bool teamRead = false, indexRead = false;
             const int team = parts.size() == 2 ? parts[0].toInt(&teamRead) : -1;
             const int index = parts.size() == 2 ? parts[1].toInt(&indexRead) : -1;
             if (!teamRead || !indexRead || (team != 0 && team != 1) || index < 0) {
                 error = QString("--player takes TEAM,INDEX (TEAM 0 or 1), not \"%1\"").arg(value);
                 return false;
             }
             line.player = std::make_pair(team, index);
             return true;
         },
         false, true},
        {"player-size", "WxH", "the Individual Player window's client size (default 600x400)",
         [](CommandLine &line, const QString &value, QString &error) {
             return readSize(value, "player-size", line.playerSize, error);
         },
         false, true},
        {"screenshot-player", "FILE",
         "with --player: draw the Individual Player window into a PNG file",
         [](CommandLine &line, const QString &value, QString &) {
             line.playerScreenshotFile = value;
             if (line.action == CommandLine::Action::ShowViewer)
                 line.action = CommandLine::Action::Screenshot;
             return true;
         },
         false, true},
        {"show-top", "0|1", "pages: show the time of possession (default 1)",
         [](CommandLine &line, const QString &value, QString &error) {
             if (value != "0" && value != "1") {
                 error = QString("--show-top takes 0 or 1, not \"%1\"").arg(value);
                 return false;
             }
             line.request.view.showTop = value == "1";
             line.showTop = line.request.view.showTop;
             return true;
         }},
        {"pbp-width", "PIXELS", "pages: width of the play-by-play \"Play\" column",
         [](CommandLine &line, const QString &value, QString &error) {
             int width = 0;
             if (!readWidth(value, "pbp-width", width, error))
                 return false;
             line.request.view.playColumnWidth = width;
             return true;
         }},
        {"home-color", "#RRGGBB",
         QString("the home team's colour on the score bug (default %1)")
             .arg(colorText(TeamColorChoice::kDefaultHome)),
         teamColor(&CommandLine::homeColor, "home-color")},
        {"visitor-color", "#RRGGBB",
         QString("the visitor's colour on the score bug (default %1)")
             .arg(colorText(TeamColorChoice::kDefaultVisitor)),
         teamColor(&CommandLine::visitorColor, "visitor-color")},
        {"ini", "FILE", "the settings file of this run (Pylonix.ini by default)",
         [](CommandLine &line, const QString &value, QString &) {
             line.iniFile = value.toStdString();
             return true;
         }},
        {"screenshot", "FILE", "draw the window off-screen into a PNG file and exit",
         [](CommandLine &line, const QString &value, QString &) {
             line.screenshotFile = value;
             if (line.action == CommandLine::Action::ShowViewer)
                 line.action = CommandLine::Action::Screenshot;
             return true;
         },
         false, true},
        {"page", "NAME",
         "the page shown: overview (the default), offense, defense, "
         "special_teams, scoring, play_by_play or drive_charts",
         [](CommandLine &line, const QString &value, QString &error) {
             const std::optional<int> page = PageFromName(value);
             if (!page) {
                 error = QString("unknown page \"%1\"").arg(value);
                 return false;
             }
             line.page = *page;
             return true;
         }},
        {"size", "WxH", "the window's client size (default 1024x720)",
         [](CommandLine &line, const QString &value, QString &error) {
             line.sizeGiven = true;
             if (!readSize(value, "size", line.size, error))
                 return false;
             line.request.view.client = line.size;
             return true;
         }},
        {"serve", "[HOST:]PORT",
         "serve the game over HTTP and a WebSocket (HOST 127.0.0.1 by default)",
         [](CommandLine &line, const QString &value, QString &error) {
             line.serving = true;
             return ServeSettings::ParseAddress(value, line.serve, error);
         }},
        {"serve-token-file", "FILE",
         "with --serve: every request must carry the token this file holds (needed off "
         "127.0.0.1; or give it in PYLONIX_SERVE_TOKEN)",
         [](CommandLine &line, const QString &value, QString &error) {
             return readTokenFile(value, line.serve.token, error);
         }},
        {"serve-name", "NAME[,NAME]",
         "with --serve: a host name the service answers to besides its addresses and localhost",
         [](CommandLine &line, const QString &value, QString &error) {
             return line.serve.AddNames(value, error);
         }},
        {"serve-origin", "ORIGIN[,ORIGIN]",
         "with --serve: a site whose pages may read the service (https://HOST[:PORT])",
         [](CommandLine &line, const QString &value, QString &error) {
             return line.serve.AddOrigins(value, error);
         }},
        {"serve-public", "", "with --serve: serve anyone on the network without a token",
         [](CommandLine &line, const QString &, QString &) {
             line.serve.isPublic = true;
             return true;
         }},
        {"no-window", "", "with --serve or --mqtt: follow the game without a window",
         [](CommandLine &line, const QString &, QString &) {
             line.noWindow = true;
             return true;
         }},
        {"mqtt", "HOST[:PORT]", "publish the game to this MQTT broker (PORT 1883 by default)",
         [](CommandLine &line, const QString &value, QString &error) {
             std::optional<quint16> port;
             if (!ServeSettings::SplitHostPort(value, line.mqtt.host, port)) {
                 error = QString("--mqtt takes HOST[:PORT] with PORT from 1 to 65535, not \"%1\"")
                             .arg(value);
                 return false;
             }
             line.mqtt.port = port.value_or(1883);
             return true;
         }},
        {"mqtt-topic", "PREFIX", "with --mqtt: the topic prefix (default pylonix/GAMEID)",
         [](CommandLine &line, const QString &value, QString &error) {
             const QString problem = MqttSettings::TopicProblem(value);
             if (!problem.isEmpty()) {
                 error = "--mqtt-topic: " + problem;
                 return false;
             }
             line.mqtt.prefix = value;
             return true;
         }},
        {"mqtt-user", "USER", "with --mqtt: connect to the broker as this user",
         [](CommandLine &line, const QString &value, QString &error) {
             if (value.isEmpty()) {
                 error = "--mqtt-user takes a user name that is not empty";
                 return false;
             }
             line.mqtt.user = value;
             return true;
         }},
        {"mqtt-password-file", "FILE",
         "with --mqtt-user: the user's password, the first line of this file",
         [](CommandLine &line, const QString &value, QString &) {
             line.mqttPasswordFile = value;
             return true;
         }},
        {"mqtt-cafile", "FILE",
         "with --mqtt: connect over TLS, the broker's certificate signed by this CA",
         [](CommandLine &line, const QString &value, QString &) {
             line.mqtt.caFile = value;
             return true;
         }},
        {"help", "", "show this text",
         [](CommandLine &line, const QString &, QString &) {
             line.action = CommandLine::Action::Help;
             return true;
         },
         true},
        {"version", "", "show the version",
         [](CommandLine &line, const QString &, QString &) {
             line.action = CommandLine::Action::Version;
             return true;
         },
         true},
    };
    return table;
}

// The service and MQTT options fit together, and the service may listen
// where it was asked to.
bool checkServing(const CommandLine &line, QString &error)
{
    const bool withServe = !line.serve.token.isEmpty() || line.serve.isPublic ||
                           !line.serve.names.isEmpty() || !line.serve.origins.isEmpty();
    if (!line.serving && withServe) {
        error = "--serve-token-file, --serve-public, --serve-name and --serve-origin need --serve";
        return false;
    }
    if (line.mqtt.host.isEmpty()) {
        for (const auto &[given, option] :
             {std::pair(!line.mqtt.prefix.isEmpty(), "--mqtt-topic"),
              std::pair(!line.mqtt.user.isEmpty(), "--mqtt-user"),
              std::pair(!line.mqttPasswordFile.isEmpty(), "--mqtt-password-file"),
              std::pair(!line.mqtt.caFile.isEmpty(), "--mqtt-cafile")}) {
            if (given) {
                error = QString("%1 needs --mqtt").arg(option);
                return false;
            }
        }
    }
    if (!line.mqttPasswordFile.isEmpty() && line.mqtt.user.isEmpty()) {
        error = "--mqtt-password-file needs --mqtt-user";
        return false;
    }
    if (line.noWindow && !line.serving && line.mqtt.host.isEmpty()) {
        error = "--no-window needs --serve or --mqtt";
        return false;
    }
    if (line.serving)
        error = line.serve.AccessProblem();
    return error.isEmpty();
}

// "--name VALUE" as the help shows it.
QString synopsis(const Option &option)
{
    return "--" + option.name + (option.valueName.isEmpty() ? "" : " " + option.valueName);
}

} // namespace

TeamColorChoice CommandLine::TeamColorsWith(const Settings &file) const
{
    TeamColorChoice colors;
    colors.home = homeColor.value_or(file.homeColor.value_or(colors.home));
    colors.visitor = visitorColor.value_or(file.visitorColor.value_or(colors.visitor));
    return colors;
}

QString CommandLine::HelpText()
{
    qsizetype width = 0;
    for (const Option &option : options())
        width = std::max(width, synopsis(option).size());
    const auto group = [width](bool forChecking) {
        QString lines;
        for (const Option &option : options()) {
            if (option.forChecking == forChecking)
                lines += "  " + synopsis(option).leftJustified(width + 2) + option.help + "\n";
        }
        return lines;
    };
    return "Usage: pylonix [--game FILE [--home FILE] [--visitor FILE]] [OPTION]...\n"
           "       pylonix --export json --game FILE [OPTION]...\n"
           "       pylonix --screenshot FILE.png --game FILE [OPTION]...\n"
           "       pylonix --box-score FILE.pdf --game FILE [--paper letter|a4]\n"
           "\n"
           "Follows an American-football game while it is played: reads the game file\n"
           "the stat crew keeps rewriting, and each team's season file.\n"
           "The window needs a display; --export, --screenshot and --box-score do not.\n"
           "\n"
           "Viewing the game:\n" +
           group(false) +
           "\n"
           "Exporting and checking what the window shows (no display needed):\n" +
           group(true) +
           "\n"
           "Exit status: 0 success, 1 bad arguments or no display for the window,\n"
           "2 a file could not be read, 3 the output could not be written,\n"
           "128 + N stopped by signal N.\n";
}

bool CommandLine::Parse(const QStringList &arguments, QString &error)
{
    for (const QString &argument : arguments) {
        if (argument == "--serve-token" || argument.startsWith("--serve-token=")) {
            error = "--serve-token is no more: the command line is seen by every user of the "
                    "machine; give --serve-token-file FILE or PYLONIX_SERVE_TOKEN";
            return false;
        }
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    std::vector<QCommandLineOption> parserOptions;
    for (const Option &option : options()) {
        parserOptions.emplace_back(option.name, option.help, option.valueName);
        parser.addOption(parserOptions.back());
    }
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QString("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return false;
    }

    for (const bool endingOptions : {true, false}) {
        for (size_t i = 0; i < options().size(); ++i) {
            const Option &option = options()[i];
            if (option.endsReading != endingOptions || !parser.isSet(parserOptions[i]))
                continue;
            if (!option.apply(*this, parser.value(parserOptions[i]), error))
                return false;
            if (option.endsReading)
                return true;
        }
    }

    if (request.view.drives.homeOnly && request.view.drives.visitorOnly) {
        error = "--home-only and --visitor-only exclude each other";
        return false;
    }
    // The token from the environment, where the command line would show it
    // to every user of the machine; a token file given wins.
    if (serving && serve.token.isEmpty())
        serve.token = qEnvironmentVariable("PYLONIX_SERVE_TOKEN").trimmed();
    if (!checkServing(*this, error))
        return false;
    if (action == Action::Export && request.gameFile.empty()) {
        error = "--export needs --game FILE";
        return false;
    }
    if (!boxScoreFile.isEmpty()) {
        if (request.gameFile.empty()) {
            error = "--box-score needs --game FILE";
            return false;
        }
        // The other outputs run a window; the box score is made without one.
        if (action != Action::BoxScore || !screenshotFile.isEmpty() ||
            !playerScreenshotFile.isEmpty() || serving || !mqtt.host.isEmpty()) {
            error = "--box-score is made on its own, without --export, --screenshot, --serve "
                    "or --mqtt";
            return false;
        }
    }
    if (paperGiven && !serving && boxScoreFile.isEmpty()) {
        error = "--paper needs --box-score or --serve";
        return false;
    }
    return true;
}
