#include "gamedata/GameSession.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace
{

const std::string sampleGame = PYLONIX_SAMPLES_DIR "/small/game.xml";
const std::string sampleHome = PYLONIX_SAMPLES_DIR "/small/season-home.xml";
const std::string sampleVisitor = PYLONIX_SAMPLES_DIR "/small/season-visitor.xml";

std::string describe(const StatValues &values)
{
    std::string text;
    values.forEach([&text](std::string_view label, const std::string &value) {
        text.append(label).append("=").append(value).append(";");
    });
    return text;
}

std::string describe(const CTeamStats &team)
{
    std::string text = std::string(1, team.side()) + "{" + describe(team.teamValues()) + "}";
    for (int i = 0; i < team.playerCount(); ++i)
        text += "\n  [" + describe(team.playerValues(i)) + "]";
    return text + "\n";
}

// Everything a reload fills, as one text to compare whole sessions by.
std::string describe(const GameSession &session)
{
    std::string text;
    for (int side = 0; side < 2; ++side) {
        text += "team " + describe(session.team(side));
        text += "season " + describe(session.season(side));
        text +=
            "season document has root: " + std::to_string(session.seasonDocument(side).HasRoot()) +
            "\n";
    }
    const ScoreboardState &s = session.scoreboard();
    for (const int value : {s.homeScore, s.visitorScore, s.minutes, s.seconds, s.homeHasBall,
                            s.down, s.toGo, s.ballOn, s.quarter, s.quarters, s.final})
        text += std::to_string(value) + ",";
    return text;
}

// Season file of `players` players named P1, P2, ...
std::string seasonFile(int players, const std::string &teamName = "Season Team")
{
    std::string text = "<fbseas><team name=\"" + teamName + "\" id=\"ST\"/>";
    for (int i = 1; i <= players; ++i)
        text += "<player uni=\"" + std::to_string(i) + "\" name=\"P" + std::to_string(i) +
                "\" gp=\"2\" checkname=\"P" + std::to_string(i) + "\"><rush att=\"4\" yds=\"" +
                std::to_string(10 * i) + "\"/></player>";
    return text + "<totals><rush att=\"9\" yds=\"40\"/></totals></fbseas>";
}

} // namespace

TEST(GameSession, LoadsTeamsSeasonsAndScoreboardOfTheGame)
{
    GameSession session;
    const ReloadResult result = session.Reload({sampleGame, sampleHome, sampleVisitor});
    EXPECT_TRUE(result.gameOpened);
    EXPECT_EQ(result.gameError, "");
    EXPECT_FALSE(result.seasonFailed[0] || result.seasonFailed[1]);

    EXPECT_EQ(session.team(0).side(), 'H');
    EXPECT_EQ(session.team(1).side(), 'V');
    EXPECT_EQ(session.teams()[0].GetTeamValue("Name"), "Harbor City Mariners");
    EXPECT_EQ(session.team(1).GetTeamValue("Name"), "Prairie A&M Comets");
    EXPECT_EQ(session.season(0).side(), 'H');
    EXPECT_EQ(session.seasons()[0].GetTeamValue("Short Name"), "HCM");
    EXPECT_EQ(session.season(0).playerCount(), 5);
    EXPECT_EQ(session.season(1).playerCount(), 4);
    EXPECT_TRUE(session.seasonDocument(1).HasRoot());
    EXPECT_EQ(session.scoreboard().visitorScore, 7);
    EXPECT_EQ(session.scoreboard().down, 3);
    EXPECT_EQ(session.game().GetText("/fbgame/venue/rules/@qtrs"), "4");
}

TEST(GameSession, AGameFileThatCannotBeOpenedChangesNothing)
{
    ScratchDirectory dir;
    GameSession session;
    ASSERT_TRUE(session.Reload({sampleGame, sampleHome, ""}).gameOpened);
    const std::string before = describe(session);
    const CTeamStats *home = &session.team(0);

    const std::string cut = dir.Write("cut.xml", "<fbgame><team vh=\"H\"");
    int asked = 0;
    const ReloadResult result = session.Reload({cut, "", sampleVisitor}, [&](int, const auto &) {
        ++asked;
        return false;
    });
    EXPECT_FALSE(result.gameOpened);
    EXPECT_TRUE(result.gameError.starts_with(cut + ": ")) << result.gameError;
    EXPECT_NE(result.gameError.find("at byte"), std::string::npos) << result.gameError;
    EXPECT_EQ(asked, 0) << "season files are not opened after the game file failed";
    EXPECT_EQ(describe(session), before) << "neither the empty home path nor the visitor "
                                            "season file reached the models";
    EXPECT_EQ(&session.team(0), home);

    const ReloadResult missing = session.Reload({dir.PathOf("none.xml"), "", ""});
    EXPECT_EQ(missing.gameError, dir.PathOf("none.xml") + ": No such file or directory");
    EXPECT_EQ(describe(session), before);
}

TEST(GameSession, AFileThatIsNotAGameIsRefusedAndNamed)
{
    ScratchDirectory dir;
    GameSession session;
    ASSERT_TRUE(session.Reload({sampleGame, "", ""}).gameOpened);
    const std::string before = describe(session);
    EXPECT_EQ(session.Reload({sampleHome, "", ""}).gameError,
              sampleHome + " is a season file (root fbseas), not a game file");
    EXPECT_EQ(describe(session), before) << "the game read before is kept";
    const std::string page = dir.Write("page.html", "<html><body>Scores</body></html>");
    EXPECT_EQ(session.Reload({page, "", ""}).gameError, page + " is not a game file (root html)");
}

TEST(GameSession, PlaysAndTheirYardsFollowEachReload)
{
    ScratchDirectory dir;
    const auto game = [&dir](const std::string &plays) {
        return dir.Write("game.xml",
                         "<fbgame><plays><qtr number=\"1\">" + plays + "</qtr></plays></fbgame>");
    };
    GameSession session;
    ASSERT_TRUE(
        session.Reload({game(R"(<play type="R" text="A rush for 4 yards"/>)"), "", ""}).gameOpened);
    const std::vector<PlayYards> *first = &session.playYards();
    ASSERT_EQ(first->size(), 1u);
    EXPECT_EQ((*first)[0].yards, 4);
    EXPECT_EQ(&session.playYards(), first) << "worked out once per reload";

    ASSERT_TRUE(session
                    .Reload({game(R"(<play type="R" text="A rush for 9 yards"/>)"
                                  R"(<play type="P" text="B pass incomplete"/>)"),
                             "", ""})
                    .gameOpened);
    ASSERT_EQ(session.plays().plays.size(), 2u);
    EXPECT_EQ(session.plays().plays[1].text, "B pass incomplete");
    ASSERT_EQ(session.playYards().size(), 2u);
    EXPECT_EQ(session.playYards()[0].yards, 9) << "the yards of the file reloaded";
}

TEST(GameSession, ASeasonFileThatCannotBeOpenedIsReportedAndLeftEmpty)
{
    ScratchDirectory dir;
    const std::string home = dir.Write("home.xml", seasonFile(3));
    GameSession session;
    ASSERT_TRUE(session.Reload({sampleGame, home, sampleVisitor}).gameOpened);
    ASSERT_EQ(session.season(0).playerCount(), 3);

    // Kept on: the season team is loaded from the emptied document, so it
    // has neither players nor values.
    dir.Write("home.xml", "<fbseas><team name=\"x\"");
    std::vector<std::pair<int, std::string>> calls;
    auto keepOn = [&](int side, const std::string &error) {
        calls.emplace_back(side, error);
        return false;
    };
    ReloadResult result = session.Reload({sampleGame, home, sampleVisitor}, keepOn);
    EXPECT_TRUE(result.gameOpened);
    EXPECT_TRUE(result.seasonFailed[0]);
    EXPECT_FALSE(result.seasonFailed[1]);
    EXPECT_TRUE(result.seasonError[0].starts_with(home + ": ")) << result.seasonError[0];
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, 0);
    EXPECT_EQ(calls[0].second, result.seasonError[0]);
    EXPECT_FALSE(session.seasonDocument(0).HasRoot());
    EXPECT_EQ(session.season(0).playerCount(), 0);
    EXPECT_EQ(session.season(0).GetTeamValue("Name"), "");
    EXPECT_EQ(session.season(1).playerCount(), 4);

    // Turned off: the season team is cleared and keeps its number of players.
    dir.Write("home.xml", seasonFile(3));
    ASSERT_TRUE(session.Reload({sampleGame, home, sampleVisitor}).gameOpened);
    dir.Write("home.xml", "");
    result = session.Reload({sampleGame, home, sampleVisitor},
                            [](int side, const std::string &) { return side == 0; });
    EXPECT_TRUE(result.seasonFailed[0]);
    EXPECT_FALSE(session.seasonDocument(0).HasRoot());
    EXPECT_EQ(session.season(0).playerCount(), 3);
    EXPECT_EQ(session.season(0).GetPlayerValue(0, "Name"), "");
    EXPECT_EQ(session.season(0).GetTeamValue("Name"), "");
}

TEST(GameSession, AnEmptySeasonPathClearsThatSide)
{
    GameSession session;
    ASSERT_TRUE(session.Reload({sampleGame, sampleHome, sampleVisitor}).gameOpened);
    const ReloadResult result = session.Reload({sampleGame, "", sampleVisitor});
    EXPECT_FALSE(result.seasonFailed[0]);
    EXPECT_FALSE(session.seasonDocument(0).HasRoot());
    EXPECT_EQ(session.season(0).playerCount(), 5);
    EXPECT_EQ(session.season(0).GetPlayerValue(0, "Check Name"), "");
    EXPECT_EQ(session.season(1).GetPlayerValue(0, "Check Name"), "TILLERY,OWEN");
}

namespace
{

// The files of a session test: a game and two season files in a scratch directory.
class SeasonFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        files_ = {sampleGame, dir_.Write("home.xml", seasonFile(3, "Home Season")),
                  dir_.Write("visitor.xml", seasonFile(2, "Visitor Season"))};
    }

    // What a session that never saw the files before loads from them.
    std::string fullReload(const GameFiles &files) const
    {
        GameSession fresh;
        fresh.Reload(files);
        return describe(fresh);
    }

    // Rewrites a file with `bytes` and gives it back the modification time it had.
    void rewriteKeepingTime(const std::string &path, const std::string &bytes) const
    {
        struct stat before {
        };
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        struct stat after {
        };
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        ASSERT_EQ(after.st_size, before.st_size);
        ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    }

    ScratchDirectory dir_;
    GameFiles files_;
    GameSession session_;
};

} // namespace

TEST_F(SeasonFiles, UnchangedSeasonFilesAreKeptAndGiveWhatAFullReloadGives)
{
    ReloadResult result = session_.Reload(files_);
    EXPECT_FALSE(result.seasonKept[0] || result.seasonKept[1]) << "nothing to keep at first";
    result = session_.Reload(files_);
    EXPECT_TRUE(result.seasonKept[0]);
    EXPECT_TRUE(result.seasonKept[1]);
    EXPECT_TRUE(session_.seasonDocument(0).HasRoot());
    EXPECT_EQ(session_.season(0).GetPlayerValue(2, "Rush Yds"), "30");
    EXPECT_EQ(describe(session_), fullReload(files_));
}

TEST_F(SeasonFiles, OtherBytesOfTheSameSizeAndTimeAreLoaded)
{
    session_.Reload(files_);
    std::string bytes = seasonFile(3, "Home Season");
    bytes.replace(bytes.find("yds=\"30\""), 8, "yds=\"75\"");
    rewriteKeepingTime(files_.homeSeason, bytes);

    const ReloadResult result = session_.Reload(files_);
    EXPECT_FALSE(result.seasonKept[0]);
    EXPECT_TRUE(result.seasonKept[1]);
    EXPECT_EQ(session_.season(0).GetPlayerValue(2, "Rush Yds"), "75");
    EXPECT_EQ(describe(session_), fullReload(files_));
}

TEST_F(SeasonFiles, ChangedSizeTimeOrPathIsLoaded)
{
    session_.Reload(files_);
    dir_.Write("home.xml", seasonFile(4, "Home Season"));
    EXPECT_FALSE(session_.Reload(files_).seasonKept[0]);
    EXPECT_EQ(session_.season(0).playerCount(), 4);
    EXPECT_EQ(describe(session_), fullReload(files_));

    // The visitor's season file given for the home side as well.
    const GameFiles swapped{files_.game, files_.visitorSeason, files_.visitorSeason};
    const ReloadResult result = session_.Reload(swapped);
    EXPECT_FALSE(result.seasonKept[0]);
    EXPECT_TRUE(result.seasonKept[1]);
    EXPECT_EQ(session_.season(0).GetTeamValue("Name"), "Visitor Season");
    EXPECT_EQ(describe(session_), fullReload(swapped));
}

TEST_F(SeasonFiles, ASideClearedOrFailedLoadsItsFileAgain)
{
    const std::string original = seasonFile(3, "Home Season");
    session_.Reload(files_);

    // Turned off through an empty path, then on again with the same file.
    const GameFiles homeOff{files_.game, "", files_.visitorSeason};
    session_.Reload(homeOff);
    EXPECT_EQ(session_.season(0).GetTeamValue("Name"), "");
    EXPECT_FALSE(session_.Reload(files_).seasonKept[0]);
    EXPECT_EQ(describe(session_), fullReload(files_));

    // Broken, kept on, then back to the same bytes and time as before.
    rewriteKeepingTime(files_.homeSeason, std::string(original.size(), ' '));
    EXPECT_TRUE(
        session_.Reload(files_, [](int, const std::string &) { return false; }).seasonFailed[0]);
    EXPECT_EQ(session_.season(0).playerCount(), 0);
    rewriteKeepingTime(files_.homeSeason, original);
    EXPECT_FALSE(session_.Reload(files_).seasonKept[0]);
    EXPECT_EQ(describe(session_), fullReload(files_));

    // Broken and turned off by the handler, then back.
    rewriteKeepingTime(files_.homeSeason, std::string(original.size(), ' '));
    session_.Reload(files_, [](int, const std::string &) { return true; });
    EXPECT_EQ(session_.season(0).GetTeamValue("Name"), "");
    rewriteKeepingTime(files_.homeSeason, original);
    EXPECT_FALSE(session_.Reload(files_).seasonKept[0]);
    EXPECT_EQ(describe(session_), fullReload(files_));
}
