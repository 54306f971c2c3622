// The feed's games and season files, loaded by CTeamStats and by a loader
// that asks one XPath question per value: both must agree on every label,
// value and order, in finished games, games in progress and stress games.

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"

#include "../support/PerQueryTeamLoader.h"
#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace pylonix::feed;

namespace
{

void expectSame(const PerQueryTeamLoader::Team &loaded, const PerQueryTeamLoader::Team &expected,
                const std::string &what)
{
    EXPECT_TRUE(loaded.complete) << what;
    EXPECT_EQ(loaded.complete, expected.complete) << what;
    EXPECT_EQ(loaded.team, expected.team) << what;
    ASSERT_EQ(loaded.players.size(), expected.players.size()) << what;
    for (size_t i = 0; i < loaded.players.size(); ++i)
        EXPECT_EQ(loaded.players[i], expected.players[i]) << what << ", player " << i;
}

// The states after the given plays (the finished game for -1).
std::map<int, std::string> gameFiles(std::uint64_t seed, int scale, std::vector<int> plays,
                                     Encoding encoding = Encoding::Utf8)
{
    const RosterFactory rosters(scale);
    GameSimulator simulator(seed, rosters.home(), rosters.visitor(), scale);
    std::map<int, std::string> files;
    simulator.run([&](const GameState &state, int n) {
        if (std::find(plays.begin(), plays.end(), n) != plays.end())
            files[n] = GameXmlWriter::write(state, encoding);
    });
    files[-1] = GameXmlWriter::write(simulator.state(), encoding);
    return files;
}

void expectGameAgrees(const std::string &bytes, const std::string &what)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", bytes))) << document.LastError();
    for (const char side : {'H', 'V'}) {
        CTeamStats team;
        team.SetSide(side);
        const bool complete = team.LoadGame(document);
        EXPECT_GT(team.playerCount(), 0) << what;
        expectSame(PerQueryTeamLoader::Describe(team, complete),
                   PerQueryTeamLoader::LoadGame(document, side), what + " side " + side);
    }
}

void expectSeasonAgrees(const std::string &bytes, const std::string &what)
{
    ScratchDirectory dir;
    CXmlDocument document;
    ASSERT_TRUE(document.Open(dir.Write("season.xml", bytes))) << document.LastError();
    CSeasonStats season;
    season.SetSide('H');
    const bool complete = season.LoadSeason(document);
    EXPECT_GT(season.playerCount(), 0) << what;
    expectSame(PerQueryTeamLoader::Describe(season, complete),
               PerQueryTeamLoader::LoadSeason(document), what);
}

} // namespace

TEST(LoaderAgreement, FinishedAndLiveGamesOfSeveralSeeds)
{
    for (const std::uint64_t seed : {1, 2, 7, 2026}) {
        for (const auto &[play, bytes] : gameFiles(seed, 1, {0, 1, 40, 120}))
            expectGameAgrees(bytes,
                             "seed " + std::to_string(seed) + " play " + std::to_string(play));
    }
}

TEST(LoaderAgreement, StressGameAndWindows1252Game)
{
    expectGameAgrees(gameFiles(5, 4, {})[-1], "scale 4");
    expectGameAgrees(gameFiles(3, 1, {}, Encoding::Windows1252)[-1], "windows-1252");
}

TEST(LoaderAgreement, SeasonFiles)
{
    for (const int scale : {1, 3}) {
        const SeasonBuilder builder(11, scale);
        const std::string what = "scale " + std::to_string(scale);
        expectSeasonAgrees(SeasonXmlWriter::write(builder.home()), "home " + what);
        expectSeasonAgrees(SeasonXmlWriter::write(builder.visitor(), Encoding::Windows1252),
                           "visitor " + what);
    }
}
