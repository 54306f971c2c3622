// How the program ends: a stop signal while a prompt is open is a confirmed
// quit, and a confirmed quit writes the settings only where it may.
#include "app/CPylonixApp.h"

#include "../support/ScratchDirectory.h"
#include "app/Settings.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

// Runs the program's window on `options`. Each turn of whatever event loop
// runs, `step` looks at the open windows; once it returns true the stop
// signal is raised. A prompt still open after a long while is closed, so
// that a failing run ends; `hung` then says so.
int runUntilStopped(const WindowOptions &options, int signalNumber,
                    const std::function<bool()> &step, bool &hung)
{
    hung = false;
    bool raised = false;
    int turns = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!raised && step()) {
            raised = true;
            std::raise(signalNumber);
        } else if (++turns > 1000) {
            hung = true;
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->hide();
        }
    });
    poll.start();
    return CPylonixApp().InitInstance(options, WindowView());
}

// A message box with `text` is open.
bool boxOpen(const QString &text)
{
    const auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    return box && box->isVisible() && box->text().startsWith(text);
}

class ProgramEnd : public testing::Test
{
protected:
    ScratchDirectory dir;
    std::string game = dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    std::string ini = dir.Write("Pylonix.ini", "[Pylonix]\r\nShowTOP=1\r\n");

    WindowOptions optionsFor(const std::string &gameFile)
    {
        WindowOptions options;
        options.gameFile = gameFile;
        options.iniFile = ini;
        options.watchGameFile = false;
        return options;
    }
};

} // namespace

TEST_F(ProgramEnd, StopSignalUnderTheCouldNotLoadBoxQuitsWithTheSettingsWritten)
{
    bool hung = false;
    const int status = runUntilStopped(
        optionsFor(dir.PathOf("missing.xml")), SIGTERM,
        [] { return boxOpen("Pylonix couldn't load"); }, hung);
    EXPECT_FALSE(hung) << "the box stayed open";
    EXPECT_EQ(status, 128 + SIGTERM);
    // The files and flags, then where the window was left.
    const std::string written = "[Pylonix]\r\nShowTOP=1\r\nGameFile=\r\nHomeFile=\r\nVstrFile=\r\n"
                                "DefaultTeamFiles=1\r\nWindowLeft=";
    EXPECT_EQ(ReadFile(ini).substr(0, written.size()), written);
}

TEST_F(ProgramEnd, StopSignalUnderTheConfigureDialogAndTheQuitQuestionQuits)
{
    bool hung = false;
    // No game file: the Configure dialog opens at start.
    int status = runUntilStopped(
        optionsFor(""), SIGHUP,
        [] {
            const QWidget *modal = QApplication::activeModalWidget();
            return modal && modal->isVisible() && modal->windowTitle() == "Configure";
        },
        hung);
    EXPECT_FALSE(hung) << "the Configure dialog stayed open";
    EXPECT_EQ(status, 128 + SIGHUP);

    // The close box asks whether to quit; the signal answers it.
    bool asked = false;
    status = runUntilStopped(
        optionsFor(game), SIGINT,
        [&asked] {
            if (boxOpen("Do you want to quit"))
                return true;
            if (QWidget *window = QApplication::activeModalWidget(); window && !asked) {
                asked = true;
                // From an event of its own: the question's loop then runs this poll.
                QTimer::singleShot(0, window, &QWidget::close);
            }
            return false;
        },
        hung);
    EXPECT_FALSE(hung) << "the quit question stayed open";
    EXPECT_EQ(status, 128 + SIGINT);
    EXPECT_EQ(Settings::Read(ini).gameFile, "") << "this run's path stays out of the file";
    EXPECT_NE(ReadFile(ini).find("DefaultTeamFiles=1"), std::string::npos) << "but it is written";
}

// Whatever name the settings file is given, the settings never replace the
// game file or a season file, nor a file the user may not write; the user
// hears why once.
TEST_F(ProgramEnd, QuitNeverWritesOverTheGameOrAFileWithoutWritePermission)
{
    const std::string home =
        dir.Write("home.xml", ReadFile(PYLONIX_SAMPLES_DIR "/small/season-home.xml"));
    const std::string gameBytes = ReadFile(game), homeBytes = ReadFile(home);
    for (const std::string &target : {game, home}) {
        const std::string link = dir.PathOf("link.ini");
        std::filesystem::remove(link);
        std::filesystem::create_symlink(target, link);
        WindowOptions options = optionsFor(game);
        options.homeFile = home;
        options.iniFile = link;
        CPylonixDlg window(options);
        testing::internal::CaptureStderr();
        ASSERT_TRUE(window.OnInitDialog());
        window.QuitConfirmed();
        window.QuitConfirmed();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadFile(game), gameBytes);
        EXPECT_EQ(ReadFile(home), homeBytes);
        EXPECT_EQ(said, "pylonix: " + link + ": it is the game file or a season file (" + target +
                            "); the settings are not written\n");
    }

    ::chmod(ini.c_str(), 0444);
    CPylonixDlg window(optionsFor(game));
    testing::internal::CaptureStderr();
    ASSERT_TRUE(window.OnInitDialog());
    window.QuitConfirmed();
    window.QuitConfirmed();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "pylonix: " + ini + ": the file is read-only; the settings are not written\n");
    EXPECT_EQ(ReadFile(ini), "[Pylonix]\r\nShowTOP=1\r\n");
}

// Runs the program with `arguments` in an environment without any display
// but `display` (a variable and its value); its exit code and error stream.
static std::pair<int, QString> runWithoutDisplay(const QStringList &arguments,
                                                 const QStringList &display = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    for (qsizetype i = 0; i + 1 < display.size(); i += 2)
        environment.insert(display[i], display[i + 1]);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(PYLONIX_PROGRAM, arguments);
    program.waitForFinished(60000);
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardError())};
}

TEST_F(ProgramEnd, WithoutADisplayTheWindowSaysSoInOneLine)
{
    const QStringList arguments = {"--game", QString::fromStdString(game), "--ini",
                                   QString::fromStdString(ini)};
    for (const QStringList &display :
         {QStringList{}, QStringList{"QT_QPA_PLATFORM", "xcb", "DISPLAY", ":97"}}) {
        const auto [status, error] = runWithoutDisplay(arguments, display);
        EXPECT_EQ(status, 1) << display.join(' ').toStdString();
        EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
        EXPECT_TRUE(error.startsWith("pylonix: the window needs a display")) << error.toStdString();
    }
}
