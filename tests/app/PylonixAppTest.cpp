// How the program ends: a confirmed quit writes the settings only where it
// may.
#include "app/CPylonixApp.h"

#include "../support/ScratchDirectory.h"
#include "app/Settings.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

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
