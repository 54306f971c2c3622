#include "GameFileChecker.h"

#include "gamedata/GameSession.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace pylonix::feed::testing;
namespace fs = std::filesystem;

namespace
{

class CommandLine : public ::testing::Test
{
protected:
    // Runs the tool; returns its exit status and keeps its error output.
    int feed(const std::string &arguments)
    {
        const std::string command = std::string(PYLONIX_FEED_EXECUTABLE) + " " + arguments + " 2>" +
                                    (dir_ / "stderr.txt").string() + " >" +
                                    (dir_ / "stdout.txt").string();
        const int status = std::system(command.c_str());
        errors_ = ReadFile(dir_ / "stderr.txt");
        output_ = ReadFile(dir_ / "stdout.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    ScratchDirectory scratch_;
    const fs::path dir_ = scratch_.Path();
    std::string errors_;
    std::string output_;
};

TEST_F(CommandLine, UntilWritesExactlyThatStateOfTheGame)
{
    const std::vector<std::string> states = renderAllStates(12);
    ASSERT_EQ(feed("--seed 12 --until 100 --out " + (dir_ / "g.xml").string()), 0) << errors_;
    EXPECT_EQ(ReadFile(dir_ / "g.xml"), states[100]);
    ASSERT_EQ(feed("--seed 12 --final --write inplace --out " + (dir_ / "g.xml").string()), 0)
        << errors_;
    EXPECT_EQ(ReadFile(dir_ / "g.xml"), states.back());
}

TEST_F(CommandLine, LivePlayEndsWithTheFinishedGame)
{
    ASSERT_EQ(feed("--seed 8 --interval 0 --out " + (dir_ / "g.xml").string()), 0) << errors_;
    EXPECT_EQ(ReadFile(dir_ / "g.xml"), renderAllStates(8).back());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()),
              3); // g.xml, stdout, stderr
}

TEST_F(CommandLine, SeasonDirectoryGetsBothSeasonFiles)
{
    ASSERT_EQ(feed("--final --season-dir " + dir_.string() + " --out " + (dir_ / "g.xml").string()),
              0)
        << errors_;
    for (const char *name : {"home.xml", "visitor.xml"}) {
        pugi::xml_document document;
        ASSERT_TRUE(parse(document, ReadFile(dir_ / name)));
        EXPECT_TRUE(document.child("fbseas").child("totals"));
    }
}

TEST_F(CommandLine, RealShapeLoadsWithoutYardsOrDriveRecords)
{
    const std::string path = (dir_ / "g.xml").string();
    ASSERT_EQ(feed("--seed 12 --final --shape real --out " + path), 0) << errors_;
    GameSession session;
    ASSERT_TRUE(session.Reload({path, "", ""}).gameOpened);
    EXPECT_GT(session.team(0).playerCount(), 0);
    EXPECT_EQ(session.scoreboard().final, 1);
    const CGameDocument &game = session.game();
    EXPECT_TRUE(game.SelectSingleNode("/fbgame/plays/qtr/play"));
    EXPECT_FALSE(game.SelectSingleNode("/fbgame/plays/qtr/play[@yds]"));
    EXPECT_FALSE(game.SelectSingleNode("/fbgame/drives"));
    EXPECT_TRUE(game.SelectSingleNode("/fbgame/plays/downtogo[@htoh][@vtoh]"));
    EXPECT_TRUE(game.SelectSingleNode("/fbgame/team/linescore/lineprd"));
}

TEST_F(CommandLine, BadArgumentsExitWithStatusTwoAndAMessage)
{
    EXPECT_EQ(feed("--seed x --out " + (dir_ / "g.xml").string()), 2);
    EXPECT_NE(errors_.find("pylonix-feed: --seed expects"), std::string::npos) << errors_;
    EXPECT_EQ(feed("--until 5000 --out " + (dir_ / "g.xml").string()), 2);
    EXPECT_NE(errors_.find("the game has only"), std::string::npos) << errors_;
    EXPECT_FALSE(fs::exists(dir_ / "g.xml"));
}

TEST_F(CommandLine, UnwritablePathExitsWithStatusOneAndLeavesNothing)
{
    EXPECT_EQ(feed("--final --out " + (dir_ / "no" / "g.xml").string()), 1);
    EXPECT_NE(errors_.find("cannot write"), std::string::npos) << errors_;
    EXPECT_EQ(feed("--final --season-dir " + (dir_ / "none").string() + " --out " +
                   (dir_ / "g.xml").string()),
              1);
    EXPECT_FALSE(fs::exists(dir_ / "g.xml"));
}

TEST_F(CommandLine, HelpAndVersion)
{
    EXPECT_EQ(feed("--help"), 0);
    EXPECT_NE(output_.find("--out FILE"), std::string::npos);
    EXPECT_NE(output_.find("--shape full|real"), std::string::npos);
    EXPECT_EQ(feed("--version"), 0);
    EXPECT_EQ(output_.rfind("pylonix-feed ", 0), 0u);
}

} // namespace
