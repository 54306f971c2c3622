// Files in the shape stats-entry programs write: what the viewer works out
// from them agrees with what the simulator knows.

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/DerivedDrives.h"
#include "gamedata/GameSituation.h"
#include "gamedata/ScoreboardState.h"
#include "gamedata/TextNumbers.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <optional>

using namespace pylonix::feed;

namespace
{

// The state after play `until`, or the finished game when negative.
GameState play(std::uint64_t seed, int until = -1)
{
    const RosterFactory rosters;
    GameSimulator simulator(seed, rosters.home(), rosters.visitor());
    std::optional<GameState> wanted;
    simulator.run([&](const GameState &state, int n) {
        if (n == until)
            wanted = state;
    });
    return wanted ? *wanted : simulator.state();
}

class RealShape : public ::testing::TestWithParam<std::uint64_t>
{
protected:
    void open(CGameDocument &document, const GameState &state, FileShape shape)
    {
        ASSERT_TRUE(
            document.Open(scratch_.Write(shape == FileShape::Real ? "real.xml" : "full.xml",
                                         GameXmlWriter::write(state, Encoding::Utf8, shape))));
    }

    ScratchDirectory scratch_;
};

} // namespace

TEST_P(RealShape, DerivedDrivesAndYardsMatchTheFullFile)
{
    const GameState state = play(GetParam());
    CGameDocument real;
    CGameDocument full;
    open(real, state, FileShape::Real);
    open(full, state, FileShape::Full);
    EXPECT_FALSE(real.SelectSingleNode("/fbgame/drives"));
    EXPECT_FALSE(real.SelectSingleNode("/fbgame/plays/qtr/play[@yds]"));

    const GameDrives derived = DrivesWithoutRecords(real);
    EXPECT_TRUE(derived.derived);
    ASSERT_EQ(derived.drives.size(), full.SelectNodes("/fbgame/drives/drive")->size());
    ASSERT_EQ(derived.drives.size(), state.drives.size());
    for (std::size_t i = 0; i < state.drives.size(); ++i) {
        const DriveRecord &known = state.drives[i];
        const DriveRecordFields &drive = derived.drives[i];
        SCOPED_TRACE("drive " + std::to_string(known.index) + " ended by " + known.end.how);
        EXPECT_EQ(drive.driveIndex, known.index);
        EXPECT_EQ(drive.vh, std::string(1, known.side));
        EXPECT_EQ(drive.plays, std::to_string(known.plays));
        EXPECT_EQ(drive.start.spot, std::to_string(known.start.spot));
        EXPECT_EQ(drive.end.spot, std::to_string(known.end.spot));
        EXPECT_EQ(drive.yards, std::to_string(known.yards));
        EXPECT_EQ(drive.end.quarter, std::to_string(known.end.quarter));
    }

    const GamePlays realPlays = ReadGamePlays(real);
    const GamePlays fullPlays = ReadGamePlays(full);
    const std::vector<PlayYards> yards = DerivePlayYards(realPlays);
    ASSERT_EQ(yards.size(), fullPlays.plays.size());
    int rushesAndPasses = 0;
    for (std::size_t i = 0; i < yards.size(); ++i) {
        const PlayRecord &play = fullPlays.plays[i];
        if (!IsRushOrPass(play.type, play.text))
            continue;
        ++rushesAndPasses;
        EXPECT_TRUE(yards[i].derived) << play.text;
        EXPECT_EQ(yards[i].yards, TextNumbers::LeadingInt(play.yds.value_or(""))) << play.text;
    }
    EXPECT_GT(rushesAndPasses, 100);
}

TEST_P(RealShape, SituationAgreesWithTheSimulator)
{
    for (const int until : {40, -1}) {
        const GameState state = play(GetParam(), until);
        CGameDocument document;
        open(document, state, FileShape::Real);
        std::array<CTeamStats, 2> teams;
        teams[0].SetSide('H');
        teams[1].SetSide('V');
        for (CTeamStats &team : teams)
            EXPECT_TRUE(team.LoadGame(document));
        ScoreboardState scoreboard;
        scoreboard.Read(document);
        const GameSituation situation = GameSituation::Read(document, teams, scoreboard);

        const GameSituation::LineScore &line = situation.line_score;
        EXPECT_EQ(line.home_total, state.home.score());
        EXPECT_EQ(line.visitor_total, state.visitor.score());
        EXPECT_EQ(std::accumulate(line.home.begin(), line.home.end(), 0), state.home.score());
        EXPECT_EQ(std::accumulate(line.visitor.begin(), line.visitor.end(), 0),
                  state.visitor.score());
        EXPECT_EQ(situation.timeouts_left.home, state.home.timeoutsLeft());
        EXPECT_EQ(situation.timeouts_left.visitor, state.visitor.timeoutsLeft());
        EXPECT_EQ(situation.period, state.downToGo.quarter);
        if (until < 0)
            EXPECT_EQ(situation.period_label.rfind("Final", 0), 0u) << situation.period_label;
        else
            EXPECT_EQ(situation.period_label,
                      GameSituation::PeriodLabel(state.downToGo.quarter, 4, false));
        std::string lastPlay;
        for (const LogElement &element : state.log)
            lastPlay = element.isPlay() ? element.attribute("text") : lastPlay;
        EXPECT_EQ(situation.last_play, lastPlay);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RealShape, ::testing::Values(1u, 7u, 14u, 2024u));
