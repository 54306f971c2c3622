#include "app/GameExport.h"

#include "../support/ScratchDirectory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

const std::string sampleGame = PYLONIX_SAMPLES_DIR "/small/game.xml";
const std::string sampleHome = PYLONIX_SAMPLES_DIR "/small/season-home.xml";
const std::string sampleVisitor = PYLONIX_SAMPLES_DIR "/small/season-visitor.xml";

QJsonObject exportOf(const ExportRequest &request)
{
    QJsonObject result;
    QString error;
    EXPECT_TRUE(GameExport::Run(request, result, error)) << error.toStdString();
    return result;
}

// Runs the program; returns its exit code and fills its two outputs. With
// `dataLimit` set, the program may not hold more memory than that (with
// `resource` RLIMIT_AS, not map more address space).
int runProgram(const QStringList &arguments, QByteArray &out, QByteArray &err,
               rlim_t dataLimit = RLIM_INFINITY,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
               decltype(RLIMIT_DATA) resource = RLIMIT_DATA)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([dataLimit, resource] {
        const rlimit limit{dataLimit, dataLimit};
        ::setrlimit(resource, &limit);
    });
    process.start(PYLONIX_PROGRAM, arguments);
    process.waitForFinished(30000);
    out = process.readAllStandardOutput();
    err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST(GameExport, TeamsSeasonsScoreboardAndDriveChart)
{
    ExportRequest request;
    request.gameFile = sampleGame;
    request.visitorSeasonFile = sampleVisitor;
    const QJsonObject result = exportOf(request);

    const QJsonArray teams = result["teams"].toArray();
    ASSERT_EQ(teams.size(), 2);
    EXPECT_EQ(teams[0]["side"].toString(), "H");
    EXPECT_EQ(teams[0]["values"]["Name"].toString(), "Harbor City Mariners");
    EXPECT_EQ(teams[1]["values"]["Name"].toString(), "Prairie A&M Comets");
    EXPECT_EQ(teams[1]["values"]["Avg Gain per Play"].toString(), "6.2");
    const QJsonArray visitors = teams[1]["players"].toArray();
    ASSERT_EQ(visitors.size(), 6);
    EXPECT_EQ(visitors[1]["Name"].toString(), QString::fromUtf8("Marco Ñúñez"));
    EXPECT_EQ(visitors[1]["Rush Avg"].toString(), "5.8");

    const QJsonArray seasons = result["season_teams"].toArray();
    ASSERT_EQ(seasons.size(), 2);
    EXPECT_TRUE(seasons[0].toObject().isEmpty()) << "no home season file given";
    EXPECT_EQ(seasons[1]["values"]["Short Name"].toString(), "PAM");
    EXPECT_EQ(seasons[1]["players"].toArray().size(), 4);

    const QJsonObject scoreboard = result["scoreboard"].toObject();
    EXPECT_EQ(scoreboard["home_score"].toInt(), 3);
    EXPECT_EQ(scoreboard["visitor_score"].toInt(), 7);
    EXPECT_EQ(scoreboard["minutes"].toInt(), 1);
    EXPECT_EQ(scoreboard["seconds"].toInt(), 52);
    EXPECT_TRUE(scoreboard["home_has_ball"].toBool());
    EXPECT_EQ(scoreboard["down"].toInt(), 3);
    EXPECT_EQ(scoreboard["to_go"].toInt(), 13);
    EXPECT_EQ(scoreboard["ball_on"].toInt(), 22);
    EXPECT_EQ(scoreboard["quarter"].toInt(), 1);
    EXPECT_EQ(scoreboard["quarters"].toInt(), 4);
    EXPECT_FALSE(scoreboard["final"].toBool());

    const QJsonObject chart = result["drive_chart"].toObject();
    EXPECT_EQ(chart["count"].toInt(), 4);
    const QJsonObject second = chart["items"].toArray()[1].toObject();
    EXPECT_EQ(second["driveIndex"].toInt(), 2);
    EXPECT_EQ(second["endSpot"].toString(), "V17");
    EXPECT_EQ(second["fillColor"].toString(), "#ffffff");
    EXPECT_EQ(second["outlineColor"].toString(), "#000000");
    EXPECT_EQ(second["hitRect"]["left"].toInt(), -1);
    EXPECT_EQ(chart["items"].toArray()[0].toObject()["fillColor"].toString(), "#808080");
}

// The situation beside the scoreboard: the game at a glance, as the
// sample's last lines leave it.
TEST(GameExport, SituationOfTheGameAtAGlance)
{
    ExportRequest request;
    request.gameFile = sampleGame;
    const QJsonObject situation = exportOf(request)["situation"].toObject();
    EXPECT_EQ(situation["period"].toInt(), 1);
    EXPECT_EQ(situation["period_label"].toString(), "1st");
    EXPECT_EQ(situation["possession"].toString(), "home");
    EXPECT_EQ(situation["down_distance"].toString(), "3rd & 13");
    EXPECT_EQ(situation["ball_on"].toString(), "HCM22");
    EXPECT_EQ(situation["last_play"].toString(), "Timeout Harbor City Mariners, clock 01:52.");
    const QJsonObject line = situation["line_score"].toObject();
    EXPECT_EQ(line["home_total"].toInt(), 3);
    EXPECT_EQ(line["visitor_total"].toInt(), 7);
    EXPECT_TRUE(line["periods"].isArray());
    EXPECT_TRUE(situation["timeouts_left"].toObject().contains("home"));
}

TEST(GameExport, DriveChartFiltersAndPlays)
{
    ExportRequest request;
    request.gameFile = sampleGame;
    request.view.drives.visitorOnly = true;
    EXPECT_EQ(exportOf(request)["drive_chart"].toObject()["count"].toInt(), 2);
    request.view.drives.visitorOnly = false;
    request.view.drives.scoringOnly = true;
    EXPECT_EQ(exportOf(request)["drive_chart"].toObject()["count"].toInt(), 2);
    request.view.drives.quarter = 2;
    EXPECT_EQ(exportOf(request)["drive_chart"].toObject()["count"].toInt(), 0);
    request = ExportRequest{};
    request.gameFile = sampleGame;
    request.view.drives.playsOfDrive = 2;
    const QJsonObject chart = exportOf(request)["drive_chart"].toObject();
    EXPECT_EQ(chart["count"].toInt(), 7) << "the field goal try is not a drawn play";
    EXPECT_EQ(chart["items"].toArray()[0].toObject()["fillColor"].toString(), "#ff0000");
    EXPECT_EQ(chart["items"].toArray()[2].toObject()["fillColor"].toString(), "#ffff00");
}

// A game file with plays but no drive records exports the drives its plays
// tell of, marked derived; a file with drive records has no such mark.
TEST(GameExport, DrivesWorkedOutFromThePlaysAreMarked)
{
    ExportRequest request;
    request.gameFile = sampleGame;
    EXPECT_FALSE(exportOf(request)["drive_chart"].toObject().contains("derived"));

    ScratchDirectory dir;
    request.gameFile = dir.Write("plays.xml", R"(<fbgame><venue><rules field="100"/></venue>
      <team vh="H" name="Home" id="HOM"/><team vh="V" name="Away" id="AWY"/>
      <plays><qtr number="1">
        <play playid="1,1,1" context="H,1,10,H25" type="R" yds="6" text="Run for 6 yards."/>
        <play playid="1,2,3" context="H,2,4,H31" type="R" text="Run for 3 yards."/>
        <play playid="2,1,2" context="V,1,10,V20" type="P" yds="9" text="Pass for 9 yards."/>
      </qtr></plays></fbgame>)");
    const QJsonObject chart = exportOf(request)["drive_chart"].toObject();
    EXPECT_TRUE(chart["derived"].toBool());
    ASSERT_EQ(chart["count"].toInt(), 2);
    EXPECT_EQ(chart["items"].toArray()[1].toObject()["yards"].toString(), "9");

    request.view.drives.playsOfDrive = 1;
    const QJsonArray plays = exportOf(request)["drive_chart"].toObject()["items"].toArray();
    ASSERT_EQ(plays.size(), 2);
    EXPECT_FALSE(plays[0].toObject().contains("yards_derived")) << "the file's own yards";
    EXPECT_EQ(plays[1].toObject()["yards"].toString(), "3");
    EXPECT_TRUE(plays[1].toObject()["yards_derived"].toBool());
}

// The written export is the document Run describes, byte for byte, however
// long its drive chart: whole game, plays of a drive, an empty list, the
// pages without the time of possession and with a narrow "Play" column.
TEST(GameExport, WrittenPieceByPieceItIsTheWholeDocument)
{
    std::vector<ExportRequest> requests(5);
    requests[0].gameFile = sampleGame;
    requests[0].homeSeasonFile = sampleHome;
    requests[0].visitorSeasonFile = sampleVisitor;
    requests[1].gameFile = PYLONIX_SAMPLES_DIR "/game-final.xml";
    requests[2].gameFile = sampleGame;
    requests[2].view.drives.playsOfDrive = 2;
    requests[3].gameFile = sampleGame;
    requests[3].view.drives.quarter = 2;
    requests[4].gameFile = PYLONIX_SAMPLES_DIR "/game-final.xml";
    requests[4].view.showTop = false;
    requests[4].view.playColumnWidth = 120;
    for (const ExportRequest &request : requests) {
        QByteArray written;
        int pieces = 0;
        QString error;
        ASSERT_TRUE(GameExport::Write(
            request,
            [&](const QByteArray &piece) {
                written += piece;
                ++pieces;
                return true;
            },
            error))
            << error.toStdString();
        EXPECT_EQ(written.toStdString(),
                  QJsonDocument(exportOf(request)).toJson(QJsonDocument::Indented).toStdString())
            << request.gameFile;
        EXPECT_GT(pieces, 3);
    }
}

// Writing stops at the first piece that cannot be written; a file that
// cannot be read writes nothing.
TEST(GameExport, WritingStopsAtTheFirstRefusedPiece)
{
    ExportRequest request;
    request.gameFile = PYLONIX_SAMPLES_DIR "/game-final.xml";
    int pieces = 0;
    QString error;
    EXPECT_TRUE(GameExport::Write(
        request,
        [&](const QByteArray &) {
            ++pieces;
            return pieces < 5;
        },
        error));
    EXPECT_EQ(pieces, 5);

    ScratchDirectory dir;
    request.gameFile = dir.PathOf("missing.xml");
    pieces = 0;
    EXPECT_FALSE(GameExport::Write(
        request,
        [&](const QByteArray &) {
            ++pieces;
            return true;
        },
        error));
    EXPECT_EQ(pieces, 0);
    EXPECT_TRUE(error.startsWith(QString::fromStdString(request.gameFile))) << error.toStdString();
}

TEST(GameExport, UnreadableSeasonFileIsAnError)
{
    ScratchDirectory dir;
    ExportRequest request;
    request.gameFile = sampleGame;
    request.homeSeasonFile = dir.Write("broken.xml", "<fbseas>");
    QJsonObject result;
    QString error;
    EXPECT_FALSE(GameExport::Run(request, result, error));
    EXPECT_TRUE(error.startsWith(QString::fromStdString(request.homeSeasonFile) + ": "))
        << error.toStdString();
}

TEST(Program, ExportsJsonAndReportsFilesItCannotRead)
{
    QByteArray out, err;
    ASSERT_EQ(runProgram({"--export", "json", "--game", QString::fromStdString(sampleGame),
                          "--home", QString::fromStdString(sampleHome)},
                         out, err),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.contains("\"drive_chart\""));
    EXPECT_TRUE(err.isEmpty());

    ScratchDirectory dir;
    const QString missing = QString::fromStdString(dir.PathOf("missing.xml"));
    EXPECT_EQ(runProgram({"--export", "json", "--game", missing}, out, err), 2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err, "pylonix: " + missing.toUtf8() + ": No such file or directory\n");

    EXPECT_EQ(runProgram({"--export", "json", "--game",
                          QString::fromStdString(dir.Write("cut.xml", "<fbgame><team"))},
                         out, err),
              2);
    EXPECT_TRUE(err.contains("at byte")) << err.toStdString();

    EXPECT_EQ(
        runProgram({"--export", "json", "--game", QString::fromStdString(sampleHome)}, out, err),
        2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err.toStdString(),
              "pylonix: " + sampleHome + " is a season file (root fbseas), not a game file\n");
}

TEST(Program, OutputThatCannotBeWrittenIsAFailure)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(PYLONIX_PROGRAM,
                  {"--export", "json", "--game", QString::fromStdString(sampleGame)});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_EQ(process.readAllStandardError(),
              "pylonix: cannot write the JSON: No space left on device\n");
}

TEST(Program, HelpVersionAndBadArgumentsNeedNoDisplay)
{
    // A machine without a display: Qt could not start its default platform.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    QByteArray out, err;
    EXPECT_EQ(runProgram({"--help"}, out, err, RLIM_INFINITY, environment), 0);
    EXPECT_TRUE(out.startsWith("Usage: pylonix"));
    EXPECT_EQ(runProgram({"--version"}, out, err, RLIM_INFINITY, environment), 0);
    EXPECT_TRUE(out.startsWith("pylonix ")) << out.toStdString();
    EXPECT_EQ(runProgram({"--period", "x"}, out, err, RLIM_INFINITY, environment), 1);
    EXPECT_TRUE(err.contains("--period takes a whole number")) << err.toStdString();
}

namespace
{

// The program exporting `game` with its standard output on `outputFd` and its
// standard error in `errorFile`; returns its process id.
pid_t spawnExport(const std::string &game, int outputFd, const std::string &errorFile)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string program = PYLONIX_PROGRAM, option = "--export", format = "json",
                gameOption = "--game", path = game;
    char *argv[] = {program.data(),    option.data(), format.data(),
                    gameOption.data(), path.data(),   nullptr};
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit status of a finished child; -1 when a signal ended it.
int exitStatusOf(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A game whose one drive has a 1 MiB "end" and `starts` drive starts that all
// refer to it.
std::string sharedHugeEndGame(int starts)
{
    std::string xml = R"(<fbgame><venue><rules field="100"/></venue><drives>
        <drive driveindex="1" vh="H" plays="3" yards="5" top="01:00" start="KO,1,15:00,20" end=")" +
                      std::string(1 << 20, 'x') +
                      R"(,1,12:00,30"/></drives><plays><qtr number="1">)";
    for (int i = 0; i < starts; ++i)
        xml += R"(<drivestart driveindex="1,1"/>)";
    return xml + "</qtr></plays></fbgame>";
}

constexpr rlim_t megabyte = 1024 * 1024;

} // namespace

// A reader that went away is output that cannot be written: status 3, not
// death by SIGPIPE.
TEST(Program, ClosedOutputPipeIsOutputThatCannotBeWritten)
{
    ScratchDirectory dir;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const pid_t pid = spawnExport(sampleGame, fds[1], dir.PathOf("stderr"));
    ::close(fds[1]);
    EXPECT_EQ(exitStatusOf(pid), 3);
    EXPECT_EQ(ReadFile(dir.PathOf("stderr")), "pylonix: cannot write the JSON: Broken pipe\n");
}

// Stopped while it waits to write (its output pipe full and unread), the
// export ends with 128 plus the signal number.
TEST(Program, StopSignalsEndTheExportWithTheStatusShellsExpect)
{
    ScratchDirectory dir;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const int capacity = ::fcntl(fds[0], F_SETPIPE_SZ, 4096);
        ASSERT_GT(capacity, 0);
        const pid_t pid =
            spawnExport(PYLONIX_SAMPLES_DIR "/game-final.xml", fds[1], dir.PathOf("stderr"));
        ::close(fds[1]);
        // The export is far longer than the pipe holds: once the pipe is full
        // the program is blocked in its write, past every handler set-up.
        int waiting = 0;
        for (int polls = 0; polls < 3000 && waiting < capacity; ++polls) {
            ::usleep(10000);
            ASSERT_EQ(::ioctl(fds[0], FIONREAD, &waiting), 0);
        }
        ASSERT_EQ(waiting, capacity) << "the export never filled its pipe";
        ::kill(pid, signalNumber);
        EXPECT_EQ(exitStatusOf(pid), 128 + signalNumber) << "signal " << signalNumber;
        ::close(fds[0]);
    }
}

// A stop signal before the program has done anything (here one already
// pending when it starts, held back by the inherited mask) ends it with 128
// plus the signal number: the handling is in place before anything else runs,
// even before bad arguments are reported.
TEST(Program, StopSignalsAtTheVeryStartGiveTheStatusShellsExpect)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            sigset_t blocked;
            sigemptyset(&blocked);
            sigaddset(&blocked, signalNumber);
            ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
            ::kill(::getpid(), signalNumber);
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, STDERR_FILENO);
            char program[] = PYLONIX_PROGRAM, option[] = "--no-such-option";
            char *argv[] = {program, option, nullptr};
            ::execv(program, argv);
            ::_exit(99);
        }
        EXPECT_EQ(exitStatusOf(pid), 128 + signalNumber) << "signal " << signalNumber;
    }
}

// Thousands of drive starts sharing a 1 MiB attribute load within 50 times
// the file's size plus 100 MB, and the export writes each entry's texts cut
// short.
TEST(Program, ManyStartsOfOneHugeDriveStayWithinTheMemoryBudget)
{
    ScratchDirectory dir;
    const std::string xml = sharedHugeEndGame(4000);
    const std::string game = dir.Write("game.xml", xml);
    QByteArray out, err;
    ASSERT_EQ(runProgram({"--export", "json", "--game", QString::fromStdString(game)}, out, err,
                         50 * xml.size() + 100 * megabyte),
              0)
        << err.toStdString();
    const QJsonObject chart = QJsonDocument::fromJson(out)["drive_chart"].toObject();
    EXPECT_EQ(chart["count"].toInt(), 4000);
    EXPECT_EQ(chart["items"].toArray().last().toObject()["endHow"].toString(),
              QString(64, QChar('x')));
    // The statistics pages add rows of their own, but none of them holds
    // more of the huge attribute than the entries do.
    EXPECT_LT(size_t(QJsonDocument(chart).toJson().size()), 5 * xml.size());
    EXPECT_FALSE(out.contains(QByteArray(65, 'x')));
}

// A play-by-play of tens of thousands of rows, each many times longer as
// JSON than in the file, is written within 50 times the file's size plus
// 100 MB: the pages are written row by row, never held as JSON whole.
TEST(Program, LongPlayByPlayStaysWithinTheMemoryBudget)
{
    ScratchDirectory dir;
    constexpr int comments = 50000;
    std::string xml = R"(<fbgame><plays><qtr number="1">)";
    for (int i = 0; i < comments; ++i)
        xml += R"(<comment text="A short note"/>)";
    xml += "</qtr></plays></fbgame>";
    const std::string game = dir.Write("game.xml", xml);
    QByteArray out, err;
    ASSERT_EQ(runProgram({"--export", "json", "--game", QString::fromStdString(game)}, out, err,
                         50 * xml.size() + 100 * megabyte),
              0)
        << err.toStdString();
    // The JSON alone is most of the budget.
    EXPECT_GT(size_t(out.size()), 30 * xml.size());
    const QJsonArray rows = QJsonDocument::fromJson(out)["pages"]["play_by_play"]["rows"].toArray();
    ASSERT_EQ(rows.size(), comments);
    EXPECT_EQ(rows.last()["cells"][2]["text"].toString(), "A short note");
}

// Memory that runs out during a load is a file that cannot be read: one line
// naming it, status 2, and no temporary copy left behind.
TEST(Program, RunningOutOfMemoryIsAFailedLoad)
{
    ScratchDirectory dir;
    std::string xml = R"(<fbgame><drives><drive driveindex="1" vh="H"/></drives><plays><qtr>)";
    for (int i = 0; i < 300000; ++i)
        xml += R"(<drivestart driveindex="1"/>)";
    xml += "</qtr></plays></fbgame>";
    const std::string game = dir.Write("game.xml", xml);
    QByteArray out, err;
    EXPECT_EQ(runProgram({"--export", "json", "--game", QString::fromStdString(game)}, out, err,
                         60 * megabyte),
              2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.startsWith("pylonix: " + QByteArray::fromStdString(game) + ": "))
        << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_EQ(dir.TemporaryCopies(), 0);
}

namespace
{

// A game of `starts` drive starts and score lines, all naming the home team,
// whose name (and, with `longIds`, both teams' ids) is `length` characters long.
std::string longTeamTextGame(std::size_t length, int starts, bool longIds)
{
    const std::string name(length, 'N');
    const std::string homeId = longIds ? std::string(length, 'H') : "HOM";
    const std::string visitorId = longIds ? std::string(length, 'V') : "VIS";
    std::string xml = R"(<fbgame><venue><rules qtrs="4" field="100"/></venue><team vh="H" name=")" +
                      name + R"(" id=")" + homeId + R"("/><team vh="V" name="Visitors" id=")" +
                      visitorId + R"("/><scores><score type="FG" vh="H" scorer="A" yds="30"/>)" +
                      R"(</scores><plays><qtr number="1">)";
    for (int i = 0; i < starts; ++i)
        xml += R"(<drivestart vh="H" spot="H20" clock="15:00"/><score H="3" V="0"/>)";
    // The ball on the home 20: the situation names the home team's id.
    return xml + R"(</qtr><downtogo qtr="1" clock="01:52" context="H,3,13,H20"/></plays></fbgame>)";
}

} // namespace

// A team name or id many rows repeat is cut in each of them, so that the
// export, the play-by-play and the header of a file full of references to one
// huge name stay within an address space of 50 times the file's size plus 100 MB;
// so does the strip over every page, whose ball position names a team's id.
TEST(Program, PagesRepeatingOneHugeTeamNameStayWithinTheMemoryBudget)
{
    ScratchDirectory dir;
    const std::string names = longTeamTextGame(500000, 7000, false);
    const std::string ids = longTeamTextGame(500000, 10, true);
    const QString namesGame = QString::fromStdString(dir.Write("names.xml", names));
    const QString idsGame = QString::fromStdString(dir.Write("ids.xml", ids));
    QByteArray out, err;

    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    ASSERT_EQ(runProgram({"--export", "json", "--game", namesGame}, out, err,
                         50 * names.size() + 100 * megabyte, environment, RLIMIT_AS),
              0)
        << err.toStdString();
    const QJsonObject pages = QJsonDocument::fromJson(out)["pages"].toObject();
    EXPECT_EQ(pages["play_by_play"]["rows"][0]["cells"][2]["text"].toString(),
              QString(64, QChar('N')) + " drive start on HOM20 at 15:00");
    EXPECT_FALSE(QJsonDocument(pages).toJson().contains(QByteArray(65, 'N')));

    for (const auto &[game, size, page] : {std::tuple{namesGame, names.size(), "play_by_play"},
                                           std::tuple{idsGame, ids.size(), "overview"},
                                           std::tuple{idsGame, ids.size(), "play_by_play"},
                                           std::tuple{idsGame, ids.size(), "scoring"}}) {
        const QString shot = QString::fromStdString(dir.PathOf(std::string(page) + ".png"));
        EXPECT_EQ(runProgram({"--screenshot", shot, "--game", game, "--page", page}, out, err,
                             50 * size + 100 * megabyte, environment, RLIMIT_AS),
                  0)
            << page << ": " << err.toStdString();
        EXPECT_TRUE(QFile::exists(shot)) << page;
    }

    // Qt gives up laying out a text it finds no memory for, so the limit alone
    // does not show a line that needs 200 MB to be drawn: the peak of the
    // play-by-play picture is measured as well.
    std::string program = PYLONIX_PROGRAM, shotOption = "--screenshot",
                shot = dir.PathOf("peak.png"), gameOption = "--game", game = idsGame.toStdString(),
                pageOption = "--page", page = "play_by_play";
    char *argv[] = {program.data(), shotOption.data(), shot.data(), gameOption.data(),
                    game.data(),    pageOption.data(), page.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    rusage usage{};
    ASSERT_EQ(::wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LE(static_cast<rlim_t>(usage.ru_maxrss) * 1024, 50 * ids.size() + 100 * megabyte);
}
