#include "app/CommandLine.h"

#include "../support/ScratchDirectory.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

TEST(CommandLine, ReadsTheExportOptions)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse({"pylonix", "--export", "json", "--game", "g.xml", "--home", "h.xml",
                            "--period", "2", "--visitor-only", "--scoring-only", "--plays-of", "5"},
                           error))
        << error.toStdString();
    EXPECT_EQ(line.action, CommandLine::Action::Export);
    EXPECT_EQ(line.request.gameFile, "g.xml");
    EXPECT_EQ(line.request.homeSeasonFile, "h.xml");
    EXPECT_EQ(line.request.visitorSeasonFile, "");
    EXPECT_EQ(line.request.view.drives.quarter, 2);
    EXPECT_TRUE(line.request.view.drives.visitorOnly);
    EXPECT_TRUE(line.request.view.drives.scoringOnly);
    EXPECT_EQ(line.request.view.drives.playsOfDrive, 5);
}

// A column wider than any window is cut to the widest window, so that the
// table's sums of widths stay in range.
TEST(CommandLine, HugePlayColumnWidthIsCutToTheWidestWindow)
{
    for (const auto &[given, taken] :
         {std::pair{"300", 300}, {"10000", 10000}, {"2147483647", 10000}, {"99999999999", 10000}}) {
        CommandLine line;
        QString error;
        ASSERT_TRUE(
            line.Parse({"pylonix", "--export", "json", "--game", "g", "--pbp-width", given}, error))
            << given << ": " << error.toStdString();
        EXPECT_EQ(line.request.view.playColumnWidth, taken) << given;
    }
    CommandLine line;
    QString error;
    EXPECT_FALSE(line.Parse({"pylonix", "--game", "g", "--pbp-width", "-1"}, error));
}

TEST(CommandLine, RejectsWhatItCannotUse)
{
    const QList<QStringList> bad = {
        {"pylonix", "--export", "xml", "--game", "g.xml"},
        {"pylonix", "--export", "json"},
        {"pylonix", "--export", "json", "--game", "g", "--period", "-1"},
        {"pylonix", "--export", "json", "--game", "g", "--plays-of", "two"},
        {"pylonix", "--export", "json", "--game", "g", "--home-only", "--visitor-only"},
        {"pylonix", "--box-score", "b.pdf"},
        {"pylonix", "--box-score", "b.pdf", "--game", "g", "--paper", "a5"},
        {"pylonix", "--box-score", "b.pdf", "--game", "g", "--export", "json"},
        {"pylonix", "--box-score", "b.pdf", "--game", "g", "--screenshot", "s.png"},
        {"pylonix", "--game", "g", "--paper", "a4"}, // no box score to print
        {"pylonix", "--frobnicate"},
        {"pylonix", "stray"},
    };
    for (const QStringList &arguments : bad) {
        CommandLine line;
        QString error;
        EXPECT_FALSE(line.Parse(arguments, error)) << arguments.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

// Every option the help lists is one the parser takes, with a value exactly
// when the help names one.
TEST(CommandLine, TakesEveryOptionItsHelpLists)
{
    ScratchDirectory dir;
    const std::string tokenFile = dir.Write("token", "press-box\n");
    const std::map<QString, QString> sampleValues = {{"FILE", "f.xml"},
                                                     {"json", "json"},
                                                     {"N", "1"},
                                                     {"DRIVE", "1"},
                                                     {"0|1", "0"},
                                                     {"PIXELS", "200"},
                                                     {"NAME", "offense"},
                                                     {"WxH", "800x600"},
                                                     {"TEAM,INDEX", "1,0"},
                                                     {"[HOST:]PORT", "8080"},
                                                     {"NAME[,NAME]", "stats-pc"},
                                                     {"ORIGIN[,ORIGIN]", "https://board.example"},
                                                     {"HOST[:PORT]", "127.0.0.1"},
                                                     {"PREFIX", "pylonix/test"},
                                                     {"USER", "stadium"},
                                                     {"letter|a4", "a4"},
                                                     {"#RRGGBB", "#1A2b3C"}};
    // Options that only go with another one.
    const std::map<QString, QStringList> companions = {
        {"--serve-token-file", {"--serve", "8080"}},
        {"--serve-name", {"--serve", "8080"}},
        {"--serve-origin", {"--serve", "8080"}},
        {"--serve-public", {"--serve", "8080"}},
        {"--no-window", {"--serve", "8080"}},
        {"--mqtt-topic", {"--mqtt", "127.0.0.1"}},
        {"--mqtt-user", {"--mqtt", "127.0.0.1"}},
        {"--mqtt-cafile", {"--mqtt", "127.0.0.1"}},
        {"--mqtt-password-file", {"--mqtt", "h", "--mqtt-user", "u"}},
        {"--paper", {"--box-score", "b.pdf"}}};
    const QString help = CommandLine::HelpText();
    const QRegularExpression optionLine("^  --([a-z-]+)(?: ([A-Za-z0-9|,:#\\[\\]]+))?  ",
                                        QRegularExpression::MultilineOption);
    int listed = 0;
    for (const QRegularExpressionMatch &match : optionLine.globalMatch(help)) {
        ++listed;
        const QString option = "--" + match.captured(1);
        const QString valueName = match.captured(2);
        QStringList arguments = {"pylonix", "--game", "g.xml"};
        if (companions.count(option))
            arguments << companions.at(option);
        arguments << option;
        if (!valueName.isEmpty()) {
            ASSERT_TRUE(sampleValues.count(valueName))
                << "no sample value for " << valueName.toStdString();
            arguments << (option == "--serve-token-file" ? QString::fromStdString(tokenFile)
                                                         : sampleValues.at(valueName));
        }
        CommandLine line;
        QString error;
        EXPECT_TRUE(line.Parse(arguments, error))
            << option.toStdString() << ": " << error.toStdString();
        if (valueName.isEmpty()) {
            arguments << "stray";
            EXPECT_FALSE(line.Parse(arguments, error)) << option.toStdString() << " takes no value";
        } else {
            arguments.removeLast();
            EXPECT_FALSE(line.Parse(arguments, error)) << option.toStdString() << " needs a value";
        }
    }
    EXPECT_GE(listed, 11);
    EXPECT_EQ(listed, help.count("\n  --")) << "every option line was read\n" << help.toStdString();
}

// A colour given on the command line wins over the settings file's, which
// wins over the default; anything but #RRGGBB is refused in one line.
TEST(CommandLine, TeamColorsComeFromTheCommandLineThenTheSettingsFile)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse({"pylonix", "--game", "g", "--visitor-color", "#0B2265"}, error));
    Settings file;
    EXPECT_EQ(line.TeamColorsWith(file), (TeamColorChoice{TeamColorChoice().home, 0x65220b}));
    file.homeColor = file.visitorColor = 0x00d1ff;
    EXPECT_EQ(line.TeamColorsWith(file), (TeamColorChoice{0x00d1ff, 0x65220b}));
    for (const char *bad : {"red", "#FFF", "FFD100", "#GG0000", "#ffd1000", "", "# ffd10"}) {
        EXPECT_FALSE(line.Parse({"pylonix", "--game", "g", "--home-color", bad}, error)) << bad;
        EXPECT_EQ(error, QString("--home-color takes a colour #RRGGBB, not \"%1\"").arg(bad));
    }
}

TEST(CommandLine, ReadsTheBoxScoreOptions)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(
        line.Parse({"pylonix", "--box-score", "b.pdf", "--game", "g", "--paper", "A4"}, error));
    EXPECT_EQ(line.action, CommandLine::Action::BoxScore);
    EXPECT_EQ(line.boxScoreFile, "b.pdf");
    EXPECT_EQ(line.paper, BoxScorePaper::A4);
}

TEST(CommandLine, HelpListsViewingFirstThenExportingAndChecking)
{
    const QString help = CommandLine::HelpText();
    const qsizetype viewing = help.indexOf("\nViewing the game:\n");
    const qsizetype checking = help.indexOf("\nExporting and checking");
    ASSERT_GE(viewing, 0);
    ASSERT_GT(checking, viewing);
    for (const char *option : {"  --game FILE ", "  --ini FILE ", "  --serve "})
        EXPECT_LT(help.indexOf(option), checking) << option;
    for (const char *option : {"  --export json ", "  --screenshot FILE ", "  --plays-of DRIVE "})
        EXPECT_GT(help.indexOf(option), checking) << option;
}

TEST(CommandLine, ReadsTheWindowOptions)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse({"pylonix", "--screenshot", "shot.png", "--game", "g.xml", "--page",
                            "drive_charts", "--size", "800x500", "--ini", "run.ini"},
                           error))
        << error.toStdString();
    EXPECT_EQ(line.action, CommandLine::Action::Screenshot);
    EXPECT_EQ(line.screenshotFile, "shot.png");
    EXPECT_EQ(line.page, 64);
    EXPECT_EQ(line.size, QSize(800, 500));
    EXPECT_EQ(line.iniFile, "run.ini");

    CommandLine both;
    ASSERT_TRUE(
        both.Parse({"pylonix", "--screenshot", "s.png", "--export", "json", "--game", "g"}, error));
    EXPECT_EQ(both.action, CommandLine::Action::Export) << "the export also writes the screenshot";
    EXPECT_EQ(both.screenshotFile, "s.png");

    CommandLine defaults;
    ASSERT_TRUE(defaults.Parse({"pylonix"}, error));
    EXPECT_EQ(defaults.page, 1);
    EXPECT_EQ(defaults.size, QSize(1024, 720));

    for (const QStringList &bad : QList<QStringList>{{"pylonix", "--page", "Offense"},
                                                     {"pylonix", "--size", "800"},
                                                     {"pylonix", "--size", "0x600"},
                                                     {"pylonix", "--size", "800x-5"},
                                                     {"pylonix", "--size", "axb"}}) {
        CommandLine line;
        EXPECT_FALSE(line.Parse(bad, error)) << bad.join(' ').toStdString();
    }
}

TEST(CommandLine, DriveSelectionAndHoverForTheExport)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse({"pylonix", "--export", "json", "--game", "g.xml", "--select-drive", "3",
                            "--hover-drive", "0"},
                           error))
        << error.toStdString();
    EXPECT_EQ(line.selectDrive, 3);
    EXPECT_EQ(line.hoverDrive, 0);
    CommandLine bad;
    EXPECT_FALSE(
        bad.Parse({"pylonix", "--export", "json", "--game", "g", "--hover-drive", "-2"}, error));
    EXPECT_TRUE(CommandLine::HelpText().contains("--select-drive N"));
}

// Serving beyond this machine needs a token or the explicit public switch.
TEST(CommandLine, ReadsTheServiceOptionsAndWhoMayBeServed)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse({"pylonix", "--serve", "[::1]:8080", "--no-window", "--mqtt",
                            "127.0.0.1:1884", "--mqtt-topic", "stadium/board"},
                           error))
        << error.toStdString();
    EXPECT_TRUE(line.serving && line.noWindow);
    EXPECT_EQ(line.serve.host, "::1");
    EXPECT_EQ(line.serve.port, 8080);
    EXPECT_EQ(line.mqtt.host, "127.0.0.1");
    EXPECT_EQ(line.mqtt.port, 1884);
    EXPECT_EQ(line.mqtt.prefix, "stadium/board");

    EXPECT_FALSE(CommandLine().Parse({"pylonix", "--serve", "0.0.0.0:8080"}, error));
    EXPECT_TRUE(error.contains("--serve-token-file")) << error.toStdString();
    EXPECT_TRUE(CommandLine().Parse({"pylonix", "--serve", "0.0.0.0:80", "--serve-public"}, error));
    for (const QStringList &arguments : QList<QStringList>{
             {"pylonix", "--serve-token", "t"},
             {"pylonix", "--no-window"},
             {"pylonix", "--serve-name", "stats-pc"},
             {"pylonix", "--serve", "8080", "--serve-name", "stats pc"},
             {"pylonix", "--serve", "8080", "--serve-origin", "https://a.example/x"},
             {"pylonix", "--mqtt", "127.0.0.1:0"},
             {"pylonix", "--mqtt", "127.0.0.1", "--mqtt-topic", "a/#"},
             {"pylonix", "--mqtt", "h", "--mqtt-topic", "$SYS/pylonix"},
             {"pylonix", "--mqtt", "h", "--mqtt-topic", QString("a/b") + QChar(0x7F)},
             {"pylonix", "--mqtt", "h", "--mqtt-topic", QString("a/b") + QChar(0x85)},
             {"pylonix", "--mqtt", "h", "--mqtt-topic", QString(70000, 'x')},
             {"pylonix", "--mqtt-user", "u"},
             {"pylonix", "--mqtt", "h", "--mqtt-password-file", "f"}})
        EXPECT_FALSE(CommandLine().Parse(arguments, error)) << arguments.join(' ').toStdString();
    ASSERT_TRUE(line.Parse({"pylonix", "--serve", "8080", "--serve-name", "Stats-PC,scores.lan",
                            "--serve-origin", "https://Board.example:8443"},
                           error));
    EXPECT_EQ(line.serve.names, QStringList({"stats-pc", "scores.lan"}));
    EXPECT_EQ(line.serve.origins, QStringList({"https://board.example:8443"}));
}

// The token never stands on the command line, where every user of the
// machine sees it, nor in an error.
TEST(CommandLine, TakesTheTokenFromAFileOrTheEnvironment)
{
    ScratchDirectory dir;
    const QString file = QString::fromStdString(dir.Write("token", "press-box-7\n"));
    const QString empty = QString::fromStdString(dir.Write("empty", "\n"));
    qputenv("PYLONIX_SERVE_TOKEN", "from-the-environment");
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse({"pylonix", "--serve", "0.0.0.0:80", "--serve-token-file", file}, error))
        << error.toStdString();
    EXPECT_EQ(line.serve.token, "press-box-7");
    CommandLine fromEnvironment;
    ASSERT_TRUE(fromEnvironment.Parse({"pylonix", "--serve", "0.0.0.0:80"}, error));
    EXPECT_EQ(fromEnvironment.serve.token, "from-the-environment");
    qunsetenv("PYLONIX_SERVE_TOKEN");

    EXPECT_FALSE(
        CommandLine().Parse({"pylonix", "--serve", "80", "--serve-token-file", empty}, error));
    EXPECT_FALSE(CommandLine().Parse(
        {"pylonix", "--serve", "80", "--serve-token-file", file + ".missing"}, error));
    EXPECT_TRUE(error.contains(".missing")) << error.toStdString();
    EXPECT_FALSE(CommandLine().Parse(
        {"pylonix", "--serve", "0.0.0.0:80", "--serve-token", "s3cret-on-the-line"}, error));
    EXPECT_TRUE(error.contains("--serve-token-file")) << error.toStdString();
    EXPECT_FALSE(error.contains("s3cret")) << error.toStdString();
}
